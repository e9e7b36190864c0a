#include "uAssign.h"

#include "Database.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const Busy = "正在分配资料到目标用户ID，请稍候...";

// Hides the progress window however the assignment ends.
struct HideOnExit
{
    QWidget *w;
    ~HideOnExit() { w->hide(); }
};

// The query dataset's rows of one statement, each given the new owner and posted.
void moveRows(QueryDataset *q, const QStringList &sql, const QString &param, const QString &code, const QString &target)
{
    q->close();
    q->clearSql();
    q->clearParams();
    q->setSql(sql);
    q->setParam(param, code);
    q->open();
    for (q->first(); !q->isEof(); q->next()) {
        q->edit();
        q->field(s("sUser")).setValue(target);
        q->post();
    }
}

}  // namespace

TfrmUpdate::TfrmUpdate(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmUpdate"));
    setWindowTitle(s(Busy));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    auto *label = new QLabel(s(Busy), this);
    label->setObjectName(s("lblBusy"));
    layout->addWidget(label);
    setFixedSize(sizeHint().expandedTo(QSize(320, 70)));
}

TfrmAssign::TfrmAssign(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmAssign"));
    setWindowTitle(s("客户业务工作分配"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    const auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(s(name));
        c->setEditable(true);
        c->setMinimumWidth(150);
        return c;
    };
    m_content = combo("cbContent");
    m_content->addItems({s("客户资料"), s("业务资料")});
    m_source = combo("cbSource");
    m_target = combo("cbTarget");
    const auto labelled = [&](const char *caption, QComboBox *box, int row) {
        auto *l = new QLabel(s(caption), this);
        l->setBuddy(box);
        grid->addWidget(l, row, 0);
        grid->addWidget(box, row, 1);
    };
    labelled("请选择具体内容：", m_content, 0);
    labelled("请选择原用户ID：", m_source, 1);
    labelled("分配给目标用户ID：", m_target, 2);

    m_left = new QListWidget(this);
    m_left->setObjectName(s("lbSource"));
    m_right = new QListWidget(this);
    m_right->setObjectName(s("lbTarget"));
    m_left->setAccessibleName(s("原用户资料"));
    m_right->setAccessibleName(s("待分配资料"));
    const auto button = [this](const char *caption, const char *name) {
        auto *b = new QPushButton(s(caption), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        m_buttons << b;
        return b;
    };
    QPushButton *refresh = button("刷    新", "btnRefresh");
    QPushButton *all = button(">>", "btnAllRight");
    QPushButton *one = button(">", "btnOneRight");
    QPushButton *allBack = button("<<", "btnAllLeft");
    QPushButton *oneBack = button("<", "btnOneLeft");
    QPushButton *run = button("确认分配", "btnAssign");
    QPushButton *close = button("关闭", "btnClose");
    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton *b : {all, one, allBack, oneBack})
        middle->addWidget(b);
    middle->addStretch(1);
    auto *lists = new QHBoxLayout;
    lists->addWidget(m_left, 1);
    lists->addLayout(middle);
    lists->addWidget(m_right, 1);
    grid->addWidget(refresh, 1, 2);
    grid->addLayout(lists, 3, 0, 1, 3);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(run);
    bottom->addWidget(close);
    grid->addLayout(bottom, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    resize(480, 420);

    m_progress = new TfrmUpdate(this);

    // The lists hold rows of the kind the content shows: another content empties them.
    connect(m_content, &QComboBox::currentTextChanged, this, [this] { clearLists(); });
    connect(refresh, &QPushButton::clicked, this, [this] { refreshList(); });
    connect(all, &QPushButton::clicked, this, [this] { moveAll(true); });
    connect(one, &QPushButton::clicked, this, [this] { moveOne(true); });
    connect(allBack, &QPushButton::clicked, this, [this] { moveAll(false); });
    connect(oneBack, &QPushButton::clicked, this, [this] { moveOne(false); });
    connect(m_left, &QListWidget::itemDoubleClicked, this, [this] { moveOne(true); });
    connect(m_right, &QListWidget::itemDoubleClicked, this, [this] { moveOne(false); });
    connect(run, &QPushButton::clicked, this, [this] { assign(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    fillUsers();
}

int TfrmAssign::execute(QWidget *parent)
{
    TfrmAssign dialog(parent);
    return Dialogs::showModal(&dialog);
}

QPushButton *TfrmAssign::button(const QString &caption) const
{
    for (QPushButton *b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TfrmAssign::fillUsers()
{
    ErrorHandler::run(this, [this] {
        Dataset *users = dmMain->tblUser;
        users->close();
        users->open();
        const int id = users->fieldIndex(s("UserID"));
        const int state = users->fieldIndex(s("State"));
        for (int i = 0; i < users->recordCount(); ++i) {
            const QString user = users->textAt(i, id);
            m_source->addItem(user);
            if (users->textAt(i, state) != u"No")
                m_target->addItem(user);
        }
        if (!CurrentUserID.isEmpty())
            users->locate(s("UserID"), {CurrentUserID}, Qt::CaseInsensitive);
    });
    m_source->setCurrentIndex(-1);
    m_target->setCurrentIndex(-1);
}

QStringList TfrmAssign::leftItems() const
{
    QStringList items;
    for (int i = 0; i < m_left->count(); ++i)
        items << m_left->item(i)->text();
    return items;
}

QStringList TfrmAssign::rightItems() const
{
    QStringList items;
    for (int i = 0; i < m_right->count(); ++i)
        items << m_right->item(i)->text();
    return items;
}

bool TfrmAssign::customersMode() const
{
    return m_content->currentText() == u"客户资料";
}

void TfrmAssign::clearLists()
{
    m_left->clear();
    m_right->clear();
}

void TfrmAssign::refreshList()
{
    clearLists();
    const QString source = m_source->currentText();
    if (source.isEmpty()) {
        Messages::warning(this, s("请选择原用户ID！"));
        m_source->setFocus();
        return;
    }
    const bool customers = customersMode();
    Dataset *d = customers ? static_cast<Dataset *>(dmMain->tblCustomers) : dmMain->tblOperates2;
    const QString key = customers ? s("CustID") : s("OperateID");
    QStringList codes;
    ErrorHandler::run(this, [&] {
        // close() stores a pending edit of the shared dataset first; a refusal stops here.
        d->close();
        d->setFilter(s("sUser='") + FilterExpression::quote(source) + s("'"));
        d->setFiltered(true);
        d->open();
        const int field = d->fieldIndex(key);
        for (int i = 0; i < d->recordCount(); ++i)
            codes << d->textAt(i, field);
    });
    m_left->addItems(codes);
}

void TfrmAssign::moveAll(bool toRight)
{
    QListWidget *from = toRight ? m_left : m_right;
    QListWidget *to = toRight ? m_right : m_left;
    if (from->count() == 0)
        return;
    to->clear();
    while (from->count() > 0)
        to->addItem(from->takeItem(0));
}

void TfrmAssign::moveOne(bool toRight)
{
    QListWidget *from = toRight ? m_left : m_right;
    QListWidget *to = toRight ? m_right : m_left;
    if (from->count() == 0)
        return;
    const QList<QListWidgetItem *> selected = from->selectedItems();
    const int row = selected.isEmpty() ? 0 : from->row(selected.first());
    to->addItem(from->takeItem(row));
}

void TfrmAssign::moveOwners(bool customers, const QStringList &codes, const QString &target)
{
    QueryDataset *q = dmMain->qryAssignUpdate;
    try {
        Transaction tx(*dmMain->database());
        for (const QString &code : codes) {
            if (customers) {
                moveRows(q, {s("select * from tblCustomers "), s(" where tblCustomers.CustID=:CustID")}, s("CustID"),
                         code, target);
                moveRows(q, {s("select * from tblLinkmans "), s(" where tblLinkmans.CustID=:CustID")}, s("CustID"),
                         code, target);
            } else {
                moveRows(q, {s("select * from tblOperates "), s(" where tblOperates.OperateID=:OperateID")},
                         s("OperateID"), code, target);
            }
        }
        q->close();
        tx.commit();
    } catch (...) {
        // The file holds none of the run's changes: no cursor keeps values it lacks.
        if (WindowKit::isEditing(q))
            q->cancel();
        try {
            q->close();
        } catch (...) {
            // Closing a browsed query writes nothing; the first error is the one to tell.
        }
        throw;
    }
}

bool TfrmAssign::assign()
{
    const QString target = m_target->currentText();
    if (target.isEmpty()) {
        Messages::warning(this, s("请选择目标用户ID！"));
        m_target->setFocus();
        return false;
    }
    const QStringList codes = rightItems();
    const bool customers = customersMode();
    bool ok = false;
    {
        HideOnExit hide{m_progress};
        m_progress->show();
        // Drawn once before the work starts; nothing the user does meanwhile is taken.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        try {
            moveOwners(customers, codes, target);
            ok = true;
        } catch (...) {
            ok = false;
        }
    }
    if (!ok) {
        Messages::warning(this, s("提醒用户：分配未成功，请重新分配！"));
        return false;
    }
    Messages::information(this, s("提醒用户：分配成功！"));
    m_right->clear();
    return true;
}
