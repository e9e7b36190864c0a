#include "ListPage.h"
#include "CustomerOtherTab.h"

#include "DbEdit.h"
#include "DbLookupCombo.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

CustomerOtherTab::CustomerOtherTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(s("customerOtherTab"));
    Dataset *info = dmMain->tblCustomerAddInfo;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = ListPage::makeToolBar(this);
    WindowKit::ToolRow row(bar, this, s("301"));
    const auto add = [&](const char *which, const char *name, const char *text, const char *subRight,
                         std::function<void()> run) {
        m_actions.insert(s(which), row.add(name, s(text), subRight, "", std::move(run)));
    };
    add("modify", "Act_ModifyOther", "修改", "Modify", [this] { modify(); });
    add("save", "Act_SaveOther", "保存", "Modify", [info] {
        if (info->isActive() && WindowKit::isEditing(info))
            info->post();
    });
    add("delete", "Act_DeleteOther", "删除", "Delete", [this, info] {
        if (info->isActive() && !info->isEmpty() && Messages::confirmDelete(this, s("您真的要删除该资料吗？")))
            info->remove();
    });
    add("print", "Act_PrintOther", "打印", "Print", [this, info] {
        WindowKit::print(this, s("客户业务管理-客户资料-其他资料-打印"), s("frCustomerOther"), info);
    });
    layout->addWidget(bar);

    // Two columns of label and editor, so the nine fields fit the tab's low height.
    auto *form = new QGridLayout;
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    QList<QWidget *> order;
    const auto place = [&](const QString &label, QWidget *editor, const QString &field) {
        const int index = int(order.size());
        const int row = index % 5, column = index < 5 ? 0 : 2;
        auto *l = new QLabel(label, this);
        l->setBuddy(editor);
        form->addWidget(l, row, column);
        form->addWidget(editor, row, column + 1);
        m_editors.insert(field.toLower(), editor);
        order << editor;
    };
    auto *bank = new DbLookupCombo(this);
    bank->bind(dmMain->dsCustomerAddInfo, s("BankID"));
    bank->setList(dmMain->dsFinanceOrgan, s("OrganID"), s("OrganName"));
    bank->setObjectName(s("cbBankID"));
    place(s("开  户  银  行："), bank, s("BankID"));
    for (const auto &[label, field] :
         {std::pair{"银行 账号：", "Account"}, std::pair{"开 户 行 地 址：", "BankAddress"},
          std::pair{"增 值 税 户 名：", "VATaxName"}, std::pair{"增 值 税 税 号：", "VATaxID"},
          std::pair{"增值税开户银行：", "VATaxBank"}, std::pair{"增值税银行账号：", "VATaxAccount"},
          std::pair{"增值税地址：", "VATaxAddress"}, std::pair{"电　　  话：", "VATaxPhone"}}) {
        auto *e = new DbEdit(this);
        e->bind(dmMain->dsCustomerAddInfo, s(field));
        e->setObjectName(s("ed") + s(field));
        place(s(label), e, s(field));
    }
    layout->addLayout(form);
    layout->addStretch();
    FocusChain::install(order, this);
}

void CustomerOtherTab::modify()
{
    // A record without a customer would show nowhere.
    Dataset *c = dmMain->tblCustomers;
    if (!c->isActive() || c->isEmpty() || c->field(s("CustId")).asString().isEmpty())
        return;
    Dataset *info = dmMain->tblCustomerAddInfo;
    OpenDatasets({dmMain->tblFinanceOrgan, info});
    info->edit();  // a customer without a record starts one, linked to it
    editor(s("BankID"))->setFocus();
}
