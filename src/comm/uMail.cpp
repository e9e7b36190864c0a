#include "uMail.h"

#include "Dataset.h"
#include "QueryDataset.h"
#include "DbGrid.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "Shell.h"
#include "SmtpClient.h"
#include "Utf8.h"
#include "uLinkmanQuery.h"
#include "uMailDialogs.h"
#include "uMain.h"
#include "uPictures.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmMail *frmMail = nullptr;

namespace {
constexpr int AddressRole = Qt::UserRole;
}

TfrmMail::TfrmMail(TfrmMain *main) : QObject(main), m_main(main), m_smtp(new SmtpClient(this))
{
    frmMail = this;
    setObjectName(s("frmMail"));
    PnMain = new QWidget;
    m_panel = PnMain;
    PnMain->setObjectName(s("PnMain"));
    PnMain->setWindowTitle(s("邮件群发"));
    auto *layout = new QVBoxLayout(PnMain);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *bar = new QToolBar(PnMain);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto action = [&](const char *name, const char *text, const char *icon, void (TfrmMail::*run)()) {
        auto *a = new QAction(s(text), PnMain);
        a->setObjectName(s(name));
        a->setIcon(Pictures::commandIcon(s(icon)));
        if (run)
            connect(a, &QAction::triggered, this, [this, run] { ErrorHandler::run(PnMain, [this, run] { (this->*run)(); }); });
        bar->addAction(a);
        return a;
    };
    Act_Send = action("Act_Send", "发送", "Act_Mail", &TfrmMail::send);
    Act_Memo = action("Act_Memo", "邮件内容", "File_New", &TfrmMail::showMemo);
    Act_Query = action("Act_Query", "查询", "Act_Linkman", nullptr);
    Act_MailTool = action("Act_MailTool", "邮件工具", "Act_Envelop", &TfrmMail::mailTool);
    Act_Close = action("Act_Close", "关闭", "Act_Quit", nullptr);
    Act_Server = action("Act_Server", "服务器设置", "Tool_SysInfo", &TfrmMail::showServer);
    layout->addWidget(bar);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(6, 0, 6, 6);
    auto *contacts = new QGroupBox(s("联系人列表"), PnMain);
    auto *cl = new QVBoxLayout(contacts);
    grdLinkmans = new DbGrid(contacts);
    grdLinkmans->setObjectName(s("grdLinkmans"));
    grdLinkmans->setColumns({GridColumn::text(s("公司代码"), s("CustID"), 90),
                             GridColumn::text(s("公司名称"), s("CustName"), 200),
                             GridColumn::text(s("联系人"), s("Name"), 80),
                             GridColumn::text(s("Email"), s("Email"), 180)});
    grdLinkmans->setDataSource(dmMain->dsLinkmans3);
    cl->addWidget(grdLinkmans);
    body->addWidget(contacts, 3);

    auto *middle = new QVBoxLayout;
    middle->addStretch();
    const auto button = [&](const char *name, const char *text, const char *hint) {
        auto *b = new QPushButton(s(text), PnMain);
        b->setObjectName(s(name));
        b->setToolTip(s(hint));
        b->setAccessibleName(s(hint));
        b->setFixedWidth(44);
        middle->addWidget(b);
        return b;
    };
    btnAdd = button("btnAdd", ">", "加入待发送列表");
    btnAddAll = button("btnAddAll", ">>", "全部加入待发送列表");
    btnRemove = button("btnRemove", "<", "从待发送列表移去");
    btnRemoveAll = button("btnRemoveAll", "<<", "清空待发送列表");
    middle->addStretch();
    body->addLayout(middle);

    auto *right = new QVBoxLayout;
    auto *pending = new QGroupBox(s("待发送邮件列表"), PnMain);
    auto *pl = new QVBoxLayout(pending);
    lstPending = new QListWidget(pending);
    lstPending->setObjectName(s("lstPending"));
    lstPending->setUniformItemSizes(true);  // the whole contact list may go in
    pl->addWidget(lstPending);
    right->addWidget(pending, 3);
    auto *failed = new QGroupBox(s("发送失败邮件列表"), PnMain);
    auto *fl = new QVBoxLayout(failed);
    lstFailed = new QListWidget(failed);
    lstFailed->setObjectName(s("lstFailed"));
    fl->addWidget(lstFailed);
    right->addWidget(failed, 2);
    auto *progress = new QHBoxLayout;
    lblProgress = new QLabel(PnMain);
    barProgress = new QProgressBar(PnMain);
    btnCancel = new QPushButton(s("取消"), PnMain);
    btnCancel->setObjectName(s("btnCancel"));
    progress->addWidget(lblProgress);
    progress->addWidget(barProgress, 1);
    progress->addWidget(btnCancel);
    right->addLayout(progress);
    body->addLayout(right, 2);
    layout->addLayout(body, 1);
    setBusy(false);

    connect(btnAdd, &QPushButton::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { addCurrent(true); }); });
    connect(grdLinkmans->view(), &QAbstractItemView::doubleClicked, this,
            [this] { ErrorHandler::run(PnMain, [this] { addCurrent(false); }); });
    connect(btnAddAll, &QPushButton::clicked, this, [this] { ErrorHandler::run(PnMain, [this] { addAll(); }); });
    connect(btnRemove, &QPushButton::clicked, this, &TfrmMail::removeSelected);
    // Double-clicked items go once the list's own signal has returned: it still uses them.
    connect(lstPending, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, this, &TfrmMail::removeSelected); });
    connect(btnRemoveAll, &QPushButton::clicked, lstPending, &QListWidget::clear);
    connect(lstFailed, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, lstFailed, [list = lstFailed] { delete list->currentItem(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &TfrmMail::cancelBatch);
    connect(Act_Query, &QAction::triggered, this, [this] {
        ErrorHandler::run(PnMain, [this] {
            WriteLog(s("工具-邮件群发-查询"));
            TfrmLinkmanQuery::execute(PnMain);
        });
    });
    connect(Act_Close, &QAction::triggered, this, [this] {
        if (!m_main)
            return;
        m_main->setNavigationVisible(true);
        m_main->selectTab(s("业务管理"));
        m_main->showSchedulePage();
    });
}

TfrmMail::~TfrmMail()
{
    if (m_panel && !m_panel->parent())
        delete m_panel;
    if (frmMail == this)
        frmMail = nullptr;
}

void TfrmMail::open()
{
    OpenDatasets({dmMain->tblCustomers2});
    Dataset *q = dmMain->qryLinkmans3;
    q->close();
    static_cast<QueryDataset *>(q)->setSql({s("select * from tblLinkmans")});
    q->open();
}

void TfrmMail::addCurrent(bool move)
{
    Dataset *q = dmMain->qryLinkmans3;
    if (!q->isActive() || q->isEmpty())
        return;
    lstPending->addItem(q->field(s("Email")).asString());
    if (move)
        q->next();
}

void TfrmMail::addAll()
{
    Dataset *q = dmMain->qryLinkmans3;
    lstPending->clear();
    if (!q->isActive())
        return;
    const int email = q->fieldIndex(s("Email"));
    const int count = q->recordCount();
    QStringList all;
    all.reserve(count);
    for (int row = 0; row < count; ++row)
        all << q->textAt(row, email);
    lstPending->addItems(all);
}

void TfrmMail::removeSelected()
{
    if (m_sending)
        return;
    const QList<QListWidgetItem *> chosen = lstPending->selectedItems();
    if (!chosen.isEmpty())
        delete chosen.first();
}

QStringList TfrmMail::failedAddresses() const
{
    QStringList out;
    for (int i = 0; i < lstFailed->count(); ++i)
        out << lstFailed->item(i)->data(AddressRole).toString();
    return out;
}

void TfrmMail::showMemo()
{
    WriteLog(s("工具-邮件群发-邮件内容"));
    TfrmMailMemo::execute(m_message, m_attachments, PnMain);
}

void TfrmMail::showServer()
{
    WriteLog(s("工具-邮件群发-服务器设置"));
    TfrmMailServer::execute(*m_smtp, m_message, PnMain);
}

void TfrmMail::send()
{
    WriteLog(s("工具-邮件群发-发送"));
    if (m_sending)
        return;
    if (m_message.subject.isEmpty()) {
        Messages::warning(PnMain, s("请输入邮件主题!"));
        TfrmMailMemo::execute(m_message, m_attachments, PnMain);
        return;
    }
    if (m_message.body.join(QString()).isEmpty()) {
        Messages::warning(PnMain, s("请输入邮件正文!"));
        TfrmMailMemo::execute(m_message, m_attachments, PnMain);
        return;
    }
    if (!m_smtp->isConnected()) {
        Messages::warning(PnMain, s("未连接到服务器!"));
        TfrmMailServer::execute(*m_smtp, m_message, PnMain);
        return;
    }
    if (m_message.from.isEmpty()) {
        Messages::warning(PnMain, s("请输入发件人地址!"));
        TfrmMailServer::execute(*m_smtp, m_message, PnMain);
        return;
    }
    // Every attachment is read before the first send, so no entry gets a partial message.
    m_loaded.clear();
    for (const QString &path : m_attachments) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            Messages::warning(PnMain, s("附件无法读取：") + QDir::toNativeSeparators(path));
            m_loaded.clear();
            return;
        }
        m_loaded.append({QFileInfo(path).fileName(), f.readAll()});
    }
    lstFailed->clear();
    m_batch.clear();
    for (int i = 0; i < lstPending->count(); ++i)
        m_batch << lstPending->item(i)->text();
    m_next = 0;
    setBusy(true);
    sendNext();
}

