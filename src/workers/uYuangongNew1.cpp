#include "uYuangongNew1.h"

#include "DbPhoto.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "WorkerForm.h"
#include "uImage.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// The customer window's right: its worker tab opens this dialog.
const char *const RightCode = "301";
}

TfrmYuangongNew1::TfrmYuangongNew1(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmYuangongNew1"));
    setWindowTitle(s("员工资料"));
    Dataset *y = dmMain->tblYuangong1;
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+A", [this, y] {
        OpenDatasets({y});
        y->append();
        m_form->editor(s("YuangongID"))->setFocus();
    });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", [this] { save(); });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "", [this, y] {
        if (!y->isActive() || (y->isEmpty() && y->state() != Dataset::State::Insert))
            return;
        if (!Messages::confirmDelete(this, s("您真的要删除该员工资料吗？")))
            return;
        // A row just appended and not saved is discarded.
        if (y->state() == Dataset::State::Insert)
            y->cancel();
        else
            y->remove();
    });
    Act_Print = row.add("Act_Print", s("打印"), "", "", [this, y] {
        WindowKit::print(this, s("客户业务管理-客户资料-员工资料-打印"), s("frCustomerYuangong"), y);
    });
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { closeProcedure(); });
    layout->addWidget(bar);
    m_form = new WorkerForm(dmMain->dsYuangong1, WorkerForm::Host::Dialog, this);
    layout->addWidget(m_form);
    setPending(y, s("员工档案尚未保存，保存吗？"), [this] { return save(); });
    connect(m_form->zoomButton(), &QPushButton::clicked, this, [this] {
        PhotoViewCaller = s("Yuangong1");
        ErrorHandler::run(this, [this] { TfrmImage::execute(this); });
    });
    adjustSize();
    resize(sizeHint().expandedTo(QSize(760, 0)));
}

void TfrmYuangongNew1::openDatasets()
{
    OpenDatasets({dmMain->tblDepartment, dmMain->tblGongzhong, dmMain->tblTijian, dmMain->tblJineng,
                  dmMain->tblCustomers2});
    // Units added in the sending-unit window show at once.
    Dataset *units = dmMain->tblShusong1;
    if (!WindowKit::isEditing(units)) {
        units->close();
        units->open();
    }
}

int TfrmYuangongNew1::execute(QWidget *parent)
{
    openDatasets();
    TfrmYuangongNew1 dialog(parent);
    return Dialogs::showModal(&dialog);
}

bool TfrmYuangongNew1::save()
{
    if (!m_form->check())
        return false;
    const QString root = FilesRoot + s("Yuangong/");
    QDir().mkpath(root);
    FileListRoot = root;
    Dataset *y = dmMain->tblYuangong1;
    if (!y->isActive() || !WindowKit::isEditing(y))
        return true;
    y->post();  // a refusal reaches the caller: the action tells it, "关闭" keeps the dialog open
    return true;
}

void TfrmYuangongNew1::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    m_form->editor(s("YuangongID"))->setFocus();
}
