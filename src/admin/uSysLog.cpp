#include "uSysLog.h"

#include "Dataset.h"
#include "DbGrid.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "IniFile.h"
#include "QueryDataset.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TfrmSysLog::TfrmSysLog(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmSysLog"));
    setWindowTitle(s("系统日志"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(s("系统操作记录："), this);
    layout->addWidget(heading);
    m_grid = new DbGrid(this);
    m_grid->setObjectName(s("logGrid"));
    m_grid->setColumns({GridColumn::centred(s("日志编号"), s("LogID"), 70),
                        GridColumn::text(s("操作时间"), s("LogDateTime"), 150),
                        GridColumn::text(s("操作员"), s("UserID"), 90),
                        GridColumn::text(s("操作内容"), s("Operate"), 280)});
    m_grid->setDataSource(dmMain->dsLog);
    m_grid->view()->header()->setStretchLastSection(true);
    heading->setBuddy(m_grid->view());
    layout->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [&](const char *name, const char *caption) {
        auto *b = new QPushButton(s(caption), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    btnSave = button("btnSave", "保存日志");
    btnClear = button("btnClear", "清空日志");
    btnClose = button("btnClose", " 关 闭");
    layout->addLayout(buttons);
    connect(btnSave, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { saveLog(); }); });
    connect(btnClear, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { clearLog(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(660, 460);
}

int TfrmSysLog::execute(QWidget *parent)
{
    TfrmSysLog dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmSysLog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ErrorHandler::run(this, [] { OpenDatasets({dmMain->tblLog}); });
}

void TfrmSysLog::saveLog()
{
    WriteLog(s("系统设置-系统日志-保存日志"));
    const QString folder = AppDir + s("Log");
    QDir().mkpath(folder);
    QString file = Dialogs::saveFile(this, s("保存日志"), folder + s("/log.ini"), s("ini文件(*.ini)"));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += s(".ini");
    writeIni(file);
}

void TfrmSysLog::writeIni(const QString &path)
{
    IniFile ini(path);
    ini.load();
    Dataset *log = dmMain->tblLog;
    log->close();
    log->open();
    const int id = log->fieldIndex(s("LogID"));
    const int when = log->fieldIndex(s("LogDateTime"));
    const int user = log->fieldIndex(s("UserID"));
    const int operate = log->fieldIndex(s("Operate"));
    const int rows = log->recordCount();
    const QString section = s("LogFile");
    for (int row = 0; row < rows; ++row)
        ini.setValue(section, log->textAt(row, id),
                     log->textAt(row, when) + u' ' + log->textAt(row, user) + u' ' + log->textAt(row, operate));
    ini.save();
}

void TfrmSysLog::clearLog()
{
    WriteLog(s("系统设置-系统日志-清空日志"));
    dmMain->qryLogClear->exec();
    dmMain->tblLog->close();
    dmMain->tblLog->open();
}
