#include "OperationForm.h"

#include "CustomerPick.h"
#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbLookupCombo.h"
#include "DbMemo.h"
#include "DbNumberEdit.h"
#include "ErrorHandler.h"
#include "FieldLink.h"
#include "FocusChain.h"
#include "Messages.h"
#include "OperationRules.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// Switches off qryCustomers1's filter when the focus enters the dialog's linked-customer
// drop-down, so every customer can be chosen.
class LinkListOpener : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            ErrorHandler::run(qobject_cast<QWidget *>(watched), [] {
                if (dmMain->qryCustomers1->isFiltered())
                    dmMain->qryCustomers1->setFiltered(false);
            });
        return QObject::eventFilter(watched, event);
    }
};

struct Required
{
    const char *field;
    const char *message;
};

}  // namespace

QString shownText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text().trimmed();
    if (auto *d = qobject_cast<DbDateEdit *>(w))
        return d->displayedText().trimmed();
    if (auto *c = qobject_cast<DbLookupCombo *>(w))
        return c->text().trimmed();
    if (auto *c = qobject_cast<DbComboBox *>(w))
        return c->text().trimmed();
    if (auto *n = qobject_cast<DbNumberEdit *>(w))
        return n->text().trimmed();
    return {};
}

OperationForm::OperationForm(Host host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(s("operationForm"));
    const bool window = host == Host::Window;
    DataSource *src = window ? dmMain->dsOperates2 : dmMain->dsOperates;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    const auto place = [&](const char *label, const char *field, QWidget *editor, int row, int column, int span = 1,
                           QWidget *shown = nullptr) {
        if (editor->objectName().isEmpty())
            editor->setObjectName(s("ed") + s(field));
        if (label) {
            auto *l = new QLabel(s(label), this);
            l->setBuddy(editor);
            grid->addWidget(l, row, column * 2);
        }
        grid->addWidget(shown ? shown : editor, row, column * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), editor);
        m_order << editor;
    };
    const auto text = [&](const char *field) {
        auto *e = new DbEdit(this);
        e->bind(src, s(field));
        return e;
    };
    const auto lookup = [&](const char *field, DataSource *list, const char *key, const char *name) {
        auto *c = new DbLookupCombo(this);
        c->setList(list, s(key), s(name));
        c->bind(src, s(field));
        return c;
    };
    const auto date = [&](const char *field) {
        auto *d = new DbDateEdit(this);
        d->bind(src, s(field));
        return d;
    };
    const auto number = [&](const char *field, bool readOnly, int decimals) {
        auto *n = new DbNumberEdit(this);
        n->bind(src, s(field));
        n->setDecimals(decimals);
        if (readOnly) {
            n->setReadOnly(true);
            n->setCalculatorVisible(false);
        }
        return n;
    };
    const auto withButton = [&](QWidget *editor, QPushButton *&button, const char *name) {
        auto *row = new QWidget(this);
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        button = new QPushButton(s("查询..."), row);
        button->setObjectName(s(name));
        button->setAutoDefault(false);
        editor->setParent(row);
        h->addWidget(editor, 1);
        h->addWidget(button);
        return row;
    };

    DbEdit *code = text("OperateID");
    place("业务编码：", "OperateID", code, 0, 0);
    grid->addWidget(new QLabel(s("（请输入唯一业务编码标识）"), this), 0, 2, 1, 2);
    place("业务标题：", "OperateTitle", text("OperateTitle"), 1, 0, 2);
    if (window) {
        DbLookupCombo *customer = lookup("CustID", dmMain->dsCustomers2, "CustId", "CustName");
        place("相关客户：", "CustID", customer, 2, 0, 2, withButton(customer, m_pickCustomer, "btnPickCustomer"));
    } else {
        DbEdit *name = text("CustName");
        name->setObjectName(s("edCustName"));
        name->setReadOnly(true);
        place("相关客户：", "CustID", name, 2, 0, 2);
    }
    auto *link = new DbCheckBox(s("该业务是否有相关联系客户"), this);
    link->setObjectName(s("chkLink"));
    link->bind(src, s("Link"));
    grid->addWidget(link, 2, 5);
    m_editors.insert(s("link"), link);
    m_order << link;
    DbLookupCombo *linked = lookup("LinkCustID", window ? dmMain->dsCustomers2 : dmMain->dsCustomers1, "CustId", "CustName");
    if (!window)
        linked->installEventFilter(new LinkListOpener(linked));
    m_linkRow = withButton(linked, m_pickLink, "btnPickLinkCustomer");
    m_linkRow->setObjectName(s("linkCustomerRow"));
    place("联系客户：", "LinkCustID", linked, 3, 0, 2, m_linkRow);
    place("建档时间：", "CreateDate", date("CreateDate"), 0, 2);
    place("联 系 人：", "LinkmanID", lookup("LinkmanID", window ? dmMain->dsLinkmans2 : dmMain->dsLinkmans, "LinkmanID", "Name"), 3, 2);
    place("业务来源：", "OriginId", lookup("OriginId", dmMain->dsOperateOrigin, "OriginID", "OriginName"), 1, 2);
    place("业务类型：", "TypeID", lookup("TypeID", dmMain->dsOperateType, "TypeID", "TypeName"), 4, 0);
    auto *direction = new DbComboBox(this);
    direction->addItems({s("收款"), s("付款")});
    direction->bind(src, s("InOrOut"));
    place("收付类型：", "InOrOut", direction, 4, 1);
    place("工作人员：", "OperaterID", lookup("OperaterID", dmMain->dsOperaters, "OperaterID", "Name"), 4, 2);
    place("签约日期：", "WriteDate", date("WriteDate"), 5, 0);
    place("截止日期：", "EndDate", date("EndDate"), 5, 1);
    DbNumberEdit *amount = number("CompactAmount", false, -1);
    place("合同金额：", "CompactAmount", amount, 6, 0);
    place("币别名称：", "CurrID", lookup("CurrID", dmMain->dsCurrencyRate, "CurrID", "CurrName"), 6, 1);
    place("折人民币：", "RMB", number("RMB", true, 2), 6, 2);
    DbNumberEdit *profit = number("Profit", false, -1);
    place("预计利润：", "Profit", profit, 7, 0);
    place("利润率：", "Rate", number("Rate", true, 4), 7, 1);
    place("业务状态：", "OperateStateID",
          lookup("OperateStateID", dmMain->dsOperateState, "OperateStateID", "OperateStateName"), 5, 2);
    // The remarks two lines high in the last cell: the hosting client area has little height.
    auto *memo = new DbMemo(this);
    memo->bind(src, s("FilePath"));
    memo->setFixedHeight(fontMetrics().lineSpacing() * 2 + 4);
    place("备    注：", "FilePath", memo, 7, 2);
    grid->addItem(new QSpacerItem(0, 0), 8, 0);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(8, 1);
    FocusChain::install(m_order, this);

    m_amountEdit = amount->lineEdit();
    m_profitEdit = profit->lineEdit();
    m_amountEdit->installEventFilter(this);
    m_profitEdit->installEventFilter(this);

    Dataset *d = dataset();
    connect(d, &Dataset::fieldChanged, this, [this, d](int field) {
        if (field == d->fieldIndex(s("Link")))
            applyLinkRule();
        else if (field == d->fieldIndex(s("CurrID")))
            currencyChanged();
    });
    connect(d, &Dataset::currentChanged, this, &OperationForm::applyLinkRule);
    connect(d, &Dataset::dataReset, this, &OperationForm::applyLinkRule);
    connect(d, &Dataset::stateChanged, this, &OperationForm::applyLinkRule);
    if (m_pickCustomer)
        connect(m_pickCustomer, &QPushButton::clicked, this, [this] { pick(s("相关客户")); });
    connect(m_pickLink, &QPushButton::clicked, this, [this, window] { pick(window ? s("联系客户") : s("联系客户1")); });
    applyLinkRule();
}

