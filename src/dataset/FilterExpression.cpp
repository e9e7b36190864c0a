#include "FilterExpression.h"

#include "DatasetError.h"

#include <QHash>
#include <QList>

#include <vector>

struct FilterExpression::Node
{
    enum class Kind { And, Or, Compare } kind = Kind::Compare;
    std::vector<std::shared_ptr<const Node>> children;  // And, Or: two or more, chains kept flat
    QString field;
    Op op = Op::Equal;
    Literal value;
};

namespace {

// Tokens are views into the filter text: a generated filter of thousands of terms is read
// without an allocation per token.
struct Token
{
    enum class Type { LParen, RParen, Equal, String, Word, End } type;
    QStringView text;      // for a string: what stands between the quotes, '' still doubled
    qsizetype pos;
    bool doubledQuotes = false;
};

QList<Token> tokenize(const QString &s)
{
    QList<Token> out;
    out.reserve(s.size() / 4 + 2);
    const QStringView all(s);
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'(') {
            out.append({Token::Type::LParen, all.mid(i, 1), i});
            ++i;
        } else if (c == u')') {
            out.append({Token::Type::RParen, all.mid(i, 1), i});
            ++i;
        } else if (c == u'=') {
            out.append({Token::Type::Equal, all.mid(i, 1), i});
            ++i;
        } else if (c == u'\'') {
            const qsizetype start = ++i;
            bool closed = false;
            bool doubled = false;
            while (i < s.size()) {
                const qsizetype quote = s.indexOf(u'\'', i);
                if (quote < 0) {
                    i = s.size();
                    break;
                }
                if (quote + 1 < s.size() && s.at(quote + 1) == u'\'') {
                    doubled = true;
                    i = quote + 2;
                    continue;
                }
                i = quote + 1;
                closed = true;
                break;
            }
            if (!closed)
                throw DatasetError(QStringLiteral("过滤条件中的引号没有结束：%1").arg(s));
            out.append({Token::Type::String, all.mid(start, i - 1 - start), start - 1, doubled});
        } else {
            const qsizetype start = i;
            while (i < s.size() && !s.at(i).isSpace() && s.at(i) != u'(' && s.at(i) != u')' && s.at(i) != u'='
                   && s.at(i) != u'\'')
                ++i;
            out.append({Token::Type::Word, all.mid(start, i - start), start});
        }
    }
    out.append({Token::Type::End, QStringView(), s.size()});
    return out;
}

class Parser
{
public:
    Parser(const QString &text) : m_text(text), m_tokens(tokenize(m_text)) {}

    std::shared_ptr<const FilterExpression::Node> parseAll()
    {
        auto node = parseOr();
        if (peek().type != Token::Type::End)
            fail(QStringLiteral("多余的内容“%1”").arg(peek().text.toString()));
        return node;
    }

private:
    using Node = FilterExpression::Node;

    const Token &peek() const { return m_tokens.at(m_pos); }
    const Token &take() { return m_tokens.at(m_pos++); }

