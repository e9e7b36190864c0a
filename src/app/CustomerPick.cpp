#include "CustomerPick.h"

#include "DbGrid.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "QueryDialog.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::function<void(QWidget *)> &customerDialogOpener()
{
    static std::function<void(QWidget *)> open;
    return open;
}

// The field a caller tag names; a null dataset for an unknown tag.
std::pair<Dataset *, QString> pickTarget(const QString &tag)
{
    if (tag == s("联系人详细资料"))
        return {dmMain->qryLinkmans1, s("CustID")};
    if (tag == s("相关客户"))
        return {dmMain->tblOperates2, s("CustID")};
    if (tag == s("联系客户"))
        return {dmMain->tblOperates2, s("LinkCustID")};
    if (tag == s("联系客户1"))
        return {dmMain->tblOperates, s("LinkCustID")};
    if (tag == s("日程安排"))
        return {dmMain->qryPlan, s("CustID")};
    if (tag == s("受聘客户"))
        return {dmMain->tblYuangong, s("CustID")};
    return {nullptr, {}};
}

}  // namespace

CustomerPickDialog::CustomerPickDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmCustomerQuery"));
    setWindowTitle(s("客户资料"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(s("客户资料列表："), this));
    m_grid = new DbGrid(this);
    m_grid->setGroupPanelVisible(false);
    m_grid->setColumns({GridColumn::text(s("客户代码"), s("CustID"), 100), GridColumn::text(s("客户名称"), s("CustName"), 220)});
    layout->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    const auto button = [&](const char *name, const char *text) {
        auto *b = new QPushButton(s(text), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    const auto actionButton = [&](QAction *a) {
        auto *b = button(qPrintable(a->objectName()), qPrintable(a->text()));
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        connect(a, &QAction::enabledChanged, b, &QWidget::setEnabled);
        b->setEnabled(a->isEnabled());
    };
    m_choose = button("btnChoose", "选择");
    const auto openCustomer = [this] {
        if (customerDialogOpener())
            customerDialogOpener()(this);
    };
    Act_Add = WindowKit::gatedAction(this, {s("Act_Add"), s("新增"), s("301"), s("Insert"), s("Ctrl+A")}, [openCustomer] {
        dmMain->tblCustomers2->append();
        openCustomer();
    });
    Act_Detail = WindowKit::gatedAction(this, {s("Act_Detail"), s("详细资料"), s("301"), s("Modify"), {}}, openCustomer);
    actionButton(Act_Add);
    actionButton(Act_Detail);
    m_quick = button("btnQuick", "快速查询");
    QPushButton *refresh = button("btnRefresh", "刷新");
    m_cancelButton = button("btnCancel", "取消");
    layout->addLayout(buttons);

    connect(m_choose, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { choose(); }); });
    connect(m_quick, &QPushButton::clicked, this, [this] {
        QueryDialog *q = makeQuickQuery(this);
        Dialogs::showModal(q);
        delete q;
    });
    connect(refresh, &QPushButton::clicked, this, [this] {
        ErrorHandler::run(this, [] {
            dmMain->tblCustomers2->close();
            dmMain->tblCustomers2->open();
        });
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &CustomerPickDialog::reject);

    ErrorHandler::run(this, [] {
        OpenDatasets({dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel, dmMain->tblCustState,
                      dmMain->tblCustOrigin, dmMain->tblOperaters, dmMain->tblFinanceOrgan, dmMain->tblOperateType,
                      dmMain->tblOperateOrigin, dmMain->tblOperateState, dmMain->tblLinkmans, dmMain->tblOperates,
                      dmMain->tblCustomerState, dmMain->tblCustomerAddInfo});
        dmMain->tblUser->close();
        dmMain->tblUser->open();
        applyOwnerRule();
    });
    m_grid->setDataSource(dmMain->dsCustomers2);
    resize(460, 420);
}

int CustomerPickDialog::execute(QWidget *parent)
{
    CustomerPickDialog dialog(parent);
    return Dialogs::showModal(&dialog);
}

void CustomerPickDialog::setCustomerDialogOpener(std::function<void(QWidget *)> open)
{
    customerDialogOpener() = std::move(open);
}

void CustomerPickDialog::applyOwnerRule()
{
    Dataset *c2 = dmMain->tblCustomers2;
    if (IsSystemUser()) {
        c2->setFiltered(false);
        OpenDatasets({c2});
    } else {
        c2->close();
        c2->setFilter(OwnerFilter());
        c2->setFiltered(true);
        c2->open();
    }
}

void CustomerPickDialog::choose()
{
    Dataset *c2 = dmMain->tblCustomers2;
    // An empty list chooses nothing: a null would clear the caller's customer.
    if (c2->isActive() && !c2->isEmpty()) {
        const auto [target, field] = pickTarget(CustomerPickCaller);
        if (target) {
            // Read first: putting the target into edit may move what follows it.
            const QVariant code = c2->field(s("CustId")).value();
            if (!WindowKit::isEditing(target))
                target->edit();
            target->field(field).setValue(code);
        }
    }
    accept();
}

void CustomerPickDialog::reject()
{
    if (ErrorHandler::run(this, [] { applyOwnerRule(); }))
        QDialog::reject();
}

QueryDialog *CustomerPickDialog::makeQuickQuery(QWidget *parent)
{
    QueryDialog::Setup setup{.objectName = s("frmCustomerQuery4"),
                             .caption = s("客户查询"),
                             .kindLabel = s("请选择查询条件："),
                             .textLabel = s("请输入查询条件："),
                             .kinds = {s("所有客户"), s("客户代码"), s("客户名称")}};
    return new QueryDialog(
        setup,
        [](QueryDialog &q) {
            Dataset *c2 = dmMain->tblCustomers2;
            if (q.isAllKind()) {
                c2->setFiltered(false);
                return true;
            }
            const bool code = q.kind() == 1;
            if (q.text().isEmpty()) {
                Messages::warning(&q, code ? s("请输入匹配的客户代码!") : s("请输入匹配的客户名称!"));
                return false;
            }
            c2->setFilter((code ? s("CustID") : s("CustName")) + s(" Like '%") + FilterExpression::quote(q.text()) + s("%'"));
            c2->setFiltered(true);
            return true;
        },
        parent);
}