Dataset *OperationForm::dataset() const
{
    return m_host == Host::Window ? static_cast<Dataset *>(dmMain->tblOperates2) : dmMain->tblOperates;
}

void OperationForm::applyLinkRule()
{
    bool linked = false;
    ErrorHandler::run(this, [&] {
        Dataset *d = dataset();
        if (d->isActive() && (!d->isEmpty() || d->state() == Dataset::State::Insert))
            linked = d->field(s("Link")).value().toBool();
    });
    // The row, not the drop-down: a bound control's own refresh enables itself again.
    m_linkRow->setEnabled(linked);
}

void OperationForm::amountLeft()
{
    ErrorHandler::run(this, [this] {
        Dataset *d = dataset();
        if (!d->isActive() || (d->isEmpty() && d->state() != Dataset::State::Insert))
            return;
        if (!WindowKit::isEditing(d))
            d->edit();
        OperationRules::computeRecordRmb(*d);
    });
}

void OperationForm::currencyChanged()
{
    ErrorHandler::run(this, [this] {
        Dataset *d = dataset();
        if (!WindowKit::isEditing(d))
            return;
        OperationRules::computeRecordRmb(*d);
    });
}

void OperationForm::profitLeft()
{
    ErrorHandler::run(this, [this] {
        Dataset *d = dataset();
        if (d->isActive() && WindowKit::isEditing(d))
            OperationRules::computeProfitRate(*d);
    });
}

