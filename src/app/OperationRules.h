#pragma once

#include "Dataset.h"

#include <QString>
#include <QVariant>
#include <optional>

// The amounts of a business record and of its items, and what ties items to the
// record's code. Rates are read by the row's own currency code, never from whichever
// currency row is current in tblCurrencyRate.
namespace OperationRules {

// The currency `code` names in tblCurrencyRate: false for an empty code or one the
// table no longer holds (the drop-down then shows no text).
bool currencyKnown(const QVariant &code);
// One unit's value in the home currency; nullopt for an unknown currency or an empty rate.
std::optional<double> currencyRate(const QVariant &code);

// RMB = CompactAmount × rate on the record row (edit state already set). No known
// currency keeps RMB; a currency with an empty rate empties it.
void computeRecordRmb(Dataset &record);
// Rate = Profit ÷ CompactAmount, 0 when the amount is 0 (an empty amount or profit is 0).
void computeProfitRate(Dataset &record);
// DTotal = Price × Amount; RMB = DTotal × rate, empty without a currency or a rate.
void computeItemTotals(Dataset &item);

// "对不起，该业务资料包括业务子项信息，不能修改业务编码！"
QString codeChangeRefusal();
// A saved record whose code is typed over (letter case aside) while items name the stored code.
bool codeChangeBlocked(Dataset &record);

// The before-post guard of both record datasets: refuses a blocked code change; with
// `dropInsertWithoutCode` a new row without a code is dropped silently instead of stored.
Dataset::BeforePostHook beforePost(bool dropInsertWithoutCode);
// The before-post step of the item datasets: every stored item holds its recomputed totals.
Dataset::BeforePostHook itemBeforePost();

}  // namespace OperationRules
