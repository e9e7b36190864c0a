#include "uYuangongQuery.h"

#include "Dialogs.h"
#include "udmMain.h"

namespace {

const LikeQueryDialog::Table &table()
{
    static const LikeQueryDialog::Table t{
        "frmYuangongQuery", "员工查询",
        {
        {"所有员工", "", ""},
        {"员工编号", "YuangongID", "请输入匹配的员工编号!"},
        {"员工姓名", "Name", "请输入匹配的员工姓名!"},
        {"称呼", "NickName", "请输入匹配的称呼!"},
        {"职务", "Duty", "请输入匹配的职务!"},
        },
        [] { return static_cast<Dataset *>(dmMain->tblYuangong); },
        LikeQueryDialog::OnRefusal::KeepPrevious};
    return t;
}

}  // namespace

TfrmYuangongQuery::TfrmYuangongQuery(QWidget *parent) : LikeQueryDialog(table(), parent)
{
}

int TfrmYuangongQuery::execute(QWidget *parent)
{
    TfrmYuangongQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmYuangongQuery::condition(int kind, const QString &text)
{
    return LikeQueryDialog::condition(table(), kind, text);
}

QString TfrmYuangongQuery::emptyMessage(int kind)
{
    return LikeQueryDialog::emptyMessage(table(), kind);
}
