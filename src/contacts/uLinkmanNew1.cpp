#include "uLinkmanNew1.h"

#include "ContactForm.h"
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

TfrmLinkmanNew1::TfrmLinkmanNew1(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmLinkmanNew1"));
    setWindowTitle(s("联系人"));
    Dataset *l = dmMain->tblLinkmans;
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [l] { return l->state() != Dataset::State::Insert; }, [this, l] {
        WriteLog(s("客户业务管理-联系人资料-新增"));
        l->append();
        m_form->codeEdit()->setFocus();
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S", [l] { return l->isActive() && WindowKit::isEditing(l); }, [this] {
        WriteLog(s("客户业务管理-联系人资料-保存"));
        // The dialog leaves the owner as it is: such contacts are listed for system users.
        m_form->save(false, s("请输入联系人姓名！"));
    });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this] { m_form->remove(s("您真的要删除该联系人资料吗？")); });
    Act_Close = row.add("Act_Close", "关闭", "", "", {}, [this] { closeProcedure(); });
    Act_Copy = row.add("Act_Copy", "复制客户资料", "", "", {}, [this] { copyCustomer(); });
    layout->addWidget(bar);
    m_form = new ContactForm(dmMain->dsLinkmans, ContactForm::Host::Dialog, this);
    layout->addWidget(m_form);
    // "关闭" → Yes: the checks and the folder, then the post.
    setPending(l, s("联系人资料尚未保存，保存吗？"), [this] { return m_form->save(false, s("请输入联系人名称！")); });
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(680, 0)));
}

int TfrmLinkmanNew1::execute(QWidget *parent)
{
    TfrmLinkmanNew1 dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmLinkmanNew1::copyCustomer()
{
    Dataset *l = dmMain->tblLinkmans;
    Dataset *c = dmMain->tblCustomers;
    if (l->state() != Dataset::State::Insert || !c->isActive() || c->isEmpty())
        return;
    static const struct
    {
        const char *from;
        const char *to;
    } fields[] = {{"Telephone", "Telephone"}, {"Fax", "Fax"}, {"Address", "HomeAddress"}, {"Email", "Email"}, {"HomePage", "HomePage"}};
    for (const auto &f : fields) {
        const Field from = c->field(s(f.from));
        if (!from.isNull())
            l->field(s(f.to)).setValue(from.value());
    }
}

void TfrmLinkmanNew1::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    m_form->codeEdit()->setFocus();
}
