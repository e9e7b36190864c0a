#include "BackupPaths.h"

#include "DateText.h"
#include "uPublic.h"

#include <QRegularExpression>

namespace BackupPaths {

QString datedFolderName(const QString &shortDateText)
{
    static const QRegularExpression unfit(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f\\x7f]"));
    QString name = shortDateText;
    name.replace(unfit, QStringLiteral("-"));
    name = name.trimmed();
    // Never the folder itself or its parent.
    if (name.isEmpty() || name == u"." || name == u"..")
        name = QDate::currentDate().toString(Qt::ISODate);
    return name;
}

QString datedCopy(const QDate &day)
{
    return AppDir + QStringLiteral("Backup/") + datedFolderName(DateText::shortDate(day)) + QStringLiteral("/QLM30.qdb");
}

QString presetTarget()
{
    return AppDir + QStringLiteral("Backup/QLM30.qdb");
}

}  // namespace BackupPaths
