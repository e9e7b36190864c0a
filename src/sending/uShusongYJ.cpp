#include "uShusongYJ.h"

#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "Dialogs.h"
#include "FocusChain.h"
#include "ListPage.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const char *const RightCode = "603";

// A settlement belongs to a saved unit: none while there is no unit or it is unsaved.
bool hasUnit()
{
    Dataset *u = dmMain->tblShusong;
    return u->isActive() && !u->isEmpty() && !WindowKit::isEditing(u) && !u->field(s("ShusongID")).asString().isEmpty();
}

}  // namespace

TfrmShusongYJ::TfrmShusongYJ(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmShusongYJ"));
    setWindowTitle(s("佣金结算"));
    Dataset *d = dmMain->tblShusongYJ;
    DataSource *src = dmMain->dsShusongYJ;
    auto *layout = new QVBoxLayout(this);
    auto *bar = ListPage::makeToolBar(this);
    WindowKit::ToolRow row(bar, this, s(RightCode));
    Act_Add = row.add("Act_Add", "新增", "Insert", "Ctrl+A", [d] { return d->state() != Dataset::State::Insert; }, [this, d] {
        if (!hasUnit())
            return;
        OpenDatasets({d});
        d->append();
        editor(s("sNo"))->setFocus();
    });
    Act_Save = row.add("Act_Save", "保存", "", "Ctrl+S", [d] { return d->isActive() && WindowKit::isEditing(d); },
                       [this] { save(); });
    Act_Del = row.add("Act_Del", "删除", "Delete", "", {}, [this, d] {
        if (d->isActive() && !d->isEmpty() && Messages::confirmDelete(this, s("您真的要删除该佣金结算记录吗？")))
            d->remove();
    });
    Act_Close = row.add("Act_Close", "关闭", "", "", {}, [this] { closeProcedure(); });
    layout->addWidget(bar);

    auto *title = new QHBoxLayout;
    m_navigator = new DbNavigator(this);
    m_navigator->bind(src);
    // A move posts the pending row: it passes the same checks as "保存" first.
    m_navigator->setBeforeMove([this, d] { return !WindowKit::isEditing(d) || checkRequired(); });
    title->addWidget(new QLabel(s("佣金结算："), this));
    title->addWidget(m_navigator);
    title->addStretch();
    layout->addLayout(title);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    QList<QWidget *> order;
    const auto place = [&](const char *label, QWidget *w, const char *field, int r, int c, int span = 1) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), this);
        l->setBuddy(w);
        grid->addWidget(l, r, c * 2, qobject_cast<DbMemo *>(w) ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(w, r, c * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), w);
        order << w;
    };
    // The item number is written when editing ends or before the post: a partial "-" never raises.
    auto *number = new DbNumberEdit(this);
    number->setCalculatorVisible(false);
    number->bind(src, s("sNo"));
    place("子项编号：", number, "sNo", 0, 0);
    grid->addWidget(new QLabel(s("（请输入数字编码）"), this), 0, 2, 1, 2);
    auto *date = new DbDateEdit(this);
    date->bind(src, s("JDate"));
    place("结算日期：", date, "JDate", 1, 0);
    auto *handler = new DbEdit(this);
    handler->bind(src, s("Jingban"));
    place("经 办 人：", handler, "Jingban", 1, 1);
    auto *begin = new DbDateEdit(this);
    begin->bind(src, s("BeginDate"));
    place("开始日期：", begin, "BeginDate", 2, 0);
    auto *end = new DbDateEdit(this);
    end->bind(src, s("EndDate"));
    place("截止日期：", end, "EndDate", 2, 1);
    auto *fee = new DbNumberEdit(this);
    fee->bind(src, s("Jieshao"));
    place("介 绍 费：", fee, "Jieshao", 3, 0);
    auto *other = new DbNumberEdit(this);
    other->bind(src, s("Qita"));
    place("其他费用：", other, "Qita", 3, 1);
    auto *memo = new DbMemo(this);
    memo->bind(src, s("Memo"));
    memo->setMaximumHeight(90);
    place("备    注：", memo, "Memo", 4, 0, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    FocusChain::install(order, this);

    setPending(d, s("输送单位佣金结算资料尚未保存，保存吗？"), [this] { return save(); });
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
}

int TfrmShusongYJ::execute(QWidget *parent)
{
    TfrmShusongYJ dialog(parent);
    return Dialogs::showModal(&dialog);
}

bool TfrmShusongYJ::checkRequired()
{
    const auto filled = [&](const QString &field) -> bool {
        QWidget *w = editor(field);
        if (auto *d = qobject_cast<DbDateEdit *>(w))
            return !d->displayedText().isEmpty();
        if (auto *n = qobject_cast<DbNumberEdit *>(w))
            return !n->text().trimmed().isEmpty();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return !e->text().trimmed().isEmpty();
        return true;
    };
    static const std::pair<const char *, const char *> required[] = {
        {"sNo", "请输入子项编号！"}, {"JDate", "请选择输入结算日期！"}, {"Jingban", "请输入经办人！"}};
    for (const auto &[field, message] : required) {
        if (!filled(s(field))) {
            Messages::warning(this, s(message));
            editor(s(field))->setFocus();
            return false;
        }
    }
    return true;
}

bool TfrmShusongYJ::save()
{
    if (!checkRequired())
        return false;
    Dataset *d = dmMain->tblShusongYJ;
    if (!WindowKit::isEditing(d))
        d->edit();
    d->post();
    return true;
}

void TfrmShusongYJ::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    editor(s("sNo"))->setFocus();
}