bool OperationForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_amountEdit || watched == m_profitEdit)) {
        // The typed number is written first, then the amounts follow it.
        auto *edit = qobject_cast<DbNumberEdit *>(editor(watched == m_amountEdit ? s("CompactAmount") : s("Profit")));
        if (edit && dataset()->isActive())
            Q_EMIT edit->link()->flush();
        if (watched == m_amountEdit)
            amountLeft();
        else
            profitLeft();
    }
    return QWidget::eventFilter(watched, event);
}

bool OperationForm::refuseCodeChange()
{
    Dataset *d = dataset();
    if (!d->isActive())
        return false;
    // The typed code reaches the row before it is compared with the stored one.
    if (auto *code = qobject_cast<DbEdit *>(editor(s("OperateID"))); code && WindowKit::isEditing(d))
        Q_EMIT code->link()->flush();
    if (!OperationRules::codeChangeBlocked(*d))
        return false;
    Messages::warning(this, OperationRules::codeChangeRefusal());
    editor(s("OperateID"))->setFocus();
    return true;
}

bool OperationForm::checkRequired(bool closePath)
{
    const Required list[] = {
        {"OperateID", "请输入业务编码！"},
        {"OperateTitle", "请输入业务标题！"},
        {"CustID", "请选择输入相关客户！"},
        {"CreateDate", closePath ? "请输入客户建档时间！" : "请输入业务资料建档时间！"},
        {"OriginId", "请选择输入业务来源！"},
        {"TypeID", "请选择输入业务类型！"},
        {"InOrOut", "请选择输入收付类型！"},
        {"WriteDate", "请选择输入签约日期！"},
        {"EndDate", "请选择输入合同截止日期！"},
        {"OperateStateID", "请选择业务状态！"},
    };
    for (const Required &r : list) {
        // The dialog's customer is given by the customer window.
        if (m_host == Host::Dialog && qstrcmp(r.field, "CustID") == 0)
            continue;
        QWidget *w = editor(s(r.field));
        if (shownText(w).isEmpty()) {
            Messages::warning(this, s(r.message));
            w->setFocus();
            return false;
        }
    }
    return true;
}

void OperationForm::makeFolder()
{
    QDir().mkpath(FilesRoot);
    QString customer;
    Dataset *d = dataset();
    if (d->isActive() && (!d->isEmpty() || d->state() == Dataset::State::Insert))
        customer = d->field(s("CustID")).asString();
    FileListRoot = RecordFolder(FilesRoot, customer);
}

bool OperationForm::save()
{
    WriteLog(s("客户业务管理-业务资料-保存"));
    return store(true, false);
}

bool OperationForm::saveOnClose()
{
    return store(false, true);
}

bool OperationForm::store(bool fillUser, bool closePath)
{
    Dataset *d = dataset();
    if (refuseCodeChange() || !checkRequired(closePath))
        return false;
    makeFolder();
    if (!d->isActive() || !WindowKit::isEditing(d))
        return true;
    OperationRules::computeRecordRmb(*d);
    OperationRules::computeProfitRate(*d);
    if (fillUser && d->field(s("SUser")).asString().isEmpty())
        d->field(s("SUser")).setValue(CurrentUserID);
    d->post();
    return true;
}

void OperationForm::remove(const QString &question)
{
    WriteLog(s("客户业务管理-业务资料-删除"));
    Dataset *d = dataset();
    if (!d->isActive())
        return;
    // A new row has no items yet: on OK it is discarded.
    if (d->state() == Dataset::State::Insert) {
        if (Messages::confirmDelete(this, question))
            d->cancel();
        return;
    }
    if (d->isEmpty())
        return;
    const QList<WindowKit::DeleteCheck> checks{{s("select * from tblOperateDetail where OperateID=:OperateID "),
                                                {s("OperateID")}, s("OperateID"),
                                                s("对不起，该业务资料包括业务子项信息，不能删除！")}};
    if (WindowKit::refusedBy(this, d, checks))
        return;
    if (!Messages::confirmDelete(this, question))
        return;
    if (d->state() == Dataset::State::Edit)
        d->cancel();
    d->remove();
}

void OperationForm::pick(const QString &caller)
{
    CustomerPickCaller = caller;
    ErrorHandler::run(this, [this] { CustomerPickDialog::execute(this); });
}
