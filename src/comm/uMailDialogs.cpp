#include "uMailDialogs.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "MailMessage.h"
#include "Messages.h"
#include "SmtpClient.h"
#include "Utf8.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QSaveFile>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextEdit>
#include <QVBoxLayout>

const char *const MailHosts[6] = {"smtp.qq.com",   "smtp.163.com",  "smtp.126.com",
                                  "smtp.sina.com", "smtp.sohu.com", "smtp.aliyun.com"};

namespace {

const char *TextFilter = "文本文件(*.txt)";

QPushButton *pushButton(QWidget *parent, const char *name, const char *text)
{
    auto *b = new QPushButton(s(text), parent);
    b->setObjectName(s(name));
    b->setAutoDefault(false);
    return b;
}

// The first address of a CC or BCC text that may not be sent to; empty when all are fine.
QString badAddress(const QString &list)
{
    for (const QString &a : MailAddress::split(list))
        if (!MailAddress::isValid(a))
            return a;
    return {};
}

}  // namespace

TfrmMailMemo::TfrmMailMemo(MailMessage &message, QStringList &attachments, QWidget *parent)
    : QDialog(parent), m_message(message), m_attachments(attachments)
{
    setObjectName(s("frmMailMemo"));
    setWindowTitle(s("邮件内容"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QHBoxLayout(this);
    auto *form = new QFormLayout;
    edSubject = new QLineEdit(this);
    edSubject->setObjectName(s("edSubject"));
    edCc = new QLineEdit(this);
    edCc->setObjectName(s("edCc"));
    edBcc = new QLineEdit(this);
    edBcc->setObjectName(s("edBcc"));
    memContent = new QTextEdit(this);
    memContent->setObjectName(s("memContent"));
    memContent->setMinimumSize(420, 220);
    lstAttach = new QListWidget(this);
    lstAttach->setObjectName(s("lstAttach"));
    lstAttach->setToolTip(s("双击所选择的附件可以进行删除!"));
    lstAttach->setMaximumHeight(80);
    lstAttach->installEventFilter(this);
    form->addRow(s("主题："), edSubject);
    form->addRow(s("抄送："), edCc);
    form->addRow(s("暗送："), edBcc);
    form->addRow(s("内容："), memContent);
    form->addRow(s("附件："), lstAttach);
    layout->addLayout(form, 1);
    auto *buttons = new QVBoxLayout;
    btnAttach = pushButton(this, "btnAttach", "附件...");
    btnImport = pushButton(this, "btnImport", "导入...");
    btnSave = pushButton(this, "btnSave", "保存邮件");
    btnOk = pushButton(this, "btnOk", "确定");
    btnCancel = pushButton(this, "btnCancel", "取消");
    for (QPushButton *b : {btnAttach, btnImport, btnSave})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    // The content takes Enter for its own lines, so the chain ends by focusing it.
    FocusChain::install({edSubject, edCc, edBcc}, this, [this] { memContent->setFocus(); });
    const auto run = [this](void (TfrmMailMemo::*f)()) {
        return [this, f] { ErrorHandler::run(this, [this, f] { (this->*f)(); }); };
    };
    connect(btnAttach, &QPushButton::clicked, this, run(&TfrmMailMemo::addAttachment));
    connect(btnImport, &QPushButton::clicked, this, run(&TfrmMailMemo::importText));
    connect(btnSave, &QPushButton::clicked, this, run(&TfrmMailMemo::saveText));
    connect(btnOk, &QPushButton::clicked, this, [this] {
        if (apply())
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Deleted once the list's own double-click handling has returned.
    connect(lstAttach, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, lstAttach, [list = lstAttach] { delete list->currentItem(); }); });
}

int TfrmMailMemo::execute(MailMessage &message, QStringList &attachments, QWidget *parent)
{
    TfrmMailMemo dialog(message, attachments, parent);
    return Dialogs::showModal(&dialog);
}

void TfrmMailMemo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edSubject->setFocus();
}

bool TfrmMailMemo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstAttach && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete && lstAttach->currentItem()) {
        delete lstAttach->currentItem();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmMailMemo::addAttachment()
{
    const QString path = Dialogs::openFile(this, s("附件"));
    if (!path.isEmpty())
        lstAttach->addItem(path);
}

void TfrmMailMemo::importText()
{
    const QString path = Dialogs::openFile(this, s("导入"), QString(), s(TextFilter));
    if (path.isEmpty())
        return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        Messages::warning(this, s("无法读取文件：") + QDir::toNativeSeparators(path) + u'\n' + f.errorString());
        return;
    }
    QStringDecoder decode(QStringConverter::System);
    memContent->setPlainText(decode(f.readAll()));
}

