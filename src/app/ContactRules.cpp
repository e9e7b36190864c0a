#include "ContactRules.h"

#include "Utf8.h"
#include "uPublic.h"

namespace ContactRules {

QString businessCheckSql()
{
    return s("select * from tblOperates where LinkmanID=:LinkmanID");
}

QString deleteRefusal()
{
    return s("对不起，业务资料有该联系人信息，不能删除！");
}

QString codeChangeRefusal()
{
    return s("对不起，业务资料有该联系人信息，不能修改联系人代码！");
}

bool codeChangeBlocked(Dataset &contacts)
{
    if (contacts.state() != Dataset::State::Edit)
        return false;
    Field code = contacts.field(s("LinkmanID"));
    const QVariant stored = code.oldValue();
    if (stored.isNull() || !stored.isValid())
        return false;
    if (code.asString().compare(stored.toString(), Qt::CaseInsensitive) == 0)
        return false;
    return PubQueryFinds(businessCheckSql(), {s("LinkmanID")}, stored);
}

Dataset::BeforePostHook beforePost()
{
    return [](Dataset &ds) {
        if (codeChangeBlocked(ds))
            throw DatasetError(codeChangeRefusal());
        return Dataset::BeforePost::Proceed;
    };
}

}  // namespace ContactRules
