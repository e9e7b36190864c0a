#include "uOperateQuery1.h"

#include "Dataset.h"
#include "Dialogs.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QLineEdit>
#include <iterator>

namespace {

// The kinds after "所有业务", in list order, with the column each tests. `exactForSystem`:
// a system user's text must equal the code, another user's may be part of it.
struct Kind
{
    const char *caption;
    const char *column;
    bool exactForSystem;
};
const Kind Kinds[] = {
    {"业务代码", "OperateID", false},  {"业务标题", "OperateTitle", false},     {"客户代码", "CustID", false},
    {"业务员代码", "OperaterID", true}, {"业务状态代码", "OperateStateID", true},
};

QueryDialog::Setup setup()
{
    QStringList kinds{s("所有业务")};
    for (const Kind &k : Kinds)
        kinds << s(k.caption);
    return {.objectName = s("frmOperateQuery1"),
            .caption = s("业务查询"),
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

TfrmOperateQuery1::TfrmOperateQuery1(QWidget *parent)
    : QueryDialog(setup(), [this](QueryDialog &) { return run(); }, parent)
{
}

int TfrmOperateQuery1::execute(QWidget *parent)
{
    TfrmOperateQuery1 dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmOperateQuery1::condition(int kind, const QString &text, bool systemUser, const QString &user)
{
    if (kind < 1 || kind > int(std::size(Kinds)))
        return {};
    const Kind &k = Kinds[kind - 1];
    const QString t = FilterExpression::quote(text);
    const QString column = s(k.column);
    if (systemUser)
        return k.exactForSystem ? column + s("='") + t + u'\'' : column + s(" Like '%") + t + s("%'");
    // The state code matches exactly for everyone; the other kinds as part of the value.
    const QString test = kind == 5 ? column + s("='") + t + u'\'' : column + s(" Like '%") + t + s("%'");
    return test + s(" And sUser='") + FilterExpression::quote(user) + u'\'';
}

bool TfrmOperateQuery1::run()
{
    Dataset *o = dmMain->tblOperates2;
    const bool sys = IsSystemUser();
    if (rangeSelected()) {
        const QString filter = dayRangeFilter(s("CreateDate"), startDate(), endDate(), sys ? QString() : CurrentUserID);
        o->setFiltered(false);
        o->setFilter(filter);
        o->setFiltered(true);
        return true;
    }
    if (isAllKind()) {
        if (sys) {
            o->setFiltered(false);
        } else {
            o->setFilter(OwnerFilter());
            o->setFiltered(true);
        }
        return true;
    }
    if (text().isEmpty()) {
        Messages::warning(this, s("请输入查询条件!"));
        if (sys)
            textEdit()->setFocus();
        return false;
    }
    o->setFiltered(false);
    o->setFilter(condition(kind(), text(), sys, CurrentUserID));
    o->setFiltered(true);
    return true;
}
