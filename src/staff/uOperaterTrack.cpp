#include "uOperaterTrack.h"

#include "DateText.h"
#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbMaskEdit.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "ListPage.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

TfrmOperaterTrack::TfrmOperaterTrack(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmOperaterTrack"));
    setWindowTitle(s("业务员跟踪管理"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *top = new QHBoxLayout;
    QToolBar *bar = ListPage::makeToolBar(this);
    bar->setObjectName(s("trackToolBar"));
    Dataset *t = dmMain->tblOperaterTrack;
    WindowKit::ToolRow row(bar, this, QString());
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { reject(); });
    Act_Modify = row.add("Act_Modify", s("修改"), "", "Ctrl+A", [this, t] {
        // A query that found nothing leaves nothing to change: no blank contact record is started.
        if (t->isActive() && t->isEmpty())
            return;
        t->edit();
        m_memo->setFocus();
    });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", [t] { t->post(); });
    Act_Query = row.add("Act_Query", s("查询"), "", "", [this] { TfrmOpTrackQuery::execute(this); });
    top->addWidget(bar);
    auto *navigator = new DbNavigator(this);
    navigator->setObjectName(s("navTrack"));
    navigator->bind(dmMain->dsOperaterTrack);
    top->addWidget(navigator);
    top->addStretch(1);
    layout->addLayout(top);
    layout->addWidget(buildDetail());

    auto *tabs = new QTabWidget(this);
    m_grid = new DbGrid;
    m_grid->setObjectName(s("gridTrack"));
    m_grid->setColumns({GridColumn::centred(s("客户代码"), s("CustID"), 80), GridColumn::text(s("客户名称"), s("CustName"), 140),
                        GridColumn::text(s("联系日期"), s("LinkDate"), 85), GridColumn::text(s("联系时间"), s("LinkTime"), 70),
                        GridColumn::text(s("联系人"), s("Linkman"), 70), GridColumn::text(s("职务"), s("Duty"), 70),
                        GridColumn::text(s("联系方式"), s("LinkType"), 85), GridColumn::text(s("联系内容"), s("LinkContent"), 140),
                        GridColumn::money(s("费用开销"), s("Charge"), 75), GridColumn::text(s("地点"), s("Address"), 100),
                        GridColumn::text(s("业务员"), s("Operater"), 70), GridColumn::text(s("备注"), s("Memo"), 160)});
    m_grid->setDataSource(dmMain->dsOperaterTrack);
    tabs->addTab(m_grid, s("业务员[客户接触]情况列表"));
    layout->addWidget(tabs, 1);
    resize(900, 600);
    m_memo->setFocus();
}

QWidget *TfrmOperaterTrack::buildDetail()
{
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    DataSource *src = dmMain->dsOperaterTrack;
    const auto place = [&](const char *label, const char *field, QWidget *w, int row, int column, int span = 1) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), box);
        l->setBuddy(w);
        grid->addWidget(l, row, column * 2);
        grid->addWidget(w, row, column * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), w);
    };
    const auto text = [&](const char *label, const char *field, int row, int column, int span = 1) {
        auto *e = new DbEdit(box);
        e->bind(src, s(field));
        e->setReadOnly(true);
        place(label, field, e, row, column, span);
    };
    text("客户代码：", "CustID", 0, 0);
    text("客户名称：", "CustName", 0, 1);
    text("业 务 员：", "Operater", 0, 2);
    auto *date = new DbDateEdit(box);
    date->bind(src, s("LinkDate"));
    date->setReadOnly(true);
    place("联系日期：", "LinkDate", date, 1, 0);
    auto *time = new DbMaskEdit(s("##:##:##"), box);
    time->bind(src, s("LinkTime"));
    time->setReadOnly(true);
    place("联系时间：", "LinkTime", time, 1, 1);
    auto *type = new DbComboBox(box);
    type->addItems({s("电话联系"), s("登门拜访"), s("电子邮件联系"), s("应邀上门"), s("招待客户")});
    type->bind(src, s("LinkType"));
    type->setReadOnly(true);
    place("联系方式：", "LinkType", type, 1, 2);
    text("联 系 人：", "Linkman", 2, 0);
    text("职　　务：", "Duty", 2, 1);
    text("联系内容：", "LinkContent", 2, 2);
    text("地　　点：", "Address", 3, 0);
    auto *charge = new DbNumberEdit(box);
    charge->bind(src, s("Charge"));
    charge->setReadOnly(true);
    charge->setCalculatorVisible(false);
    place("费用开销：", "Charge", charge, 3, 1);
    m_memo = new DbMemo(box);
    m_memo->bind(src, s("Memo"));
    m_memo->setMaximumHeight(54);
    place("备    注：", "Memo", m_memo, 4, 0, 3);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    return box;
}

