#include "ListPage.h"
#include "uCustStateNew.h"

#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbMaskEdit.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "Dialogs.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char *const RightCode = "301";

// A row to add belongs to the customer current in the customer window: none without one.
bool hasCustomer()
{
    Dataset *c = dmMain->tblCustomers;
    return c->isActive() && !c->isEmpty() && !c->field(s("CustId")).asString().isEmpty();
}

}  // namespace

TfrmCustStateNew::TfrmCustStateNew(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmCustStateNew"));
    setWindowTitle(s("客户接触"));
    Dataset *d = dmMain->tblCustomerState;
    DataSource *src = dmMain->dsCustomerState;
    auto *layout = new QVBoxLayout(this);
    auto *bar = ListPage::makeToolBar(this);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [d] { return d->state() != Dataset::State::Insert; }, [this, d] {
        if (!hasCustomer())
            return;
        OpenDatasets({d});
        d->append();
        editor(s("LinkDate"))->setFocus();
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S", [d] { return d->isActive() && WindowKit::isEditing(d); },
                   [this] { save(); });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this, d] {
        if (d->isActive() && !d->isEmpty() && Messages::confirmDelete(this, s("您真的要删除该接触机会信息吗？")))
            d->remove();
    });
    Act_Close = row.add("Act_Close", "关闭", "", "", {}, [this] { closeProcedure(); });
    layout->addWidget(bar);

    auto *title = new QHBoxLayout;
    m_navigator = new DbNavigator(this);
    m_navigator->bind(src);
    // A move posts the pending row: it passes the same checks as "保存" first.
    m_navigator->setBeforeMove([this, d] { return !WindowKit::isEditing(d) || checkRequired(); });
    title->addWidget(new QLabel(s("客户接触："), this));
    title->addWidget(m_navigator);
    title->addStretch();
    layout->addLayout(title);

    auto *form = new QFormLayout;
    QList<QWidget *> order;
    const auto place = [&](const char *label, QWidget *w, const char *field) {
        w->setObjectName(s("ed") + s(field));
        form->addRow(s(label), w);
        m_editors.insert(s(field).toLower(), w);
        order << w;
    };
    auto *date = new DbDateEdit(this);
    date->bind(src, s("LinkDate"));
    place("联系日期：", date, "LinkDate");
    auto *time = new DbMaskEdit(s("##:##:##"), this);
    time->bind(src, s("LinkTime"));
    place("联系时间：", time, "LinkTime");
    auto *way = new DbComboBox(this);
    way->addItems({s("电话联系"), s("登门拜访"), s("电子邮件联系"), s("应邀上门"), s("招待客户")});
    way->bind(src, s("LinkType"));
    place("联系方式：", way, "LinkType");
    for (const auto &[label, field] : {std::pair{"联 系 人：", "Linkman"}, std::pair{"职　　务：", "Duty"},
                                       std::pair{"联系内容：", "LinkContent"}, std::pair{"地　　点：", "Address"}}) {
        auto *e = new DbEdit(this);
        e->bind(src, s(field));
        place(label, e, field);
    }
    auto *charge = new DbNumberEdit(this);
    charge->bind(src, s("Charge"));
    place("费用开销：", charge, "Charge");
    auto *memo = new DbMemo(this);
    memo->bind(src, s("Memo"));
    memo->setMaximumHeight(80);
    place("备注：", memo, "Memo");
    layout->addLayout(form);
    FocusChain::install(order, this);

    setPending(d, s("客户接触信息尚未保存，保存吗？"), [this] { return save(); });
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

int TfrmCustStateNew::execute(QWidget *parent)
{
    TfrmCustStateNew dialog(parent);
    return Dialogs::showModal(&dialog);
}

bool TfrmCustStateNew::checkRequired()
{
    static const QRegularExpression digit(s("[0-9]"));
    const auto filled = [&](const QString &field) -> bool {
        QWidget *w = editor(field);
        if (auto *d = qobject_cast<DbDateEdit *>(w))
            return !d->displayedText().isEmpty();
        if (auto *m = qobject_cast<DbMaskEdit *>(w))
            return m->maskedText().contains(digit);  // blanks and colons only: nothing typed
        if (auto *c = qobject_cast<DbComboBox *>(w))
            return !c->text().trimmed().isEmpty();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return !e->text().trimmed().isEmpty();
        return true;
    };
    static const std::pair<const char *, const char *> required[] = {
        {"LinkDate", "请选择输入联系日期！"}, {"LinkTime", "请输入联系时间！"}, {"LinkType", "请选择输入联系方式！"},
        {"Linkman", "请输入联系人名称！"},    {"Duty", "请输入联系人职务！"},
    };
    for (const auto &[field, message] : required) {
        if (!filled(s(field))) {
            Messages::warning(this, s(message));
            editor(s(field))->setFocus();
            return false;
        }
    }
    return true;
}

bool TfrmCustStateNew::save()
{
    if (!checkRequired())
        return false;
    Dataset *d = dmMain->tblCustomerState;
    if (WindowKit::isEditing(d))
        d->post();
    return true;
}

void TfrmCustStateNew::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    editor(s("LinkDate"))->setFocus();
}
