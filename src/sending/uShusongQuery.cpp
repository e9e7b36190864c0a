#include "uShusongQuery.h"

#include "Dataset.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "udmMain.h"

#include <QLineEdit>

namespace {

// The kinds in list order: caption, column, message when no text is typed.
struct Kind
{
    const char *caption;
    const char *column;
    const char *emptyMessage;
};
const Kind Kinds[] = {
    {"所有输送单位", "", ""},
    {"输送单位编号", "ShusongID", "请输入匹配的输送单位编号!"},
    {"单位名称", "ShusongName", "请输入匹配的单位名称!"},
    {"负责人", "Manager", "请输入匹配的负责人!"},
    {"身份证号码", "ID", "请输入匹配的身份证号码!"},
    {"电话", "Telephone", "请输入匹配的电话号码!"},
    {"传真", "Fax", "请输入匹配的传真号码!"},
    {"手机", "Mobile", "请输入匹配的手机号码!"},
    {"主页", "Homepage", "请输入匹配的主页!"},
    {"Email", "Email", "请输入匹配的Email地址!"},
};

QueryDialog::Setup setup()
{
    QStringList kinds;
    for (const Kind &k : Kinds)
        kinds << s(k.caption);
    return {.objectName = s("frmShusongQuery"),
            .caption = s("输送单位查询"),
            .kindLabel = s("请选择查询条件："),
            .textLabel = s("请输入查询条件："),
            .kinds = kinds};
}

}  // namespace

TfrmShusongQuery::TfrmShusongQuery(QWidget *parent) : QueryDialog(setup(), [this](QueryDialog &) { return run(); }, parent)
{
}

int TfrmShusongQuery::execute(QWidget *parent)
{
    TfrmShusongQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmShusongQuery::condition(int kind, const QString &text)
{
    return s(Kinds[kind].column) + s(" Like '%") + FilterExpression::quote(text) + s("%'");
}

bool TfrmShusongQuery::run()
{
    Dataset *units = dmMain->tblShusong;
    if (!isAllKind() && text().isEmpty()) {
        Messages::warning(this, s(Kinds[kind()].emptyMessage));
        textEdit()->setFocus();
        return false;
    }
    // A pending unit is saved, not dropped, by the re-filtering; a refused post stops here.
    if (units->isActive() && WindowKit::isEditing(units) && !ErrorHandler::run(this, [units] { units->post(); }))
        return false;
    if (isAllKind()) {
        ErrorHandler::run(this, [units] { units->setFiltered(false); });
        return true;
    }
    ErrorHandler::run(this, [&] { units->setFilter(condition(kind(), text())); });
    // Filtering is on after a choice, also when the data layer refused the text.
    ErrorHandler::run(this, [units] { units->setFiltered(true); });
    return true;
}
