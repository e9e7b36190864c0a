#include "SendingRules.h"

#include "Utf8.h"
#include "uPublic.h"

namespace SendingRules {

QString settlementSql()
{
    return s("select * from tblShusongYJ where ShusongID=:shusongID ");
}

bool hasSettlements(const QVariant &unitId)
{
    if (unitId.isNull() || !unitId.isValid())
        return false;
    return PubQueryFinds(settlementSql(), {s("shusongID")}, unitId);
}

QString renumberRefusal()
{
    return s("对不起，该输送单位包括佣金结算信息，不能修改单位编号！");
}

QVariant storedNumber(Dataset &units)
{
    if (!units.isActive() || units.state() == Dataset::State::Insert)
        return {};
    if (units.isEmpty())
        return {};
    Field id = units.field(s("ShusongID"));
    return units.state() == Dataset::State::Edit ? id.oldValue() : id.value();
}

bool renumberBlocked(Dataset &units)
{
    if (units.state() != Dataset::State::Edit)
        return false;
    const QVariant stored = units.field(s("ShusongID")).oldValue();
    if (stored.isNull() || !stored.isValid())
        return false;
    if (units.field(s("ShusongID")).asString().compare(stored.toString(), Qt::CaseInsensitive) == 0)
        return false;
    return hasSettlements(stored);
}

Dataset::BeforePostHook beforePost()
{
    return [](Dataset &ds) {
        if (renumberBlocked(ds))
            throw DatasetError(renumberRefusal());
        return Dataset::BeforePost::Proceed;
    };
}

}  // namespace SendingRules
