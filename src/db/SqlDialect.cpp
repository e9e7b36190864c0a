#include "SqlDialect.h"

#include <QRegularExpression>

namespace SqlDialect {

namespace {

QString mapUnquoted(const QString &segment)
{
    static const QRegularExpression deleteStar(QStringLiteral("\\bdelete\\s+\\*\\s*from\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString out = segment;
    out.replace(deleteStar, QStringLiteral("delete from"));
    return out;
}

}  // namespace

QString toEngine(const QString &sql)
{
    QString out;
    out.reserve(sql.size());
    QString plain;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (quote.isNull()) {
            if (c == u'\'' || c == u'"' || c == u'[') {
                out += mapUnquoted(plain);
                plain.clear();
                quote = (c == u'[') ? QChar(u']') : c;
                out += c;
            } else {
                plain += c;
            }
        } else {
            out += c;
            if (c == quote)
                quote = QChar();  // a doubled quote re-opens at once on the next char
        }
    }
    out += mapUnquoted(plain);
    return out;
}

QString quoteIdentifier(const QString &name)
{
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

}  // namespace SqlDialect