int TfrmOperaterTrack::execute(QWidget *parent)
{
    TfrmOperaterTrack window(parent);
    return Dialogs::showModal(&window);
}

void TfrmOperaterTrack::reject()
{
    Dataset *t = dmMain->tblOperaterTrack;
    if (t->isActive() && WindowKit::isEditing(t) && !ErrorHandler::run(this, [t] { t->post(); }))
        return;
    QDialog::reject();
}

TfrmOpTrackQuery::TfrmOpTrackQuery(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmOpTrackQuery"));
    setWindowTitle(s("查询"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    m_byDate = new QRadioButton(s("按时间查询"), this);
    m_byDate->setObjectName(s("rbDate"));
    m_date = new QDateEdit(QDate::currentDate(), this);
    m_date->setObjectName(s("edDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(DateText::shortDateFormat());
    m_byOther = new QRadioButton(s("按其它条件查询"), this);
    m_byOther->setObjectName(s("rbOther"));
    m_kind = new QComboBox(this);
    m_kind->setObjectName(s("cbKind"));
    m_kind->setEditable(true);
    m_kind->addItems({s("按客户代码查询"), s("按联系人查询")});
    m_text = new QLineEdit(this);
    m_text->setObjectName(s("edText"));
    auto *hint = new QLabel(s("附加条件（如果未输入为全部）："), this);
    hint->setBuddy(m_text);
    m_byDate->setChecked(true);

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_byDate);
    dateRow->addWidget(m_date, 1);
    layout->addLayout(dateRow);
    auto *otherRow = new QHBoxLayout;
    otherRow->addWidget(m_byOther);
    otherRow->addWidget(m_kind, 1);
    layout->addLayout(otherRow);
    layout->addWidget(hint);
    layout->addWidget(m_text);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(s("确定"), this);
    m_ok->setObjectName(s("btnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(s("取消"), this);
    m_cancel->setObjectName(s("btnCancel"));
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setMinimumWidth(340);
    connect(m_ok, &QPushButton::clicked, this, [this] { run(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmOpTrackQuery::execute(QWidget *parent)
{
    TfrmOpTrackQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

QString TfrmOpTrackQuery::dayFilter(const QDate &day)
{
    return s("LinkDate=") + DateText::shortDate(day);
}

QString TfrmOpTrackQuery::textFilter(const QString &kind, const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("");
    if (kind == u"按客户代码查询")
        return s("CustID Like '%") + FilterExpression::quote(t) + s("%'");
    if (kind == u"按联系人查询")
        return s("linkman Like '%") + FilterExpression::quote(t) + s("%'");
    return {};
}

bool TfrmOpTrackQuery::run()
{
    QString filter;
    if (m_byDate->isChecked()) {
        // A date always: an empty or half-typed field falls back to the one it last held.
        filter = dayFilter(m_date->date().isValid() ? m_date->date() : QDate::currentDate());
    } else {
        filter = textFilter(m_kind->currentText(), m_text->text());
        if (filter.isNull())
            return false;
    }
    Dataset *t = dmMain->tblOperaterTrack;
    return ErrorHandler::run(this, [t, &filter] {
        // close() stores a pending remark first; a refusal stops here with the list as it was.
        t->close();
        t->setFiltered(false);
        t->setFilter(filter);
        t->setFiltered(!filter.isEmpty());
        t->open();
    });
}
