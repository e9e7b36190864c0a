#include "uBackup.h"

#include "BackupPaths.h"
#include "ConnectionString.h"
#include "DatabaseConnector.h"
#include "DatabaseFile.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmBackup::TfrmBackup(QWidget *parent)
    : TfrmBackup(parent, "frmBackup", "数据备份", "请选择备份数据库的系统目录：", "备份")
{
}

TfrmBackup::TfrmBackup(QWidget *parent, const char *objectName, const char *title, const char *label,
                       const char *command)
    : QDialog(parent)
{
    setObjectName(s(objectName));
    setWindowTitle(s(title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    auto *caption = new QLabel(s(label), this);
    layout->addWidget(caption);
    auto *pathRow = new QHBoxLayout;
    edPath = new QLineEdit(QDir::toNativeSeparators(BackupPaths::presetTarget()), this);
    edPath->setObjectName(s("edPath"));
    edPath->setMinimumWidth(360);
    caption->setBuddy(edPath);
    btnBrowse = new QPushButton(s("..."), this);
    btnBrowse->setObjectName(s("btnBrowse"));
    btnBrowse->setAccessibleName(s("选择文件"));
    btnBrowse->setToolTip(s("选择文件"));
    btnBrowse->setFixedWidth(32);
    btnBrowse->setAutoDefault(false);
    pathRow->addWidget(edPath);
    pathRow->addWidget(btnBrowse);
    layout->addLayout(pathRow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnRun = new QPushButton(s(command), this);
    btnRun->setObjectName(s("btnRun"));
    btnRun->setAutoDefault(false);
    btnCancel = new QPushButton(s("取消"), this);
    btnCancel->setObjectName(s("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnRun);
    buttons->addWidget(btnCancel);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    connect(btnBrowse, &QPushButton::clicked, this, [this] { browse(); });
    connect(btnRun, &QPushButton::clicked, this, [this] {
        bool done = false;
        ErrorHandler::run(this, [&] { done = run(); });
        if (done)
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

int TfrmBackup::execute(QWidget *parent)
{
    TfrmBackup dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmBackup::browse()
{
    const QString file = Dialogs::saveFile(this, s("数据备份"), BackupPaths::presetTarget(), s("数据文件(*.qdb)"));
    if (!file.isEmpty())
        edPath->setText(QDir::toNativeSeparators(file));
}

bool TfrmBackup::run()
{
    return backup();
}

bool TfrmBackup::backup()
{
    WriteLog(s("系统设置-数据备份-备份"));
    const QString question = s("系统准备备份数据，如果该文件目录存在您以前") + u'\n' + s("备份的数据，系统会将您以前备份的数据覆盖，")
        + u'\n' + s("建议将数据保存在新的文件目录！按[确定]继续，") + u'\n' + s("按[取消]返回！");
    if (Messages::show(this, {question, Messages::defaultCaption(), Messages::Icon::Warning, Messages::Buttons::OkCancel,
                              Messages::Answer::Ok})
        != Messages::Answer::Ok)
        return false;
    const QString target = QDir::fromNativeSeparators(edPath->text().trimmed());
    const QString live = DatabaseConnector::serverDatabasePath(AppDir);
    Database *db = dmMain->database();
    if (target.isEmpty() || !db) {
        Messages::warning(this, s("数据备份失败：") + (db ? s("没有指定备份文件") : s("数据库没有打开")));
        return false;
    }
    if (DatabaseFile::sameFile(target, live) || DatabaseFile::sameFile(target, db->path())) {
        Messages::warning(this, s("对不起，不能备份到正在使用的数据库文件！"));
        return false;
    }
    // Keyed like the live file, as the start-up connection opens it.
    const QByteArray key = ConnectionString::password(ConnectionString::build(live)).toUtf8();
    try {
        DatabaseFile::backup(*db, target, key);
        DatabaseFile::copyIfMissing(target, BackupPaths::datedCopy());
    } catch (const std::exception &) {
        Messages::warning(this, s("数据备份失败：") + ErrorHandler::messageOf(std::current_exception()));
        return false;
    }
    Messages::information(this, s("数据备份成功！"));
    return true;
}