void TfrmMailMemo::saveText()
{
    const QString chosen = Dialogs::saveFile(this, s("保存邮件"), edSubject->text(), s(TextFilter));
    if (chosen.isEmpty())
        return;
    const QString path = chosen + s(".txt");
    QStringEncoder encode(QStringConverter::System);
    QSaveFile f(path);
    QByteArray bytes = encode(memContent->toPlainText().split(u'\n').join(s("\r\n")) + s("\r\n"));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        Messages::warning(this, s("无法保存文件：") + QDir::toNativeSeparators(path) + u'\n' + f.errorString());
}

bool TfrmMailMemo::apply()
{
    if (edSubject->text().isEmpty()) {
        Messages::warning(this, s("请输入邮件主题！"));
        edSubject->setFocus();
        return false;
    }
    if (memContent->toPlainText().isEmpty()) {
        Messages::warning(this, s("请输入邮件正文！"));
        memContent->setFocus();
        return false;
    }
    const struct
    {
        QLineEdit *box;
        const char *message;
    } lists[] = {{edCc, "抄送地址不合法："}, {edBcc, "暗送地址不合法："}};
    for (const auto &l : lists) {
        const QString bad = badAddress(l.box->text());
        if (!bad.isEmpty()) {
            Messages::warning(this, s(l.message) + bad);
            l.box->setFocus();
            return false;
        }
    }
    m_message.subject = edSubject->text();
    m_message.body = memContent->toPlainText().split(u'\n');
    if (!edCc->text().trimmed().isEmpty())
        m_message.cc = MailAddress::split(edCc->text());
    if (!edBcc->text().trimmed().isEmpty())
        m_message.bcc = MailAddress::split(edBcc->text());
    for (int i = 0; i < lstAttach->count(); ++i)
        if (!lstAttach->item(i)->text().isEmpty())
            m_attachments << lstAttach->item(i)->text();
    return true;
}

