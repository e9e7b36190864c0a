#include "uOperaterQuery.h"

#include "Dialogs.h"
#include "udmMain.h"

namespace {

const LikeQueryDialog::Table &table()
{
    static const LikeQueryDialog::Table t{
        "frmOperaterQuery", "工作人员查询",
        {
        {"所有工作人员", "", ""},
        {"工作人员代码", "OperaterID", "请输入匹配的工作人员代码!"},
        {"工作人员姓名", "Name", "请输入匹配的工作人员姓名!"},
        {"称呼", "NickName", "请输入匹配的称呼!"},
        {"职务", "Duty", "请输入匹配的职务!"},
        },
        [] { return static_cast<Dataset *>(dmMain->tblOperaters); },
        LikeQueryDialog::OnRefusal::KeepPrevious};
    return t;
}

}  // namespace

TfrmOperaterQuery::TfrmOperaterQuery(QWidget *parent) : LikeQueryDialog(table(), parent)
{
}

int TfrmOperaterQuery::execute(QWidget *parent)
{
    TfrmOperaterQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmOperaterQuery::condition(int kind, const QString &text)
{
    return LikeQueryDialog::condition(table(), kind, text);
}

QString TfrmOperaterQuery::emptyMessage(int kind)
{
    return LikeQueryDialog::emptyMessage(table(), kind);
}
