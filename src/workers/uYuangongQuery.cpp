#include "uYuangongQuery.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "udmMain.h"

#include <QLineEdit>

namespace {

struct Kind
{
    const char *caption;
    const char *column;
    const char *empty;  // the warning when the text is empty
};
const Kind Kinds[] = {
    {"所有员工", "", ""},
    {"员工编号", "YuangongID", "请输入匹配的员工编号!"},
    {"员工姓名", "Name", "请输入匹配的员工姓名!"},
    {"称呼", "NickName", "请输入匹配的称呼!"},
    {"职务", "Duty", "请输入匹配的职务!"},
};
constexpr int KindCount = int(sizeof Kinds / sizeof Kinds[0]);

QueryDialog::Setup setup()
{
    QStringList kinds;
    for (const Kind &k : Kinds)
        kinds << s(k.caption);
    return {.objectName = s("frmYuangongQuery"),
            .caption = s("员工查询"),
            .kindLabel = s("请选择查询条件："),
            .textLabel = s("请输入查询条件："),
            .kinds = kinds};
}

}  // namespace

TfrmYuangongQuery::TfrmYuangongQuery(QWidget *parent)
    : QueryDialog(setup(), [this](QueryDialog &) { return run(); }, parent)
{
}

int TfrmYuangongQuery::execute(QWidget *parent)
{
    TfrmYuangongQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmYuangongQuery::condition(int kind, const QString &text)
{
    if (kind <= 0 || kind >= KindCount)
        return {};
    return s(Kinds[kind].column) + s(" Like '%") + FilterExpression::quote(text) + s("%'");
}

QString TfrmYuangongQuery::emptyMessage(int kind)
{
    return kind > 0 && kind < KindCount ? s(Kinds[kind].empty) : QString();
}

bool TfrmYuangongQuery::run()
{
    Dataset *w = dmMain->tblYuangong;
    if (!isAllKind() && text().isEmpty()) {
        Messages::warning(this, emptyMessage(kind()));
        textEdit()->setFocus();
        return false;
    }
    // A pending worker edit is stored before the list is filtered again; a refusal stops here.
    if (w->isActive() && WindowKit::isEditing(w) && !ErrorHandler::run(this, [w] { w->post(); }))
        return false;
    if (isAllKind()) {
        w->setFiltered(false);
        return true;
    }
    const QString before = w->filter();
    const bool wasFiltered = w->isFiltered();
    w->setFiltered(false);
    const bool ok = ErrorHandler::run(this, [&] {
        w->setFilter(condition(kind(), text()));
        w->setFiltered(true);
    });
    if (!ok) {
        // The list keeps the filter it had.
        ErrorHandler::run(this, [&] {
            w->setFilter(before);
            w->setFiltered(wasFiltered);
        });
    }
    return ok;
}
