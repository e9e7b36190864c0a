#include "uShusongQuery.h"

#include "Dialogs.h"
#include "udmMain.h"

namespace {

const LikeQueryDialog::Table &table()
{
    static const LikeQueryDialog::Table t{
        "frmShusongQuery", "输送单位查询",
        {
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
        },
        [] { return static_cast<Dataset *>(dmMain->tblShusong); },
        LikeQueryDialog::OnRefusal::FilterAnyway};
    return t;
}

}  // namespace

TfrmShusongQuery::TfrmShusongQuery(QWidget *parent) : LikeQueryDialog(table(), parent)
{
}

int TfrmShusongQuery::execute(QWidget *parent)
{
    TfrmShusongQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmShusongQuery::condition(int kind, const QString &text)
{
    return LikeQueryDialog::condition(table(), kind, text);
}

QString TfrmShusongQuery::emptyMessage(int kind)
{
    return LikeQueryDialog::emptyMessage(table(), kind);
}