void TfrmMail::sendNext()
{
    if (!m_sending)
        return;
    if (m_next >= m_batch.size()) {
        endBatch();
        return;
    }
    const int index = m_next++;
    lblProgress->setText(s("正在发送 第 %1 封，共 %2 封").arg(index + 1).arg(m_batch.size()));
    barProgress->setValue(index);
    const QString entry = m_batch.at(index).trimmed();
    if (!MailAddress::isValid(entry)) {
        failEntry(m_batch.at(index), s("不是有效的邮件地址"));
        Messages::warning(PnMain, m_batch.at(index) + s(" 发送失败!") + u'\n' + s("不是有效的邮件地址"));
        QTimer::singleShot(0, this, &TfrmMail::sendNext);
        return;
    }
    MailMessage one = m_message;
    one.to = entry;
    const QByteArray bytes = one.toBytes(m_loaded);
    const QStringList recipients = QStringList{entry} + m_message.cc + m_message.bcc;
    m_smtp->send(m_message.from, recipients, bytes, [this, index](const QString &reason) {
        if (!m_sending)
            return;
        if (reason.isEmpty()) {
            sendNext();
            return;
        }
        const QString entry = m_batch.at(index);
        failEntry(entry, reason);
        if (!m_smtp->isConnected()) {
            // The connection is gone: one warning, and the rest are listed untried.
            for (int i = m_next; i < m_batch.size(); ++i)
                failEntry(m_batch.at(i), reason);
            m_next = int(m_batch.size());
        }
        Messages::warning(PnMain, entry + s(" 发送失败!") + u'\n' + reason);
        sendNext();
    });
}

