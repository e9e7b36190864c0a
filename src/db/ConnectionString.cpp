#include "ConnectionString.h"

namespace ConnectionString {

QString databasePassword()
{
    return QStringLiteral("plumtreeharbours");
}

QString build(const QString &databasePath)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + databasePath
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

namespace {

QString unquote(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return value;
}

}  // namespace

QMap<QString, QString> parse(const QString &text)
{
    QMap<QString, QString> props;
    QString lastKey;
    const QStringList segments = text.split(u';');
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString &segment = segments.at(i);
        const qsizetype eq = segment.indexOf(u'=');
        if (eq < 0) {
            const bool trailing = (i == segments.size() - 1) && segment.isEmpty();
            if (!lastKey.isEmpty() && !trailing)
                props[lastKey] += u';' + segment;
            continue;
        }
        lastKey = segment.left(eq).trimmed().toLower();
        props[lastKey] = segment.mid(eq + 1);
    }
    for (auto it = props.begin(); it != props.end(); ++it)
        it.value() = unquote(it.value());
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
