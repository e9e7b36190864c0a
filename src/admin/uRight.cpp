#include "uRight.h"

#include "Dataset.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "QueryDataset.h"
#include "RightCodes.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct SubColumn
{
    int flag;
    const char *column;
    const char *caption;
};
const SubColumn SubColumns[] = {{RightCode::Insert, "Insert", "新增"},
                                {RightCode::Modify, "Modify", "修改"},
                                {RightCode::Delete, "Delete", "删除"},
                                {RightCode::Query, "Query", "查询"},
                                {RightCode::Print, "Print", "打印"}};

QStringList range(int from, int to)
{
    QStringList out;
    for (int c = from; c <= to; ++c)
        out << QString::number(c);
    return out;
}

// The order the rows are written in; 502 is not among them.
QStringList saveOrder()
{
    QStringList order = range(101, 107) + range(202, 212);
    order << s("301") << s("302") << s("304") << s("305") << s("306") << s("307");
    order += range(401, 414);
    order << s("501") << s("503") << s("303") << s("601") << s("201") << s("602") << s("603") << s("604") << s("605");
    return order;
}

}  // namespace

TfrmRight::TfrmRight(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmRight"));
    setWindowTitle(s("权限分配"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    const auto shown = [&](const char *label, QLineEdit *&edit, const char *name) {
        edit = new QLineEdit(this);
        edit->setObjectName(s(name));
        edit->setReadOnly(true);
        auto *l = new QLabel(s(label), this);
        l->setBuddy(edit);
        top->addWidget(l);
        top->addWidget(edit);
    };
    shown("用户ID：", m_id, "edUserID");
    shown("用户名称：", m_name, "edUserName");
    top->addStretch();
    auto *save = new QPushButton(s("保存"), this);
    save->setObjectName(s("btnSave"));
    save->setAutoDefault(false);
    auto *close = new QPushButton(s("关闭"), this);
    close->setObjectName(s("btnClose"));
    close->setAutoDefault(false);
    top->addWidget(save);
    top->addWidget(close);
    layout->addLayout(top);
    connect(save, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { this->save(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(s("rightTabs"));
    addTab(s("系统设置"), range(101, 107), {});
    addTab(s("内部管理"), {s("303"), s("201"), s("601"), s("602"), s("604"), s("605"), s("603")}, {});
    addTab(s("基础资料"), range(202, 212), {});
    addTab(s("客户业务管理"), {s("301"), s("302"), s("304"), s("305"), s("306"), s("307")}, {});
    addTab(s("图表分析"), range(401, 414), {s("408")});
    addTab(s("工具"), {s("501"), s("502"), s("503")}, {s("502")});
    layout->addWidget(m_tabs, 1);
    setFixedSize(600, 520);
}

QCheckBox *TfrmRight::addTab(const QString &caption, const QStringList &codes, const QStringList &outsideSelectAll)
{
    auto *page = new QWidget(m_tabs);
    page->setObjectName(caption);
    auto *grid = new QGridLayout(page);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    // Sub-right columns only where a code of the tab has them.
    int present = 0;
    for (const QString &code : codes)
        if (const RightCode *r = RightCodes::find(code))
            present |= r->subRights;
    QHash<int, int> columnOf;
    int next = 1;
    for (const SubColumn &c : SubColumns)
        if (present & c.flag) {
            auto *heading = new QLabel(s(c.caption), page);
            heading->setAlignment(Qt::AlignCenter);
            grid->addWidget(heading, 0, next);
            columnOf.insert(c.flag, next++);
        }
    int row = 1;
    QList<QCheckBox *> covered;
    for (const QString &code : codes) {
        const RightCode *r = RightCodes::find(code);
        if (!r)
            continue;
        auto *box = new QCheckBox(r->name, page);
        box->setObjectName(s("chk") + code);
        m_codes.insert(code, box);
        QList<QCheckBox *> subs;
        for (const SubColumn &c : SubColumns) {
            if (!(r->subRights & c.flag))
                continue;
            auto *sub = new QCheckBox(page);
            sub->setObjectName(s("chk") + code + s(c.column));
            sub->setAccessibleName(r->name + u' ' + s(c.caption));
            sub->setToolTip(r->name + u' ' + s(c.caption));
            grid->addWidget(sub, row, columnOf.value(c.flag), Qt::AlignCenter);
            m_subs.insert(code + u'/' + s(c.column).toLower(), sub);
            subs << sub;
            if (r->hidden)
                sub->hide();
        }
        // Unticking a code clears its sub-rights.
        connect(box, &QCheckBox::toggled, this, [subs](bool on) {
            if (!on)
                for (QCheckBox *sub : subs)
                    sub->setChecked(false);
        });
        if (r->hidden) {
            box->hide();  // present, so its row is kept by "全部选择" where it covers it, but not shown
        } else {
            grid->addWidget(box, row++, 0);
        }
        if (!outsideSelectAll.contains(code))
            covered << box << subs;
    }
    grid->setRowStretch(row, 1);
    // Names in a column of their own width, the sub-rights close beside them.
    grid->setColumnMinimumWidth(0, 180);
    for (int c = 1; c < next; ++c)
        grid->setColumnMinimumWidth(c, 48);
    grid->setColumnStretch(next, 1);
    auto *all = new QCheckBox(s("全部选择"), page);
    all->setObjectName(s("chkAll") + caption);
    grid->addWidget(all, row + 1, 0);
    connect(all, &QCheckBox::toggled, this, [covered](bool on) {
        for (QCheckBox *b : covered)
            b->setChecked(on);
    });
    m_selectAll.insert(caption, all);
    m_tabs->addTab(page, caption);
    return all;
}

int TfrmRight::execute(QWidget *parent)
{
    TfrmRight dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmRight::shownUserId() const
{
    return m_id->text();
}

void TfrmRight::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ErrorHandler::run(this, [this] { load(); });
}

void TfrmRight::load()
{
    Dataset *users = dmMain->tblUser;
    OpenDatasets({users});
    const bool any = !users->isEmpty();
    m_id->setText(any ? users->field(s("UserID")).asString() : QString());
    m_name->setText(any ? users->field(s("UserName")).asString() : QString());
    m_system = any && users->field(s("Sys")).asBoolean();
    Dataset *rights = dmMain->tblUserRight;
    rights->close();
    rights->open();
    for (auto it = m_codes.cbegin(); it != m_codes.cend(); ++it) {
        const QString code = it.key();
        const bool held = any && rights->locate(s("Userid;Rightid"), {m_id->text(), code});
        it.value()->setChecked(held);
        for (const SubColumn &c : SubColumns)
            if (QCheckBox *sub = subBox(code, s(c.column)))
                sub->setChecked(held && rights->field(s(c.column)).asBoolean());
    }
}

void TfrmRight::save()
{
    WriteLog(s("系统设置-用户管理-权限分配-保存"));
    const QString id = m_id->text();
    if (id.isEmpty())
        return;
    if (m_system)
        return;  // a system user holds every right: its rows are not rewritten
    Dataset *rights = dmMain->tblUserRight;
    // Whatever happens, the right tests read what the file holds afterwards.
    struct Reopen
    {
        Dataset *d;
        ~Reopen()
        {
            try {
                if (d->state() == Dataset::State::Insert || d->state() == Dataset::State::Edit)
                    d->cancel();  // the row that failed: never posted by the close
                d->close();
                d->open();
            } catch (...) {
                // The error being reported already tells what went wrong.
            }
        }
    } reopen{rights};
    OpenDatasets({rights});
    Transaction tx(*dmMain->database());
    QueryDataset *del = dmMain->qryDelUserRight;
    del->setParam(s("userID"), id);
    del->exec();
    rights->close();
    rights->open();
    for (const QString &code : saveOrder()) {
        QCheckBox *box = codeBox(code);
        if (!box || !box->isChecked())
            continue;
        rights->append();
        rights->field(s("Userid")).setValue(id);
        rights->field(s("Rightid")).setValue(code);
        for (const SubColumn &c : SubColumns) {
            QCheckBox *sub = subBox(code, s(c.column));
            rights->field(s(c.column)).setValue(sub && sub->isChecked());
        }
        rights->post();
    }
    tx.commit();
}
