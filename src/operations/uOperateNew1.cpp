#include "uOperateNew1.h"

#include "Dialogs.h"
#include "OperationForm.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QToolBar>

namespace {

// The customer window's right: its business-records tab opens this dialog.
const char *const RightCode = "301";

// A current customer with a code: a record appended now belongs to it.
bool customerGiven()
{
    Dataset *c = dmMain->tblCustomers;
    return c->isActive() && !c->isEmpty() && !c->field(s("CustId")).asString().isEmpty();
}

}  // namespace

TfrmOperateNew1::TfrmOperateNew1(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmOperateNew1"));
    setWindowTitle(s("业务（合同）资料"));
    Dataset *o = dmMain->tblOperates;
    auto *layout = new QHBoxLayout(this);
    m_form = new OperationForm(OperationForm::Host::Dialog, this);
    layout->addWidget(m_form, 1);
    // The button column stands apart from the fields.
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    auto *bar = new QToolBar(this);
    bar->setObjectName(s("dialogButtons"));
    bar->setOrientation(Qt::Vertical);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+A",
                      [o] { return o->state() != Dataset::State::Insert && customerGiven(); }, [this, o] {
                          WriteLog(s("客户业务管理-业务资料-新增"));
                          dmMain->tblLinkmans2->close();
                          dmMain->tblLinkmans2->open();
                          OpenDatasets({o});
                          o->append();
                          m_form->editor(s("OperateID"))->setFocus();
                          m_form->applyLinkRule();
                      });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", [o] { return o->isActive() && WindowKit::isEditing(o); },
                       [this] { m_form->save(); });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "", [this] { m_form->remove(s("您真的要删除该业务资料吗？")); });
    Act_Print = WindowKit::gatedAction(this, {s("Act_Print"), s("打印"), s("304"), s("Print"), QString()}, [this, o] {
        WindowKit::print(this, s("客户业务管理-业务资料-打印"), s("frOperateDetail1"), o);
    });
    bar->addAction(Act_Print);
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { closeProcedure(); });
    layout->addWidget(bar);
    setPending(o, s("业务资料尚未保存，保存吗？"), [this] { return m_form->saveOnClose(); });
    adjustSize();
    resize(sizeHint().expandedTo(QSize(820, 0)));
}

void TfrmOperateNew1::prepare()
{
    Dataset *c2 = dmMain->tblCustomers2;
    if (!WindowKit::isEditing(c2)) {
        c2->close();
        c2->open();
    }
    OpenDatasets({dmMain->tblOperateType, dmMain->tblOperateOrigin, dmMain->tblOperateState, dmMain->qryCustomers1,
                  dmMain->tblLinkmans, dmMain->tblOperaters, dmMain->tblCurrencyRate, dmMain->tblOperates});
    Dataset *o = dmMain->tblOperates;
    if (o->state() == Dataset::State::Edit && !WindowKit::isEditing(c2))
        c2->locateKey(s("CustId"), o->field(s("CustID")).value());
}

int TfrmOperateNew1::execute(QWidget *parent)
{
    prepare();
    TfrmOperateNew1 dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmOperateNew1::openCurrent(QWidget *parent)
{
    Dataset *o = dmMain->tblOperates;
    OpenDatasets({o});
    if (o->isEmpty() && o->state() != Dataset::State::Insert)
        return;
    if (!WindowKit::isEditing(o))
        o->edit();
    execute(parent);
}

void TfrmOperateNew1::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    m_form->editor(s("OperateID"))->setFocus();
    m_form->applyLinkRule();
}
