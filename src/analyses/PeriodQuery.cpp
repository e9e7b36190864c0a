#include "PeriodQuery.h"

#include "AnalysisRun.h"
#include "AnalysisText.h"
#include "DateText.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "Utf8.h"
#include "udmMain.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const QuarterNames[] = {"第一季度", "第二季度", "第三季度", "第四季度"};

// " and month(CreateDate)>=4 and month(CreateDate)<=6" for the second quarter.
QString monthLine(int quarter, const QString &prefix = {})
{
    return QStringLiteral(" and month(%1CreateDate)>=%2 and month(%1CreateDate)<=%3")
        .arg(prefix)
        .arg(3 * quarter - 2)
        .arg(3 * quarter);
}

QString direction(bool income)
{
    return income ? s(" and InorOut='收款'") : s(" and InorOut='付款'");
}

// The pie of amounts per customer over one period.
void periodChart(AnalysisRun &run, const QString &periodLine, bool income)
{
    run.chart(dmMain->qryChartTime,
              {s("select tblOperates.CustId,tblCustomers.CustName,sum(tblOperates.RMB) As sumIn"),
               s(" from tblOperates Inner Join tblCustomers "), s(" on tblOperates.CustID=tblCustomers.CustID "),
               periodLine,
               income ? s(" and tblOperates.InorOut='收款'") : s(" and tblOperates.InOrOut='付款'"),
               s(" group by tblOperates.CustID,tblCustomers.CustName")},
              s("sumIn"), s("CustName"));
    run.result.kind = ChartKind::Pie;
}

AnalysisRun::Params yearParams(int year)
{
    return {{QStringLiteral("CreateDate"), qint64(year)}, {QStringLiteral("CreateYear"), qint64(year)}};
}

}  // namespace

