#include "OperationRules.h"

#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

namespace OperationRules {

namespace {

double number(Dataset &d, const char *field)
{
    const Field f = d.field(s(field));
    return f.isNull() ? 0.0 : f.value().toDouble();
}

}  // namespace

bool currencyKnown(const QVariant &code)
{
    if (!code.isValid() || code.isNull() || code.toString().trimmed().isEmpty())
        return false;
    Dataset *rates = dmMain->tblCurrencyRate;
    OpenDatasets({rates});
    return rates->lookupValue(s("CurrID"), code, s("CurrID")).isValid();
}

std::optional<double> currencyRate(const QVariant &code)
{
    if (!currencyKnown(code))
        return std::nullopt;
    const QVariant rate = dmMain->tblCurrencyRate->lookupValue(s("CurrID"), code, s("Rate"));
    if (!rate.isValid() || rate.isNull() || rate.toString().trimmed().isEmpty())
        return std::nullopt;
    return rate.toDouble();
}

void computeRecordRmb(Dataset &record)
{
    const QVariant code = record.field(s("CurrID")).value();
    if (!currencyKnown(code))
        return;
    const std::optional<double> rate = currencyRate(code);
    record.field(s("RMB")).setValue(rate ? QVariant(number(record, "CompactAmount") * *rate) : QVariant());
}

void computeProfitRate(Dataset &record)
{
    const double amount = number(record, "CompactAmount");
    record.field(s("Rate")).setValue(amount == 0.0 ? 0.0 : number(record, "Profit") / amount);
}

void computeItemTotals(Dataset &item)
{
    const double total = number(item, "Price") * number(item, "Amount");
    item.field(s("DTotal")).setValue(total);
    const std::optional<double> rate = currencyRate(item.field(s("CurrID")).value());
    item.field(s("RMB")).setValue(rate ? QVariant(total * *rate) : QVariant());
}

QString codeChangeRefusal()
{
    return s("对不起，该业务资料包括业务子项信息，不能修改业务编码！");
}

bool codeChangeBlocked(Dataset &record)
{
    if (record.state() != Dataset::State::Edit)
        return false;
    Field code = record.field(s("OperateID"));
    const QVariant stored = code.oldValue();
    if (!stored.isValid() || stored.isNull())
        return false;
    if (code.asString().compare(stored.toString(), Qt::CaseInsensitive) == 0)
        return false;
    return PubQueryFinds(s("select * from tblOperateDetail where OperateID=:OperateID "), {s("OperateID")}, stored);
}

Dataset::BeforePostHook beforePost(bool dropInsertWithoutCode)
{
    return [dropInsertWithoutCode](Dataset &ds) {
        if (ds.state() == Dataset::State::Insert) {
            if (!dropInsertWithoutCode)
                return Dataset::BeforePost::Proceed;
            return ds.dropKeylessInsert(s("OperateID"));
        }
        if (codeChangeBlocked(ds))
            throw DatasetError(codeChangeRefusal());
        return Dataset::BeforePost::Proceed;
    };
}

Dataset::BeforePostHook itemBeforePost()
{
    return [](Dataset &ds) {
        computeItemTotals(ds);
        return Dataset::BeforePost::Proceed;
    };
}

}  // namespace OperationRules
