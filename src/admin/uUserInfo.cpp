#include "uUserInfo.h"

#include "Dataset.h"
#include "DbEdit.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfrmUserInfo::TfrmUserInfo(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmUserInfo"));
    setWindowTitle(s("用户登记信息"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    form->setContentsMargins(12, 12, 12, 4);
    form->setVerticalSpacing(8);
    const auto box = [&](const char *label, const char *name, const char *field) {
        auto *e = new DbEdit(this);
        e->setObjectName(s(name));
        e->bind(dmMain->dsUserInfo, s(field));
        e->setMinimumWidth(320);
        form->addRow(s(label), e);
        return e;
    };
    edUserName = box("用户名称：", "edUserName", "UserName");
    edAddress = box("地　　址：", "edAddress", "Address");
    edTelephone = box("电　　话：", "edTelephone", "Telephone");
    edFax = box("传　　真：", "edFax", "Fax");
    edHomePage = box("网　　址：", "edHomePage", "HomePage");
    edEmail = box("联系EMail：", "edEmail", "Email");
    edPostCode = box("邮政编码：", "edPostCode", "PostCode");
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSave = new QPushButton(s("保存"), this);
    btnSave->setObjectName(s("btnSave"));
    btnSave->setAutoDefault(false);
    btnClose = new QPushButton(s("关闭"), this);
    btnClose->setObjectName(s("btnClose"));
    btnClose->setAutoDefault(false);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    FocusChain::install({edUserName, edAddress, edTelephone, edFax, edPostCode, edEmail, edHomePage, btnSave}, this);
    connect(btnSave, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { save(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

int TfrmUserInfo::execute(QWidget *parent)
{
    TfrmUserInfo dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmUserInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ErrorHandler::run(this, [] {
        Dataset *info = dmMain->tblUserInfo;
        OpenDatasets({info});
        if (info->isEmpty())
            info->append();
        else
            info->edit();
    });
    edUserName->setFocus();
}

void TfrmUserInfo::done(int result)
{
    // "关闭" and the close box drop what was not saved, so no envelope prints it.
    Dataset *info = dmMain->tblUserInfo;
    if (info->isActive() && info->state() != Dataset::State::Browse)
        ErrorHandler::run(this, [info] { info->cancel(); });
    QDialog::done(result);
}

bool TfrmUserInfo::save()
{
    WriteLog(s("系统设置-用户信息-保存"));
    const struct
    {
        DbEdit *box;
        const char *message;
    } required[] = {{edUserName, "请输入用户名称！"},
                    {edAddress, "请输入用户地址！"},
                    {edTelephone, "请输入用户电话！"},
                    {edPostCode, "请输入邮政编码！"}};
    for (const auto &r : required) {
        if (r.box->text().trimmed().isEmpty()) {
            Messages::warning(this, s(r.message));
            r.box->setFocus();
            return false;
        }
    }
    Dataset *info = dmMain->tblUserInfo;
    OpenDatasets({info});
    if (info->state() == Dataset::State::Browse)
        info->edit();
    info->post();
    return true;
}
