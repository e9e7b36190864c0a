#include "uCustomerQuery3.h"

#include "Dialogs.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QLineEdit>

namespace {

// The kinds in list order with the column each tests; `like` matches the text anywhere.
struct Kind
{
    const char *caption;
    const char *column;
    bool like;
};
const Kind Kinds[] = {
    {"所有客户", "", false},         {"客户代码", "CustID", true},       {"客户名称", "CustName", true},
    {"主要联系人", "MainLinkman", true}, {"地址", "Address", true},        {"国籍", "CountryID", true},
    {"所在区", "DistID", true},       {"电话", "Telephone", true},        {"传真", "Fax", true},
    {"主要联系人", "MainLinkman", true}, {"工作人员代码", "OperaterID", false}, {"客户类别代码", "VocationID", false},
    {"客户级别代码", "LevelID", false}, {"客户状态代码", "StateID", false},   {"客户来源代码", "OriginID", false},
    {"Email", "Email", true},         {"主要成员", "HomePage", true},
};

QueryDialog::Setup setup()
{
    QStringList kinds;
    for (const Kind &k : Kinds)
        kinds << s(k.caption);
    return {.objectName = s("frmCustomerQuery3"),
            .caption = s("客户查询"),
            .kindLabel = {},
            .textLabel = s("请输入查询条件："),
            .kinds = kinds,
            .dateRange = true,
            .rangeCaption = s("选择时间段查询："),
            .startLabel = s("起始时间："),
            .endLabel = s("截止时间："),
            .otherCaption = s("选择其他查询条件：")};
}

}  // namespace

TfrmCustomerQuery3::TfrmCustomerQuery3(QWidget *parent)
    : QueryDialog(setup(), [this](QueryDialog &) { return run(); }, parent)
{
}

int TfrmCustomerQuery3::execute(QWidget *parent)
{
    TfrmCustomerQuery3 dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmCustomerQuery3::condition(int kind, const QString &text)
{
    const Kind &k = Kinds[kind];
    const QString t = FilterExpression::quote(text);
    return k.like ? s(k.column) + s(" Like '%") + t + s("%'") : s(k.column) + s("='") + t + u'\'';
}

bool TfrmCustomerQuery3::run()
{
    Dataset *c = dmMain->tblCustomers;
    const bool sys = IsSystemUser();
    if (rangeSelected()) {
        c->setFilter(dayRangeFilter(s("CreateDate"), startDate(), endDate(), sys ? QString() : CurrentUserID));
        c->setFiltered(true);
    } else if (isAllKind()) {
        if (sys) {
            c->setFiltered(false);
        } else {
            c->setFilter(OwnerFilter());
            c->setFiltered(true);
        }
    } else {
        if (text().isEmpty()) {
            Messages::warning(this, s("请输入查询条件!"));
            if (sys)
                textEdit()->setFocus();
            return false;
        }
        QString filter = condition(kind(), text());
        if (!sys)
            filter += s(" and ") + s(" sUser='") + FilterExpression::quote(CurrentUserID) + u'\'';
        c->setFilter(filter);
        c->setFiltered(true);
    }
    if (!c->isActive())
        c->open();
    if (!c->isEmpty())
        return true;
    Messages::warning(this, s("对不起，没有找到符合条件的记录！"));
    return false;
}
