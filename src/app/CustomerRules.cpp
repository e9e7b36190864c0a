#include "CustomerRules.h"

#include "Utf8.h"
#include "uPublic.h"

namespace CustomerRules {

QList<RelatedCheck> relatedChecks()
{
    return {
        {s("select * from tblLinkmans where CustID=:CustID"), {s("CustID")}, s("对不起，该客户有联系人资料，不能删除！")},
        {s("select * from tblOperates where CustID=:CustID or LinkCustID=:LinkCustID"), {s("CustID"), s("LinkCustID")},
         s("对不起，该客户有业务资料，不能删除！")},
        {s("select * from tblCustomerState where CustID=:CustID"), {s("CustID")}, s("对不起，该客户有客户接触信息，不能删除！")},
        {s("select * from tblCustomerAddInfo where CustID=:CustID"), {s("CustID")}, s("对不起，该客户有其他资料信息，不能删除！")},
        {s("select * from tblPlan where CustID=:CustID"), {s("CustID")}, s("对不起，该客户有日程安排，不能删除！")},
    };
}

bool isNamed(const QVariant &code)
{
    for (const RelatedCheck &check : relatedChecks())
        if (PubQueryFinds(check.sql, check.params, code))
            return true;
    return false;
}

QString codeChangeRefusal()
{
    return s("对不起，该客户有相关资料，不能修改客户代码！");
}

bool codeChangeBlocked(Dataset &customers)
{
    if (customers.state() != Dataset::State::Edit)
        return false;
    Field code = customers.field(s("CustId"));
    const QVariant stored = code.oldValue();
    if (stored.isNull() || !stored.isValid())
        return false;
    if (code.asString().compare(stored.toString(), Qt::CaseInsensitive) == 0)
        return false;
    return isNamed(stored);
}

Dataset::BeforePostHook beforePost(bool dropInsertWithoutCode)
{
    return [dropInsertWithoutCode](Dataset &ds) {
        if (ds.state() == Dataset::State::Insert) {
            if (!dropInsertWithoutCode)
                return Dataset::BeforePost::Proceed;
            return ds.dropKeylessInsert(s("CustId"));
        }
        if (codeChangeBlocked(ds))
            throw DatasetError(codeChangeRefusal());
        return Dataset::BeforePost::Proceed;
    };
}

}  // namespace CustomerRules
