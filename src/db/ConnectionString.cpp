#include "ConnectionString.h"

namespace ConnectionString {

QString databasePassword()
{
    return QStringLiteral("plumtreeharbours");
}

namespace {

// A value holding a separator, "=" or a quote is written in double quotes (inner ones doubled),
// so the parser reads it back whole; any other value stands as it is.
QString quoted(const QString &value)
{
    if (!value.contains(u';') && !value.contains(u'=') && !value.contains(u'"'))
        return value;
    QString inner = value;
    inner.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

}  // namespace

QString build(const QString &databasePath)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + quoted(databasePath)
        + QStringLiteral(";Mode=Share Deny None;Extended Properties=\"\";")
        + QStringLiteral("Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";")
        + QStringLiteral("Jet OLEDB:Database Password=\"") + databasePassword()
        + QStringLiteral("\";Jet OLEDB:Engine Type=5;") + QStringLiteral("Jet OLEDB:Database Locking Mode=1;")
        + QStringLiteral("Jet OLEDB:Global Partial Bulk Ops=2;") + QStringLiteral("Jet OLEDB:Global Bulk Transactions=1;")
        + QStringLiteral("Jet OLEDB:New Database Password=\"\";") + QStringLiteral("Jet OLEDB:Create System Database=False;")
        + QStringLiteral("Jet OLEDB:Encrypt Database=False;") + QStringLiteral("Jet OLEDB:Don'")
        + QStringLiteral("t Copy Locale on Compact=False;")
        + QStringLiteral("Jet OLEDB:Compact Without Replica Repair=False;") + QStringLiteral("Jet OLEDB:SFP=False");
}

QMap<QString, QString> parse(const QString &text)
{
    QMap<QString, QString> props;
    QString lastKey;
    bool lastQuoted = false;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        qsizetype semi = text.indexOf(u';', i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // No "=" in this segment: it belongs to the unquoted value before it (a path may hold ";").
            const qsizetype end = semi < 0 ? n : semi;
            if (!lastKey.isEmpty() && !lastQuoted)
                props[lastKey] += u';' + text.mid(i, end - i);
            i = end + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        qsizetype j = eq + 1;
        if (j < n && text.at(j) == u'"') {
            // A quoted value: "" is one quote, and ";" or "=" inside are part of it.
            QString value;
            bool closed = false;
            for (++j; j < n; ++j) {
                if (text.at(j) == u'"') {
                    if (j + 1 < n && text.at(j + 1) == u'"') {
                        value += u'"';
                        ++j;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += text.at(j);
            }
            if (closed && (j == n || text.at(j) == u';')) {
                props[key] = value;
                lastKey = key;
                lastQuoted = true;
                i = j + 1;
                continue;
            }
            semi = text.indexOf(u';', eq + 1);  // not a well-formed quoted value: take it as it stands
        }
        const qsizetype end = semi < 0 ? n : semi;
        props[key] = text.mid(eq + 1, end - eq - 1);
        lastKey = key;
        lastQuoted = false;
        i = end + 1;
    }
    return props;
}

QString dataSource(const QString &text)
{
    return parse(text).value(QStringLiteral("data source"));
}

QString password(const QString &text)
{
    return parse(text).value(QStringLiteral("jet oledb:database password"));
}

}  // namespace ConnectionString