TfrmMailServer::TfrmMailServer(SmtpClient &smtp, MailMessage &message, QWidget *parent)
    : QDialog(parent), m_smtp(smtp), m_message(message)
{
    setObjectName(s("frmMailServer"));
    setWindowTitle(s("服务器设置"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(12, 12, 12, 8);
    auto *form = new QFormLayout;
    cbHost = new QComboBox(this);
    cbHost->setObjectName(s("cbHost"));
    cbHost->setEditable(true);
    for (const char *h : MailHosts)
        cbHost->addItem(s(h));
    cbHost->setCurrentIndex(-1);
    cbHost->setEditText(QString());
    cbHost->setMinimumWidth(200);
    edPort = new QLineEdit(s("25"), this);
    edPort->setObjectName(s("edPort"));
    edSender = new QLineEdit(this);
    edSender->setObjectName(s("edSender"));
    edUser = new QLineEdit(this);
    edUser->setObjectName(s("edUser"));
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(s("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    edPassword->setStyleSheet(s("lineedit-password-character: 42"));
    form->addRow(s("服务器设置："), cbHost);
    form->addRow(s("端  口  号："), edPort);
    form->addRow(s("发件人地址："), edSender);
    form->addRow(s("用  户  名："), edUser);
    form->addRow(s("密      码："), edPassword);
    body->addLayout(form, 1);
    auto *buttons = new QVBoxLayout;
    btnConnect = pushButton(this, "btnConnect", "连接");
    btnDisconnect = pushButton(this, "btnDisconnect", "断开");
    btnClose = pushButton(this, "btnClose", "关闭");
    buttons->addWidget(btnConnect);
    buttons->addWidget(btnDisconnect);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    body->addLayout(buttons);
    layout->addLayout(body);
    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    lblStatus = new QLabel(status);
    lblStatus->setObjectName(s("lblStatus"));
    status->addWidget(lblStatus, 1);
    layout->addWidget(status);
    FocusChain::install({cbHost, edPort, edSender, edUser, edPassword}, this);
    connect(btnConnect, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { connectServer(); }); });
    connect(btnDisconnect, &QPushButton::clicked, this, &TfrmMailServer::disconnectServer);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

int TfrmMailServer::execute(SmtpClient &smtp, MailMessage &message, QWidget *parent)
{
    TfrmMailServer dialog(smtp, message, parent);
    return Dialogs::showModal(&dialog);
}

void TfrmMailServer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cbHost->setFocus();
}

void TfrmMailServer::setStatus(const QString &text)
{
    lblStatus->setText(text);
    statusHistory << text;
}

void TfrmMailServer::connectServer()
{
    const struct
    {
        QWidget *box;
        QString text;
        const char *message;
    } required[] = {{cbHost, cbHost->currentText(), "请输入服务器地址!"},
                    {edPort, edPort->text(), "请输入服务器端口号!"},
                    {edSender, edSender->text(), "请输入发件人地址!"},
                    {edUser, edUser->text(), "请输入用户名!"},
                    {edPassword, edPassword->text(), "请输入用户密码!"}};
    for (const auto &r : required) {
        if (r.text.trimmed().isEmpty()) {
            Messages::warning(this, s(r.message));
            r.box->setFocus();
            return;
        }
    }
    if (!edSender->text().contains(u'@')) {
        Messages::warning(this, s("您输入的邮件地址不合法!"));
        edSender->selectAll();
        edSender->setFocus();
        return;
    }
    m_message.from = edSender->text().trimmed();
    setStatus(s("准备连接到服务器!"));
    const QString host = cbHost->currentText().trimmed();
    bool ok = false;
    const int port = edPort->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        setStatus(s("无法连接到服务器!"));
        Messages::warning(this, s("无法连接到服务器!") + u'\n' + s("端口号应为 1 到 65535 的整数"));
        return;
    }
    btnConnect->setEnabled(false);
    QPointer<TfrmMailServer> self(this);
    m_smtp.connectToServer(host, port, [self, host](const QString &reason) {
        if (!self)
            return;
        self->btnConnect->setEnabled(true);
        if (!reason.isEmpty()) {
            self->setStatus(s("无法连接到服务器!"));
            Messages::warning(self, s("无法连接到服务器!") + u'\n' + reason);
            return;
        }
        self->setStatus(s("已经连接到服务器 ") + host);
        self->authenticate();
    });
}

void TfrmMailServer::authenticate()
{
    const QStringList mechanisms = m_smtp.authMechanisms();
    if (!mechanisms.contains(u"LOGIN") && !mechanisms.contains(u"PLAIN")) {
        setStatus(s("服务器不需要验证"));
        return;
    }
    setStatus(s("服务器要求验证"));
    Messages::warning(this, s("服务器要求验证"));
    setStatus(s("开始验证"));
    btnConnect->setEnabled(false);
    QPointer<TfrmMailServer> self(this);
    m_smtp.authenticate(edUser->text().trimmed(), edPassword->text().trimmed(), [self](const QString &reason) {
        if (!self)
            return;
        self->btnConnect->setEnabled(true);
        if (reason.isEmpty()) {
            self->setStatus(s("服务器验证通过!"));
        } else if (self->m_smtp.isConnected()) {
            self->setStatus(s("服务器验证失败!"));
            Messages::warning(self, s("服务器验证失败"));
        } else {
            self->setStatus(s("服务器验证失败"));
            self->m_smtp.disconnectFromServer();
            self->setStatus(s("断开连接"));
        }
    });
}

void TfrmMailServer::disconnectServer()
{
    // Also stops a connection attempt still under way.
    m_smtp.disconnectFromServer();
    btnConnect->setEnabled(true);
    setStatus(s("断开连接!"));
}
