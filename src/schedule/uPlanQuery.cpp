#include "uPlanQuery.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Utf8.h"
#include "udmMain.h"

#include <QDate>
#include <QDateEdit>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPlanQuery::TfrmPlanQuery(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmPlanQuery"));
    setWindowTitle(s("日程查询"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(s("按起止时间查询："), this);
    auto *form = new QFormLayout(group);
    const auto dateEdit = [&](const char *name, int days) {
        auto *e = new QDateEdit(QDate::currentDate().addDays(days), group);
        e->setObjectName(s(name));
        e->setCalendarPopup(true);
        e->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        return e;
    };
    m_start = dateEdit("edStart", -7);
    m_end = dateEdit("edEnd", 7);
    form->addRow(s("起始时间："), m_start);
    form->addRow(s("截止时间："), m_end);
    layout->addWidget(group);
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const char *name, const char *text) {
        auto *b = new QPushButton(s(text), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch();
    m_ok = button("btnOk", "确定");
    m_ok->setDefault(true);
    m_cancel = button("btnCancel", "取消");
    m_all = button("btnAll", "查询全部");
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TfrmPlanQuery::queryRange);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_all, &QPushButton::clicked, this, &TfrmPlanQuery::queryAll);
}

int TfrmPlanQuery::execute(QWidget *parent)
{
    TfrmPlanQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmPlanQuery::queryRange()
{
    const QDate from = m_start->date();
    const QDate to = m_end->date();
    const bool ok = ErrorHandler::run(this, [from, to] {
        QueryDataset *plan = dmMain->qryPlan;
        plan->close();  // posts a pending entry first; a refusal raises with nothing changed
        plan->setSql({s("select * from tblPlan "), s(" where PlanDate between :planDate1 and :planDate2 ")});
        plan->setFiltered(false);
        plan->setParam(s("planDate1"), QDateTime(from, QTime(0, 0)));
        plan->setParam(s("planDate2"), QDateTime(to, QTime(0, 0)));
        plan->open();
    });
    if (ok)
        accept();
}

void TfrmPlanQuery::queryAll()
{
    const bool ok = ErrorHandler::run(this, [] {
        QueryDataset *plan = dmMain->qryPlan;
        plan->close();
        plan->setSql({s("select * from tblPlan")});
        plan->setFiltered(false);
        plan->open();
    });
    if (ok)
        accept();
}