TfrmPeriodQuery::TfrmPeriodQuery(Kind kind, AnalysisTarget *target, QWidget *parent)
    : QDialog(parent), m_kind(kind), m_target(target)
{
    static const char *const Names[] = {"frmYearQuery", "frmSeasonQuery", "frmTimeSectQuery"};
    static const char *const Captions[] = {"按年度业务分析", "按季度业务分析", "按时间段分析"};
    setObjectName(QString::fromLatin1(Names[int(kind)]));
    setWindowTitle(s(Captions[int(kind)]));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(12);
    if (kind == Kind::TimeSect) {
        auto *group = new QGroupBox(s("按起止时间查询："), this);
        auto *form = new QFormLayout(group);
        const auto date = [&](const char *label, const char *name) {
            auto *d = new QDateEdit(group);
            d->setObjectName(QString::fromLatin1(name));
            d->setCalendarPopup(true);
            QString format = DateText::shortDateFormat();
            if (!format.contains(QStringLiteral("yyyy")))
                format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
            d->setDisplayFormat(format);
            d->setMinimumWidth(130);
            form->addRow(s(label), d);
            return d;
        };
        m_start = date("起始时间：", "deStart");
        m_end = date("截止时间：", "deEnd");
        m_start->setDate(QDate::currentDate().addDays(-30));
        m_end->setDate(QDate::currentDate());
        layout->addWidget(group);
    } else {
        auto *form = new QFormLayout;
        m_year = new QComboBox(this);
        m_year->setObjectName(QStringLiteral("cbYear"));
        m_year->setEditable(true);
        m_year->setInsertPolicy(QComboBox::NoInsert);
        for (int y = 2000; y <= 2010; ++y)
            m_year->addItem(QString::number(y));
        m_year->setEditText(QString::number(QDate::currentDate().year()));
        m_year->setMinimumWidth(110);
        form->addRow(s("请选择查询年份："), m_year);
        if (kind == Kind::Season) {
            m_season = new QComboBox(this);
            m_season->setObjectName(QStringLiteral("cbSeason"));
            m_season->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
            m_season->setCurrentIndex(-1);
            form->addRow(s("请选择查询季度："), m_season);
        }
        layout->addLayout(form);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(s("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(s("取消"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TfrmPeriodQuery::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(300);
}

void TfrmPeriodQuery::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_year) {
        m_year->setEditText(QString::number(QDate::currentDate().year()));
        m_year->setFocus();
        m_year->lineEdit()->selectAll();
    } else if (m_start) {
        m_start->setDate(QDate::currentDate().addDays(-30));
        m_end->setDate(QDate::currentDate());
    }
}

std::optional<int> TfrmPeriodQuery::checkedYear()
{
    const auto year = AnalysisText::year(m_year->currentText());
    if (!year) {
        Messages::warning(this, s("请输入正确的年份！"));
        m_year->setFocus();
    }
    return year;
}

bool TfrmPeriodQuery::confirm()
{
    const bool income = m_target ? m_target->incomeChosen() : true;
    AnalysisResult result;
    if (m_kind == Kind::Season && m_season->currentIndex() < 0) {
        Messages::warning(this, s("请选择季度！"));
        m_season->setFocus();
        return false;
    }
    std::optional<int> year;
    if (m_kind != Kind::TimeSect && !(year = checkedYear()))
        return false;
    const bool ok = ErrorHandler::run(this, [&] {
        switch (m_kind) {
        case Kind::Year:
            result = yearResult(*year, income);
            break;
        case Kind::Season:
            result = seasonResult(*year, m_season->currentIndex() + 1, income);
            break;
        case Kind::TimeSect:
            result = timeSectResult(m_start->date(), m_end->date(), income);
            break;
        }
    });
    if (!ok)
        return false;
    if (m_target)
        m_target->showResult(result);
    accept();
    return true;
}

AnalysisResult TfrmPeriodQuery::yearResult(int year, bool income)
{
    AnalysisRun run(yearParams(year));
    const QString y = QString::number(year);
    run.add(y + s("年度新增客户数量： ")
            + run.text({s("select Count(CustID) as sumIn from tblCustomers where Year(CreateDate)=:CreateDate")})
            + s(" 个"));
    run.add(s("其中："));
    for (int q = 1; q <= 4; ++q)
        run.add(s("    ") + s(QuarterNames[q - 1]) + u'：'
                + run.text({s("select count(CustID) as sumIn from tblCustomers where year(CreateDate)=:CreateYear")
                            + monthLine(q)})
                + s(" 个"));
    run.add(QString());
    run.add(y + s("年度新增业务数量： ")
            + run.text({s("select count(OperateID) as sumIn from tblOperates where year(CreateDate)=:CreateDate")})
            + s(" 个"));
    for (const bool in : {true, false}) {
        const QVariant total =
            run.value({s("select sum(RMB) as sumIn from tblOperates where year(CreateDate)=:CreateYear") + direction(in)});
        run.add(s(in ? "收入合同金额总计：" : "支出合同金额总计：") + AnalysisText::number(total) + s(" 元"));
        run.add(s("其中："));
        for (int q = 1; q <= 4; ++q) {
            run.add(s("    ") + s(QuarterNames[q - 1]) + u'：'
                    + run.text({s("select count(OperateID) as sumIn from tblOperates where year(CreateDate)=:CreateYear ")
                                + monthLine(q) + direction(in)})
                    + s(" 个"));
            const QVariant sum = run.value({s("select sum(RMB) as sumIn from tblOperates where year(CreateDate)=:CreateYear")
                                            + monthLine(q) + direction(in)});
            run.add(s("        合同金额合计：") + AnalysisText::number(sum) + s(" 元"));
            if (const auto share = AnalysisText::share(sum, total, 5))
                run.add(s("        占总金额比率：") + *share + u'%');
        }
        run.add(QString());
    }
    periodChart(run, s(" where Year(tblOperates.CreateDate)=:CreateDate"), income);
    run.result.title = y + s(income ? "年度收入业务分析" : "年度支出业务分析");
    return run.result;
}

AnalysisResult TfrmPeriodQuery::seasonResult(int year, int quarter, bool income)
{
    AnalysisRun run(yearParams(year));
    const QString y = QString::number(year);
    const QString q = QString::number(quarter);
    run.add(y + s("年度") + q + s("季度新增客户数量： ")
            + run.text({s("select Count(CustID) as sumIn from tblCustomers where Year(CreateDate)=:CreateDate")
                        + monthLine(quarter)})
            + s(" 个"));
    run.add(QString());
    const QString yearCount = s("select count(OperateID) as sumIn from tblOperates where year(CreateDate)=:CreateDate");
    run.add(y + s("年度新增业务数量： ") + run.text({yearCount}) + s(" 个"));
    run.add(QString());
    const QString yearSum = s("select sum(RMB) as sumIn from tblOperates where year(CreateDate)=:CreateYear");
    const QVariant yearIncome = run.value({yearSum + direction(true)});
    run.add(s("收入合同金额总计：") + AnalysisText::number(yearIncome) + s(" 元"));
    run.add(QString());
    const QVariant yearExpense = run.value({yearSum + direction(false)});
    run.add(s("支出合同金额总计：") + AnalysisText::number(yearExpense) + s(" 元"));
    run.add(QString());
    run.add(y + s("年度") + q + s("季度新增业务数量： ") + run.text({yearCount + monthLine(quarter)}) + s(" 个"));
    run.add(s("其中："));
    for (const bool in : {true, false}) {
        const QVariant sum = run.value({yearSum + monthLine(quarter) + direction(in)});
        run.add(s(in ? "收入合同金额合计：" : "支出合同金额合计：") + AnalysisText::number(sum) + s(" 元"));
        if (const auto share = AnalysisText::share(sum, in ? yearIncome : yearExpense, 5))
            run.add(s(in ? "占年总收入金额比率：" : "占年总支出金额比率：") + *share + u'%');
        run.add(QString());
    }
    periodChart(run, s(" where Year(tblOperates.CreateDate)=:CreateDate") + monthLine(quarter, s("tblOperates.")),
                income);
    run.result.title = y + s("年度") + s("第") + q + s(income ? "季度收入业务分析" : "季度支出业务分析");
    return run.result;
}

AnalysisResult TfrmPeriodQuery::timeSectResult(const QDate &from, const QDate &to, bool income)
{
    AnalysisRun run({{QStringLiteral("CreateDate1"), from}, {QStringLiteral("CreateDate2"), to}});
    const QString d1 = DateText::shortDate(from);
    const QString d2 = DateText::shortDate(to);
    run.add(d1 + s(" 至 ") + d2 + s(" 间："));
    run.add(s("新增客户数量： ")
            + run.text({s("select Count(CustID) as sumIn from tblCustomers where CreateDate Between :CreateDate1 and "
                          ":CreateDate2")})
            + s(" 个"));
    run.add(QString());
    run.add(s("新增业务数量： ")
            + run.text({s("select count(OperateID) as sumIn from tblOperates where CreateDate Between :CreateDate1 and "
                          ":CreateDate2")})
            + s(" 个"));
    run.add(s("其中："));
    const QString sum = s("select sum(RMB) as sumIn from tblOperates where CreateDate between :CreateDate1 and :CreateDate2");
    run.add(s("收入合同金额合计：") + run.text({sum + s(" and InOrOut='收款'")}) + s(" 元"));
    run.add(QString());
    run.add(s("支出合同金额合计：") + run.text({sum + s(" and InOrOut='付款'")}) + s(" 元"));
    run.add(QString());
    periodChart(run, s(" where tblOperates.CreateDate between :CreateDate1 and :CreateDate2"), income);
    run.result.title = d1 + s("至") + d2 + s(income ? "收入业务分析" : "支出业务分析");
    return run.result;
}
