#include "uPublic.h"

#include "DateText.h"
#include "FilterExpression.h"

#include <QDir>
#include <QRegularExpression>
#include "udmMain.h"

QString AppDir;
QString FilesRoot;
QString CurrentUserID;
QString CustomerPickCaller;
QString InOutQueryCaller;
QString PhotoViewCaller;
QString FileClipboardMode;
QString FileListRoot;

QString RecordFolder(const QString &root, const QString &code)
{
    QDir().mkpath(root);
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f\\x7f]"));
    if (code.isEmpty() || code == u"." || code == u".." || code.contains(unsafe) || code.trimmed().isEmpty())
        return root;
    const QString folder = root + code;
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return folder;
}

void SetAppDir(const QString &folder)
{
    AppDir = folder.endsWith(u'/') ? folder : folder + u'/';
    FilesRoot = AppDir + QStringLiteral("Files/");
}

void WriteLog(const QString &dateTimeText, const QString &operate)
{
    // Close and reopen so the entry lands after any other cursor's; opening reads no rows.
    Dataset *log = dmMain->tblLog;
    log->close();
    log->open();
    log->append();
    log->field(QStringLiteral("LogDateTime")).setValue(dateTimeText);
    log->field(QStringLiteral("UserID")).setValue(CurrentUserID);
    log->field(QStringLiteral("Operate")).setValue(operate);
    log->post();
}

void WriteLog(const QString &operate)
{
    WriteLog(DateText::now(), operate);
}

bool HasRight(const QString &code)
{
    Dataset *rights = dmMain ? dmMain->tblUserRight : nullptr;
    if (!rights || !rights->isActive() || CurrentUserID.isEmpty())
        return false;
    // The ID as typed at login may differ in letter case from the stored one.
    return rights->locate(QStringLiteral("UserID;RightID"), {CurrentUserID, code},
                          QList<Qt::CaseSensitivity>{Qt::CaseInsensitive, Qt::CaseSensitive});
}

bool HasSubRight(const QString &code, const QString &column)
{
    return HasRight(code) && dmMain->tblUserRight->field(column).asBoolean();
}

bool IsSystemUser()
{
    Dataset *users = dmMain ? dmMain->tblUser : nullptr;
    if (!users || CurrentUserID.isEmpty())
        return false;
    if (!users->isActive())
        users->open();
    return users->locate(QStringLiteral("UserID"), {CurrentUserID}, Qt::CaseInsensitive)
        && users->field(QStringLiteral("Sys")).asBoolean();
}

QString OwnerFilter()
{
    return QStringLiteral("sUser='") + FilterExpression::quote(CurrentUserID) + u'\'';
}

bool PubQueryFinds(const QString &sql, const QStringList &params, const QVariant &key)
{
    QueryDataset *q = dmMain->qryPubQuery;
    q->close();
    q->setSql({sql});
    for (const QString &p : params)
        q->setParam(p, key);
    q->open();
    const bool found = !q->isEmpty();
    q->close();
    return found;
}

void OpenDatasets(std::initializer_list<Dataset *> datasets)
{
    for (Dataset *d : datasets)
        if (!d->isActive())
            d->open();
}