    // Equal texts share one string: a chain repeats the same names and owners thousands of times.
    QString textOf(const Token &t)
    {
        if (t.doubledQuotes)
            return t.text.toString().replace(QStringLiteral("''"), QStringLiteral("'"));
        auto it = m_interned.constFind(t.text);
        if (it == m_interned.constEnd())
            it = m_interned.insert(t.text, t.text.toString());
        return *it;
    }
    bool isKeyword(const Token &t, const char *word) const
    {
        return t.type == Token::Type::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void fail(const QString &what) const
    {
        throw DatasetError(QStringLiteral("过滤条件有误（%1）：%2").arg(what, m_text));
    }

    // One node for a whole chain of the same operator: evaluation and compilation stay
    // flat however many terms a generated filter has.
    std::shared_ptr<const Node> parseChain(Node::Kind kind, const char *keyword)
    {
        auto first = kind == Node::Kind::Or ? parseChain(Node::Kind::And, "and") : parseFactor();
        if (!isKeyword(peek(), keyword))
            return first;
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->children.push_back(first);
        while (isKeyword(peek(), keyword)) {
            take();
            n->children.push_back(kind == Node::Kind::Or ? parseChain(Node::Kind::And, "and") : parseFactor());
        }
        return n;
    }

    std::shared_ptr<const Node> parseOr() { return parseChain(Node::Kind::Or, "or"); }

    std::shared_ptr<const Node> parseFactor()
    {
        if (peek().type == Token::Type::LParen) {
            // Parentheses nest by recursion: a bound keeps a mistyped filter from exhausting the stack.
            if (++m_depth > MaxDepth)
                fail(QStringLiteral("括号嵌套过深"));
            take();
            auto inner = parseOr();
            if (peek().type != Token::Type::RParen)
                fail(QStringLiteral("缺少右括号"));
            take();
            --m_depth;
            return inner;
        }
        const Token &name = take();
        if (name.type != Token::Type::Word || isKeyword(name, "and") || isKeyword(name, "or"))
            fail(QStringLiteral("应为字段名，而不是“%1”").arg(name.text.toString()));
        auto n = std::make_shared<Node>();
        n->field = textOf(name);
        const Token &op = take();
        if (op.type == Token::Type::Equal)
            n->op = FilterExpression::Op::Equal;
        else if (isKeyword(op, "like"))
            n->op = FilterExpression::Op::Like;
        else
            fail(QStringLiteral("字段 %1 后应为 = 或 Like").arg(n->field));
        const Token &value = take();
        if (value.type == Token::Type::String)
            n->value = {textOf(value), true};
        else if (value.type == Token::Type::Word && !isKeyword(value, "and") && !isKeyword(value, "or"))
            n->value = {textOf(value), false};
        else
            fail(QStringLiteral("字段 %1 缺少比较的值").arg(n->field));
        return n;
    }

    static constexpr int MaxDepth = 100;
    QString m_text;
    QList<Token> m_tokens;
    QHash<QStringView, QString> m_interned;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

void collectNames(const FilterExpression::Node *n, QStringList &out)
{
    if (!n)
        return;
    if (n->kind == FilterExpression::Node::Kind::Compare) {
        if (!out.contains(n->field, Qt::CaseInsensitive))
            out << n->field;
        return;
    }
    for (const auto &c : n->children)
        collectNames(c.get(), out);
}

using Node = FilterExpression::Node;

// Two nodes test the same thing: same shape, same names (any case), same values.
bool sameTest(const Node *a, const Node *b)
{
    if (a->kind != b->kind || a->children.size() != b->children.size())
        return false;
    if (a->kind == Node::Kind::Compare)
        return a->op == b->op && a->value.quoted == b->value.quoted && a->value.text == b->value.text
            && a->field.compare(b->field, Qt::CaseInsensitive) == 0;
    for (size_t i = 0; i < a->children.size(); ++i)
        if (!sameTest(a->children[i].get(), b->children[i].get()))
            return false;
    return true;
}

bool isEquality(const Node *n)
{
    return n->kind == Node::Kind::Compare && n->op == FilterExpression::Op::Equal;
}

// "f = v" or "(f = v) and (rest)": the equality term and what is and-ed with it.
struct ChainTerm
{
    const Node *key = nullptr;
    const Node *rest = nullptr;
};

bool splitTerm(const Node *n, int keySide, ChainTerm &out)
{
    if (isEquality(n)) {
        out = {n, nullptr};
        return true;
    }
    if (n->kind != Node::Kind::And || n->children.size() != 2 || !isEquality(n->children[size_t(keySide)].get()))
        return false;
    out = {n->children[size_t(keySide)].get(), n->children[size_t(1 - keySide)].get()};
    return true;
}

// The terms of an `or` chain as one column's values plus one shared further term, when they are.
bool equalityChain(const Node *orNode, QString &field, QList<FilterExpression::Literal> &values, const Node *&rest)
{
    for (int keySide = 0; keySide < 2; ++keySide) {
        values.clear();
        rest = nullptr;
        bool fits = true;
        for (size_t i = 0; i < orNode->children.size() && fits; ++i) {
            ChainTerm term;
            fits = splitTerm(orNode->children[i].get(), keySide, term);
            if (!fits)
                break;
            if (i == 0) {
                field = term.key->field;
                rest = term.rest;
            } else {
                fits = term.key->field.compare(field, Qt::CaseInsensitive) == 0 && (term.rest == nullptr) == (rest == nullptr)
                    && (!rest || sameTest(term.rest, rest));
            }
            values.append(term.key->value);
        }
        if (fits)
            return true;
    }
    return false;
}

FilterExpression::Predicate compileNode(const Node *n, const FilterExpression::Resolver &resolve,
                                        const FilterExpression::SetResolver &resolveSet)
{
    using Predicate = FilterExpression::Predicate;
    if (n->kind == Node::Kind::Compare)
        return resolve(n->field, n->op, n->value);
    if (n->kind == Node::Kind::Or && resolveSet && n->children.size() > 2) {
        QString field;
        QList<FilterExpression::Literal> values;
        const Node *rest = nullptr;
        if (equalityChain(n, field, values, rest)) {
            Predicate member = resolveSet(field, values);
            if (!rest)
                return member;
            Predicate also = compileNode(rest, resolve, resolveSet);
            return [member, also](int row) { return member(row) && also(row); };
        }
    }
    std::vector<Predicate> parts;
    parts.reserve(n->children.size());
    for (const auto &c : n->children)
        parts.push_back(compileNode(c.get(), resolve, resolveSet));
    if (n->kind == Node::Kind::And)
        return [parts](int row) {
            for (const Predicate &p : parts)
                if (!p(row))
                    return false;
            return true;
        };
    return [parts](int row) {
        for (const Predicate &p : parts)
            if (p(row))
                return true;
        return false;
    };
}

}  // namespace

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(const FilterExpression &) = default;
FilterExpression &FilterExpression::operator=(const FilterExpression &) = default;

FilterExpression FilterExpression::parse(const QString &text)
{
    FilterExpression e;
    if (!text.trimmed().isEmpty())
        e.m_root = Parser(text).parseAll();
    return e;
}

QStringList FilterExpression::fieldNames() const
{
    QStringList out;
    collectNames(m_root.get(), out);
    return out;
}

FilterExpression::Predicate FilterExpression::compile(const Resolver &resolve, const SetResolver &resolveSet) const
{
    if (!m_root)
        return [](int) { return true; };
    return compileNode(m_root.get(), resolve, resolveSet);
}

bool FilterExpression::likeMatch(const QString &value, const QString &pattern)
{
    const QString v = value.toCaseFolded();
    const QString p = pattern.toCaseFolded();
    qsizetype vi = 0, pi = 0, starP = -1, starV = 0;
    while (vi < v.size()) {
        if (pi < p.size() && (p.at(pi) == u'_' || (p.at(pi) != u'%' && p.at(pi) == v.at(vi)))) {
            ++vi;
            ++pi;
        } else if (pi < p.size() && p.at(pi) == u'%') {
            starP = pi++;
            starV = vi;
        } else if (starP >= 0) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p.at(pi) == u'%')
        ++pi;
    return pi == p.size();
}

QString FilterExpression::quote(const QString &text)
{
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}
