#include "uEnvelop.h"

#include "Dataset.h"
#include "DbGrid.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "ReportService.h"
#include "Utf8.h"
#include "uConstants.h"
#include "uLinkmanQuery.h"
#include "uMain.h"
#include "uPictures.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmEnvelop::TfrmEnvelop(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmEnvelop"));
    setWindowTitle(s("信封标签"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *banner = new QWidget(this);
    banner->setObjectName(s("pnBanner"));
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setBrush(QPalette::Window, QBrush(Pictures::banner(1600)));
    banner->setPalette(pal);
    auto *bar = new QHBoxLayout(banner);
    bar->setContentsMargins(8, 4, 8, 4);
    const auto button = [&](const char *name, const char *hint, const char *icon) {
        auto *b = new QToolButton(banner);
        b->setObjectName(s(name));
        b->setToolTip(s(hint));
        b->setAccessibleName(s(hint));
        b->setIcon(Pictures::commandIcon(s(icon)));
        b->setIconSize(QSize(32, 32));
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    btnQuery = button("btnQuery", "联系人查询", "Act_Linkman");
    btnUserInfo = button("btnUserInfo", "用户登记信息", "Act_UserRegist");
    btnPreview = button("btnPreview", "信封标签预览", "Act_Envelop");
    btnClose = button("btnClose", "关闭", "Act_Exit");
    bar->addStretch();
    layout->addWidget(banner);

    auto *caption = new QLabel(s("  联系人列表："), this);
    caption->setContentsMargins(0, 6, 0, 4);
    layout->addWidget(caption);
    grdLinkmans = new DbGrid(this);
    grdLinkmans->setObjectName(s("grdLinkmans"));
    grdLinkmans->setColumns({GridColumn::text(s("公司代码"), s("CustID"), 90),
                             GridColumn::text(s("公司名称"), s("CustName"), 220),
                             GridColumn::text(s("联系人"), s("Name"), 90),
                             GridColumn::text(s("邮政编码"), s("PostCode"), 80),
                             GridColumn::text(s("公司地址"), s("Address"), 300),
                             GridColumn::text(s("Email"), s("Email"), 180)});
    grdLinkmans->setDataSource(dmMain->dsLinkmans3);
    caption->setBuddy(grdLinkmans);
    layout->addWidget(grdLinkmans, 1);

    stbInfo = new QStatusBar(this);
    stbInfo->setSizeGripEnabled(false);
    for (const QString &text : {s(Maker::ProductName), s("版本 ") + s(Maker::Version), s("信封标签打印")}) {
        auto *panel = new QLabel(text, stbInfo);
        panel->setFixedWidth(200);
        stbInfo->addWidget(panel);
    }
    layout->addWidget(stbInfo);

    connect(btnQuery, &QToolButton::clicked, this, [this] {
        ErrorHandler::run(this, [this] {
            WriteLog(s("工具-信封标签-联系人查询"));
            TfrmLinkmanQuery::execute(this);
        });
    });
    connect(btnUserInfo, &QToolButton::clicked, this, [this] {
        ErrorHandler::run(this, [this] {
            WriteLog(s("工具-信封标签-用户登记信息"));
            if (frmMain)
                frmMain->openWindow(s("TfrmUserInfo"), this);
        });
    });
    connect(btnPreview, &QToolButton::clicked, this, [this] {
        ErrorHandler::run(this, [this] {
            WriteLog(s("工具-信封标签-预览"));
            TfrmEnvelopSet::execute(this);
        });
    });
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    resize(900, 600);
}

int TfrmEnvelop::execute(QWidget *parent)
{
    TfrmEnvelop window(parent);
    window.setWindowState(Qt::WindowMaximized);
    return Dialogs::showModal(&window);
}

void TfrmEnvelop::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The sender layout reads the particulars.
    ErrorHandler::run(this, [] { OpenDatasets({dmMain->tblUserInfo}); });
}

TfrmEnvelopSet::TfrmEnvelopSet(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmEnvelopSet"));
    setWindowTitle(s("标签设置"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    chkUserInfo = new QCheckBox(s("打印用户信息"), this);
    chkUserInfo->setObjectName(s("chkUserInfo"));
    layout->addWidget(chkUserInfo);
    grpUserInfo = new QGroupBox(this);
    auto *items = new QVBoxLayout(grpUserInfo);
    for (const char *item : {"用户名称", "地　　址", "电　　话", "传　　真", "邮政编码", "联系EMail", "网　　址"})
        items->addWidget(new QLabel(s(item), grpUserInfo));
    grpUserInfo->setEnabled(false);
    connect(chkUserInfo, &QCheckBox::toggled, grpUserInfo, &QWidget::setEnabled);
    layout->addWidget(grpUserInfo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnPreview = new QPushButton(s("预览"), this);
    btnPreview->setObjectName(s("btnPreview"));
    btnCancel = new QPushButton(s("取消"), this);
    btnCancel->setObjectName(s("btnCancel"));
    buttons->addWidget(btnPreview);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnPreview, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { preview(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

int TfrmEnvelopSet::execute(QWidget *parent)
{
    TfrmEnvelopSet dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmEnvelopSet::preview()
{
    if (chkUserInfo->isChecked()) {
        OpenDatasets({dmMain->tblUserInfo});
        ReportService::preview(this, s("frEnvelop6"), dmMain->qryLinkmans3, {{s("tblUserInfo"), dmMain->tblUserInfo}});
    } else {
        ReportService::preview(this, s("frEnvelop"), dmMain->qryLinkmans3);
    }
}

void openEnvelopeFromTools(QWidget *parent)
{
    if (!HasRight(s("503"))) {
        Messages::warning(parent, s("对不起，您不能使用信封标签打印功能！"));
        return;
    }
    WriteLog(s("工具-信封标签"));
    dmMain->tblCustomers2->close();
    dmMain->tblCustomers2->open();
    dmMain->qryLinkmans3->close();
    dmMain->qryLinkmans3->setSql({s("select * from tblLinkmans")});
    dmMain->qryLinkmans3->open();
    TfrmEnvelop::execute(parent);
}
