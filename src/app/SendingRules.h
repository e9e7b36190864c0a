#pragma once

#include "Dataset.h"

#include <QString>
#include <QVariant>

// What ties settlements to a sending unit's number: the check a delete runs and the
// guard tblShusong posts through, so a renumbering never strands a unit's settlements.
namespace SendingRules {

// The settlement query the delete runs on the shared query, bound to the unit number.
QString settlementSql();

// True when any settlement names `unitId`.
bool hasSettlements(const QVariant &unitId);

// "对不起，该输送单位包括佣金结算信息，不能修改单位编号！"
QString renumberRefusal();

// The number the unit was read with: the stored one while it is being edited, null for
// a new row, otherwise the current one.
QVariant storedNumber(Dataset &units);

// A saved unit whose number is being changed (letter case aside: links ignore it) while
// settlements still name the stored number.
bool renumberBlocked(Dataset &units);

// The before-post guard of tblShusong: refuses a blocked renumbering with renumberRefusal().
Dataset::BeforePostHook beforePost();

}  // namespace SendingRules
