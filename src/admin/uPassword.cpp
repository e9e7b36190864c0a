#include "uPassword.h"

#include "Dataset.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "PasswordHash.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPassword::TfrmPassword(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmPassword"));
    setWindowTitle(s("口令设置"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    form->setContentsMargins(12, 12, 12, 4);
    form->setVerticalSpacing(10);
    const auto box = [&](const char *label, const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(s(name));
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(s("lineedit-password-character: 42"));  // shown as "*"
        e->setMinimumWidth(180);
        form->addRow(s(label), e);
        return e;
    };
    edOld = box("旧口令：", "edOld");
    edNew = box("新口令：", "edNew");
    edConfirm = box("确认口令：", "edConfirm");
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSave = new QPushButton(s("保存"), this);
    btnSave->setObjectName(s("btnSave"));
    btnSave->setAutoDefault(false);
    btnCancel = new QPushButton(s("取消"), this);
    btnCancel->setObjectName(s("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    FocusChain::install({edOld, edNew, edConfirm, btnSave}, this);
    connect(btnSave, &QPushButton::clicked, this, [this] {
        bool saved = false;
        ErrorHandler::run(this, [&] { saved = save(); });
        if (saved)
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

int TfrmPassword::execute(QWidget *parent)
{
    TfrmPassword dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edOld->setFocus();
}

bool TfrmPassword::save()
{
    Dataset *users = dmMain->tblUser;
    OpenDatasets({users});
    if (edOld->text().isEmpty()) {
        Messages::warning(this, s("对不起，请输入旧口令！"));
        edOld->selectAll();
        edOld->setFocus();
        return false;
    }
    // The login's rule: the ID in any letter case, the exact text against the stored hash.
    if (!users->locate(s("UserID"), {CurrentUserID}, Qt::CaseInsensitive)
        || !PasswordHash::verify(edOld->text(), users->field(s("Password")).asString())) {
        Messages::warning(this, s("对不起，输入的旧口令不正确！"));
        edOld->selectAll();
        edOld->setFocus();
        return false;
    }
    if (edNew->text().isEmpty()) {
        Messages::warning(this, s("对不起，请输入新口令！"));
        edNew->setFocus();
        return false;
    }
    if (edConfirm->text().isEmpty()) {
        Messages::warning(this, s("对不起，请输入确认口令！"));
        edConfirm->setFocus();
        return false;
    }
    if (edNew->text() != edConfirm->text()) {
        Messages::warning(this, s("对不起，输入的确认口令与新口令不一致！"));
        edConfirm->clear();
        edConfirm->setFocus();
        return false;
    }
    if (!users->locate(s("UserID"), {CurrentUserID}, Qt::CaseInsensitive))
        return false;
    users->edit();
    users->field(s("Password")).setValue(PasswordHash::make(edNew->text()));
    users->post();
    Messages::information(this, s("口令修改成功！"));
    return true;
}
