#include "uOperaterQuery.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "udmMain.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

struct Kind
{
    const char *caption;
    const char *column;
    const char *empty;  // the warning when the text is empty
};
const Kind Kinds[] = {
    {"所有工作人员", "", ""},
    {"工作人员代码", "OperaterID", "请输入匹配的工作人员代码!"},
    {"工作人员姓名", "Name", "请输入匹配的工作人员姓名!"},
    {"称呼", "NickName", "请输入匹配的称呼!"},
    {"职务", "Duty", "请输入匹配的职务!"},
};
constexpr int KindCount = int(sizeof Kinds / sizeof Kinds[0]);

QueryDialog::Setup setup()
{
    QStringList kinds;
    for (const Kind &k : Kinds)
        kinds << s(k.caption);
    return {.objectName = s("frmOperaterQuery"),
            .caption = s("工作人员查询"),
            .kindLabel = s("请选择查询条件："),
            .textLabel = s("请输入查询条件："),
            .kinds = kinds};
}

}  // namespace

TfrmOperaterQuery::TfrmOperaterQuery(QWidget *parent)
    : QueryDialog(setup(), [this](QueryDialog &) { return run(); }, parent)
{
}

int TfrmOperaterQuery::execute(QWidget *parent)
{
    TfrmOperaterQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmOperaterQuery::condition(int kind, const QString &text)
{
    if (kind <= 0 || kind >= KindCount)
        return {};
    return s(Kinds[kind].column) + s(" Like '%") + FilterExpression::quote(text) + s("%'");
}

QString TfrmOperaterQuery::emptyMessage(int kind)
{
    return kind > 0 && kind < KindCount ? s(Kinds[kind].empty) : QString();
}

bool TfrmOperaterQuery::run()
{
    Dataset *o = dmMain->tblOperaters;
    // A condition typed into the drop-down that is none of the items changes nothing.
    if (kindBox()->findText(kindBox()->currentText()) < 0)
        return true;
    if (!isAllKind() && text().isEmpty()) {
        Messages::warning(this, emptyMessage(kind()));
        textEdit()->setFocus();
        return false;
    }
    // A pending member is stored before the list is filtered again; a refusal stops here.
    if (o->isActive() && WindowKit::isEditing(o) && !ErrorHandler::run(this, [o] { o->post(); }))
        return false;
    if (isAllKind()) {
        o->setFiltered(false);
        return true;
    }
    const QString before = o->filter();
    const bool wasFiltered = o->isFiltered();
    o->setFiltered(false);
    const bool ok = ErrorHandler::run(this, [&] {
        o->setFilter(condition(kind(), text()));
        o->setFiltered(true);
    });
    if (!ok) {
        // The list keeps the filter it had.
        ErrorHandler::run(this, [&] {
            o->setFilter(before);
            o->setFiltered(wasFiltered);
        });
    }
    return ok;
}