void TfrmMail::failEntry(const QString &entry, const QString &reason)
{
    auto *item = new QListWidgetItem(entry + s("  —  ") + reason);
    item->setData(AddressRole, entry);
    lstFailed->addItem(item);
}

void TfrmMail::cancelBatch()
{
    if (!m_sending)
        return;
    m_smtp->disconnectFromServer();  // drops the reply the send waits for
    for (int i = qMax(0, m_next - 1); i < m_batch.size(); ++i)
        failEntry(m_batch.at(i), s("已取消"));
    m_next = int(m_batch.size());
    endBatch();
}

void TfrmMail::endBatch()
{
    m_sending = false;
    m_smtp->disconnectFromServer();
    m_loaded.clear();
    setBusy(false);
}

void TfrmMail::setBusy(bool busy)
{
    m_sending = busy;
    for (QAction *a : {Act_Send, Act_Memo, Act_Query, Act_MailTool, Act_Close, Act_Server})
        a->setEnabled(!busy);
    for (QPushButton *b : {btnAdd, btnAddAll, btnRemove, btnRemoveAll})
        b->setEnabled(!busy);
    lblProgress->setVisible(busy);
    barProgress->setVisible(busy);
    btnCancel->setVisible(busy);
    barProgress->setRange(0, qMax(1, int(m_batch.size())));
    barProgress->setValue(0);
}

void TfrmMail::mailTool()
{
    if (m_message.subject.isEmpty()) {
        Messages::warning(PnMain, s("请输入邮件主题!"));
        TfrmMailMemo::execute(m_message, m_attachments, PnMain);
        return;
    }
    if (m_message.body.join(QString()).isEmpty()) {
        Messages::warning(PnMain, s("请输入邮件内容!"));
        TfrmMailMemo::execute(m_message, m_attachments, PnMain);
        return;
    }
    Dataset *q = dmMain->qryLinkmans3;
    const QString address = q->isActive() && !q->isEmpty() ? q->field(s("Email")).asString() : QString();
    Shell::open(Shell::mailto(address, m_message.subject, m_message.body.join(s("\r\n"))));
}
