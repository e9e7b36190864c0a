#include "uRestore.h"

#include "BackupPaths.h"
#include "DatabaseConnector.h"
#include "Dialogs.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

TfrmRestore::TfrmRestore(QWidget *parent)
    : TfrmBackup(parent, "frmRestore", "数据恢复", "请选择恢复数据库文件所在的系统目录：", "恢复")
{
}

int TfrmRestore::execute(QWidget *parent)
{
    TfrmRestore dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmRestore::browse()
{
    const QString file = Dialogs::openFile(this, s("数据恢复"), BackupPaths::presetTarget(), s("数据文件(*.qdb)"));
    if (!file.isEmpty())
        edPath->setText(QDir::toNativeSeparators(file));
}

bool TfrmRestore::restore()
{
    WriteLog(s("系统设置-数据恢复-恢复"));
    const QString live = DatabaseConnector::serverDatabasePath(AppDir);
    const QString question = s("恢复以前备份数据之前，请确认您已经备份好") + u'\n' + s("当前的数据，以免对您造成不必要的损失！按")
        + u'\n' + s("[确定]系统将恢复以前的备份数据，按[取消]") + u'\n' + s("返回！");
    if (Messages::show(this, {question, Messages::defaultCaption(), Messages::Icon::Warning, Messages::Buttons::OkCancel,
                              Messages::Answer::Ok})
        != Messages::Answer::Ok)
        return false;
    const QString chosen = QDir::fromNativeSeparators(edPath->text().trimmed());
    if (chosen.isEmpty() || !QFileInfo(chosen).isFile()) {
        Messages::warning(this, s("对不起，您要恢复的数据库文件不存在！"));
        return false;
    }
    if (live.isEmpty()) {
        Messages::warning(this, s("数据恢复失败：") + s("无法读取 Server.txt"));
        return false;
    }
    const TdmMain::RestoreResult r = dmMain->restoreFrom(chosen, live, BackupPaths::datedCopy());
    using Outcome = TdmMain::RestoreResult::Outcome;
    switch (r.outcome) {
    case Outcome::LiveFile:
        Messages::warning(this, s("对不起，不能用正在使用的数据库文件恢复！"));
        return false;
    case Outcome::InvalidFile:
        Messages::warning(this, s("对不起，所选文件不是有效的数据库文件！") + u'\n' + r.reason);
        return false;
    case Outcome::Failed:
        Messages::warning(this, s("数据恢复失败：") + r.reason);
        return false;
    case Outcome::Restored:
        break;
    }
    Messages::information(this, s("数据恢复成功！"));
    return true;
}
