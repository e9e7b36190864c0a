#include "uLogin.h"

#include "CentreOnScreen.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "PasswordHash.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmLogin::TfrmLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Brimwell2003(通用版)"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 20, 24, 12);
    outer->setSpacing(12);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);
    m_user = new QComboBox(this);
    m_user->setEditable(true);
    m_user->setObjectName(QStringLiteral("cbUser"));
    m_user->setMinimumWidth(200);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *userLabel = new QLabel(QStringLiteral("用户ID："), this);
    userLabel->setBuddy(m_user);
    auto *passwordLabel = new QLabel(QStringLiteral("口  令："), this);
    passwordLabel->setBuddy(m_password);
    // Right-aligned, so the two colons stand one above the other.
    userLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    passwordLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(userLabel, 0, 0);
    grid->addWidget(m_user, 0, 1);
    grid->addWidget(passwordLabel, 1, 0);
    grid->addWidget(m_password, 1, 1);
    outer->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    outer->addLayout(buttons);

    auto *hint = new QLabel(QStringLiteral("第一次使用：用户ID：Admin  口令：482716"), this);
    hint->setObjectName(QStringLiteral("lbHint"));
    hint->setAlignment(Qt::AlignCenter);
    outer->addWidget(hint);

    connect(m_ok, &QPushButton::clicked, this, &TfrmLogin::tryLogin);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmLogin::reject);
    // Enter in the user box goes to the password; Enter in the password box is OK.
    FocusChain::install({m_user, m_password}, this, [this] { tryLogin(); });
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen::install(this);
}

void TfrmLogin::prepare()
{
    m_failures = 0;
    m_outcome = Outcome::Pending;
    m_user->clear();
    ErrorHandler::run(this, [this] {
        Dataset *users = dmMain->tblUser;
        users->close();
        users->open();
        // Table order; "No" (exactly) keeps a user out of the list, not out of the program.
        for (users->first(); !users->isEof(); users->next())
            if (users->field(QStringLiteral("State")).asString() != u"No")
                m_user->addItem(users->field(QStringLiteral("UserID")).asString());
    });
    m_user->setEditText(QString());
    m_password->clear();
    m_user->setFocus();
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    prepare();
    QDialog::showEvent(event);
}

void TfrmLogin::tryLogin()
{
    const QString user = m_user->currentText();
    if (user.isEmpty()) {
        Messages::warning(this, QStringLiteral("请选择要登录的用户名称！"));
        m_user->setFocus();
        return;
    }
    bool found = false;
    ErrorHandler::run(this, [&] {
        Dataset *users = dmMain->tblUser;
        if (!users->isActive())
            users->open();
        // The ID without regard to letter case; the password exactly as typed.
        found = users->locate(QStringLiteral("UserID"), {user}, Qt::CaseInsensitive)
            && PasswordHash::verify(m_password->text(), users->field(QStringLiteral("Password")).asString());
    });
    if (found) {
        CurrentUserID = user;
        m_outcome = Outcome::LoggedIn;
        if (m_onSuccess)
            m_onSuccess();
        accept();
        return;
    }
    ++m_failures;
    if (m_failures > 3) {
        Messages::warning(this, QStringLiteral("对不起，请与系统管理员联系！"));
        m_outcome = Outcome::TooManyFailures;
        QDialog::reject();
        return;
    }
    Messages::warning(this, QStringLiteral("口令输入错误，请重新输入！"));
    m_password->selectAll();
    m_password->setFocus();
}

void TfrmLogin::reject()
{
    if (m_outcome == Outcome::Pending)
        m_outcome = Outcome::Cancelled;
    QDialog::reject();
}
