#include "FilterExpression.h"

#include "DatasetError.h"

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

struct Token
{
    enum class Type { LParen, RParen, Equal, String, Word, End } type;
    QString text;
    qsizetype pos;
};

QList<Token> tokenize(const QString &s)
{
    QList<Token> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'(') {
            out.append({Token::Type::LParen, QStringLiteral("("), i++});
        } else if (c == u')') {
            out.append({Token::Type::RParen, QStringLiteral(")"), i++});
        } else if (c == u'=') {
            out.append({Token::Type::Equal, QStringLiteral("="), i++});
        } else if (c == u'\'') {
            const qsizetype start = i++;
            QString text;
            bool closed = false;
            while (i < s.size()) {
                if (s.at(i) == u'\'') {
                    if (i + 1 < s.size() && s.at(i + 1) == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += s.at(i++);
            }
            if (!closed)
                throw DatasetError(QStringLiteral("过滤条件中的引号没有结束：%1").arg(s));
            out.append({Token::Type::String, text, start});
        } else {
            const qsizetype start = i;
            while (i < s.size() && !s.at(i).isSpace() && s.at(i) != u'(' && s.at(i) != u')' && s.at(i) != u'='
                   && s.at(i) != u'\'')
                ++i;
            out.append({Token::Type::Word, s.mid(start, i - start), start});
        }
    }
    out.append({Token::Type::End, QString(), s.size()});
    return out;
}

class Parser
{
public:
    Parser(const QString &text) : m_text(text), m_tokens(tokenize(text)) {}

    std::shared_ptr<const FilterExpression::Node> parseAll()
    {
        auto node = parseOr();
        if (peek().type != Token::Type::End)
            fail(QStringLiteral("多余的内容“%1”").arg(peek().text));
        return node;
    }

private:
    using Node = FilterExpression::Node;

    const Token &peek() const { return m_tokens.at(m_pos); }
    Token take() { return m_tokens.at(m_pos++); }
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
        const Token name = take();
        if (name.type != Token::Type::Word || isKeyword(name, "and") || isKeyword(name, "or"))
            fail(QStringLiteral("应为字段名，而不是“%1”").arg(name.text));
        auto n = std::make_shared<Node>();
        n->field = name.text;
        const Token op = take();
        if (op.type == Token::Type::Equal)
            n->op = FilterExpression::Op::Equal;
        else if (isKeyword(op, "like"))
            n->op = FilterExpression::Op::Like;
        else
            fail(QStringLiteral("字段 %1 后应为 = 或 Like").arg(name.text));
        const Token value = take();
        if (value.type == Token::Type::String)
            n->value = {value.text, true};
        else if (value.type == Token::Type::Word && !isKeyword(value, "and") && !isKeyword(value, "or"))
            n->value = {value.text, false};
        else
            fail(QStringLiteral("字段 %1 缺少比较的值").arg(name.text));
        return n;
    }

    static constexpr int MaxDepth = 100;
    QString m_text;
    QList<Token> m_tokens;
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

// A text that is the same for two nodes exactly when they test the same thing.
QString canonical(const Node *n)
{
    if (n->kind == Node::Kind::Compare)
        return n->field.toCaseFolded() + (n->op == FilterExpression::Op::Like ? u'~' : u'=')
            + (n->value.quoted ? u'q' : u'u') + QString::number(n->value.text.size()) + u':' + n->value.text;
    QString out = n->kind == Node::Kind::And ? QStringLiteral("&(") : QStringLiteral("|(");
    for (const auto &c : n->children)
        out += canonical(c.get()) + u',';
    return out + u')';
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
        QString restText;
        bool fits = true;
        for (size_t i = 0; i < orNode->children.size() && fits; ++i) {
            ChainTerm term;
            fits = splitTerm(orNode->children[i].get(), keySide, term);
            if (!fits)
                break;
            if (i == 0) {
                field = term.key->field;
                rest = term.rest;
                restText = rest ? canonical(rest) : QString();
            } else {
                fits = term.key->field.compare(field, Qt::CaseInsensitive) == 0 && (term.rest == nullptr) == (rest == nullptr)
                    && (!rest || canonical(term.rest) == restText);
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
