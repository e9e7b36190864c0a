#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// A dataset filter: comparisons "name = value" and "name Like 'pattern'" joined
// by and/or with parentheses. Values are quoted strings ('' is one quote) or
// unquoted dates in the system short date format (or plain numbers).
// Names and text comparisons ignore letter case.
class FilterExpression
{
public:
    enum class Op { Equal, Like };
    struct Literal
    {
        QString text;
        bool quoted = false;
    };
    struct Node;

    // Throws DatasetError on a syntax error.
    static FilterExpression parse(const QString &text);

    FilterExpression();
    ~FilterExpression();
    FilterExpression(const FilterExpression &);
    FilterExpression &operator=(const FilterExpression &);

    bool isEmpty() const { return !m_root; }
    QStringList fieldNames() const;

    // A row test built once per filter: `resolve` turns each comparison into a
    // predicate over a row index; evaluation then runs without parsing or lookups.
    using Predicate = std::function<bool(int row)>;
    using Resolver = std::function<Predicate(const QString &field, Op op, const Literal &value)>;
    // Turns "field = v1 or field = v2 or ..." into one membership test per row.
    using SetResolver = std::function<Predicate(const QString &field, const QList<Literal> &values)>;
    // An `or` chain of equality terms on one column (each term optionally and-ed with
    // the same further term) is handed to `resolveSet` whole, when it is given: a chain
    // of one term per day over ten years then costs one hash lookup per row, not thousands.
    Predicate compile(const Resolver &resolve, const SetResolver &resolveSet = {}) const;

    // "%" any run, "_" one character; case-insensitive. Exposed for tests and queries.
    static bool likeMatch(const QString &value, const QString &pattern);
    // Doubles single quotes so typed text can be spliced into a quoted filter value.
    static QString quote(const QString &text);

private:
    std::shared_ptr<const Node> m_root;
};
