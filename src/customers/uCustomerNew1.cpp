#include "ListPage.h"
#include "uCustomerNew1.h"

#include "CustomerForm.h"
#include "DbEdit.h"
#include "Dialogs.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const char *const RightCode = "301";
}

TfrmCustomerNew1::TfrmCustomerNew1(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmCustomerNew1"));
    setWindowTitle(s("客户资料"));
    Dataset *c = dmMain->tblCustomers2;
    auto *layout = new QVBoxLayout(this);
    auto *bar = ListPage::makeToolBar(this);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [c] { return c->state() != Dataset::State::Insert; }, [this, c] {
        WriteLog(s("客户业务管理-客户资料-新增"));
        c->append();
        m_form->codeEdit()->setFocus();
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S", [c] { return c->isActive() && WindowKit::isEditing(c); }, [this] {
        WriteLog(s("客户业务管理-客户资料-保存"));
        m_form->save(true);
    });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this] { m_form->remove(); });
    Act_Close = row.add("Act_Close", "关闭", "", "", {}, [this] { closeProcedure(); });
    layout->addWidget(bar);
    m_form = new CustomerForm(dmMain->dsCustomers2, this);
    layout->addWidget(m_form);
    // "关闭" → Yes: the checks and the folder, then the post; the owner is left as it is.
    setPending(c, s("客户资料数据尚未保存，保存吗？"), [this] { return m_form->save(false); });
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(720, 0)));
}

int TfrmCustomerNew1::execute(QWidget *parent)
{
    TfrmCustomerNew1 dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmCustomerNew1::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    m_form->codeEdit()->setFocus();
}
