#include "FilterExpression.h"

#include "DatasetError.h"

#include <QList>

struct FilterExpression::Node
{
    enum class Kind { And, Or, Compare } kind = Kind::Compare;
    std::shared_ptr<const Node> left, right;
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

    std::shared_ptr<const Node> parseOr()
    {
        auto left = parseAnd();
        while (isKeyword(peek(), "or")) {
            take();
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::Or;
            n->left = left;
            n->right = parseAnd();
            left = n;
        }
        return left;
    }

    std::shared_ptr<const Node> parseAnd()
    {
        auto left = parseFactor();
        while (isKeyword(peek(), "and")) {
            take();
            auto n = std::make_shared<Node>();
            n->kind = Node::Kind::And;
            n->left = left;
            n->right = parseFactor();
            left = n;
        }
        return left;
    }

    std::shared_ptr<const Node> parseFactor()
    {
        if (peek().type == Token::Type::LParen) {
            take();
            auto inner = parseOr();
            if (peek().type != Token::Type::RParen)
                fail(QStringLiteral("缺少右括号"));
            take();
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

    QString m_text;
    QList<Token> m_tokens;
    qsizetype m_pos = 0;
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
    collectNames(n->left.get(), out);
    collectNames(n->right.get(), out);
}

FilterExpression::Predicate compileNode(const FilterExpression::Node *n, const FilterExpression::Resolver &resolve)
{
    using Kind = FilterExpression::Node::Kind;
    if (n->kind == Kind::Compare)
        return resolve(n->field, n->op, n->value);
    auto left = compileNode(n->left.get(), resolve);
    auto right = compileNode(n->right.get(), resolve);
    if (n->kind == Kind::And)
        return [left, right](int row) { return left(row) && right(row); };
    return [left, right](int row) { return left(row) || right(row); };
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

FilterExpression::Predicate FilterExpression::compile(const Resolver &resolve) const
{
    if (!m_root)
        return [](int) { return true; };
    return compileNode(m_root.get(), resolve);
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
