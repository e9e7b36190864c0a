// The eleven analysis pages as rows of one table: their controls, chart query and fields,
// and how each computes its list and chart.
#include "AnalysisPage.h"
#include "AnalysisRun.h"
#include "AnalysisText.h"
#include "DateText.h"
#include "Utf8.h"
#include "udmMain.h"

namespace {

using Lines = QStringList;

QString income(bool in)
{
    return in ? s("收款") : s("付款");
}

// The code table a pie breaks down by, with the names of its columns.
struct CodeTable
{
    const char *table, *id, *name, *colour;
};

const CodeTable LevelCodes{"tblCustLevel", "LevelID", "LevelName", "LevelColor"};
const CodeTable CustOriginCodes{"tblCustOrigin", "OriginID", "OriginName", "OriginColor"};
const CodeTable StateCodes{"tblCustState", "StateID", "StateName", "StateColor"};
const CodeTable VocationCodes{"tblVocation", "VocationID", "VocationName", "VocationColor"};
const CodeTable OperateOriginCodes{"tblOperateOrigin", "OriginID", "OriginName", "OriginColor"};
const CodeTable TypeCodes{"tblOperateType", "TypeID", "TypeName", "TypeColor"};

// Statement lines written for the customer-level table, moved onto another code table.
Lines on(const CodeTable &codes, std::initializer_list<const char *> lines)
{
    Lines out;
    for (const char *line : lines) {
        QString text = s(line);
        text.replace(QStringLiteral("tblCustLevel"), QString::fromLatin1(codes.table));
        text.replace(QStringLiteral("LevelID"), QString::fromLatin1(codes.id));
        text.replace(QStringLiteral("LevelName"), QString::fromLatin1(codes.name));
        text.replace(QStringLiteral("LevelColor"), QString::fromLatin1(codes.colour));
        out << text;
    }
    return out;
}

void addBreakdown(AnalysisRun &run, const Lines &sql, const CodeTable &codes, const char *unit)
{
    for (const auto &[name, sum] : run.breakdown(sql, QString::fromLatin1(codes.name)))
        run.add(s("  ") + name + u'：' + AnalysisText::number(sum) + s(unit));
}

QString rangeTitle(const AnalysisChoices &c, const char *what)
{
    return DateText::shortDate(c.from) + s("至") + DateText::shortDate(c.to) + s(what);
}

// An empty line (with "其中：" in the rankings), then the start and end of the range.
void periodHead(AnalysisRun &run, const AnalysisChoices &c, bool ranking)
{
    run.add(QString());
    if (ranking)
        run.add(s("其中："));
    run.add(DateText::shortDate(c.from) + s(" 至"));
    run.add(DateText::shortDate(c.to) + s(" 期间："));
}

const QString CustomerCount = s("select Count(CustID) as sumIn from tblCustomers ");
const QString CustomerRangeCount =
    s("select Count(CustID) as sumIn from tblCustomers where CreateDate between :CreateDate1 and :CreateDate2");
const QString OperateCount = s("select Count(OperateID) as sumIn from tblOperates ");
const QString OperateRangeCount =
    s("select Count(OperateID) as sumIn from tblOperates where CreateDate between :CreateDate1 and :CreateDate2");

QString totalSql(bool in)
{
    return s("select sum(RMB) as sumIn from tblOperates where InorOut='") + income(in) + u'\'';
}

QString rangeTotalSql(bool in)
{
    return s("select sum(RMB) as sumIn from tblOperates where (CreateDate between :CreateDate1 and :CreateDate2) and "
             "InorOut='")
        + income(in) + u'\'';
}

QString totalLine(bool in, const QString &sum)
{
    return s(in ? "收入合同金额总计：" : "支出合同金额总计：") + sum + s(" 元");
}

// ---- customer level and customer source: three choices, the chart's direction apart

void buildCodeChoices(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m, const CodeTable &codes)
{
    QueryDataset *chart = dmMain->*m.chartQuery;
    const QString customerLine = s("客户数量总计： ") + run.text({CustomerCount}) + s(" 个");
    if (c.kind == 0) {
        run.add(customerLine);
        run.add(QString());
        run.add(s("其中："));
        addBreakdown(run,
                     on(codes, {"select Count(tblCustomers.CustID) as sumIn,tblCustLevel.LevelID,tblCustLevel.LevelName "
                                "from tblCustomers Right Outer Join tblCustLevel",
                                " on tblCustomers.LevelID=tblCustLevel.LevelID",
                                " Group by tblCustLevel.LevelID,tblCustLevel.LevelName"}),
                     codes, " 个");
        run.chart(chart,
                  on(codes, {"select count(tblCustomers.CustID) As sumIn,tblCustLevel.LevelID,tblCustLevel.LevelName,"
                             "tblCustLevel.LevelColor",
                             " from tblCustomers Right Outer Join tblCustLevel ",
                             " on tblCustLevel.LevelID=tblCustomers.LevelID ",
                             " group by tblCustLevel.LevelID,tblCustLevel.LevelName,tblCustLevel.LevelColor"}),
                  s(m.valueField), s(m.labelField), s(m.colourField));
        run.result.title = s("按客户数量分析");
        return;
    }
    if (c.kind == 1) {
        run.add(s("业务数量总计：") + run.text({s("select count(tblOperates.CustID) as sumIn from tblOperates")}) + s(" 个"));
        run.add(QString());
        run.add(s("其中："));
        addBreakdown(run,
                     on(codes, {"Select count(tblOperates.CustID) as sumIn,tblCustomers.LevelID,tblCustLevel.LevelName ",
                                " From (tblOperates Inner Join tblCustomers on tblOperates.CustID=tblCustomers.CustID) "
                                "Inner Join tblCustLevel On tblCustomers.LevelID=tblCustLevel.LevelID",
                                " group by tblCustomers.LevelID,tblCustLevel.LevelName"}),
                     codes, " 个");
        run.chart(chart,
                  on(codes, {"SELECT count(tblOperates.CustID) as sumIn,tblCustomers.LevelID,tblCustLevel.LevelColor,"
                             "tblCustLevel.LevelName ",
                             " FROM (tblOperates INNER JOIN tblCustomers ON tblOperates.CustID = tblCustomers.CustId) "
                             "INNER JOIN tblCustLevel ON tblCustomers.LevelID = tblCustLevel.LevelID",
                             " group by tblCustomers.LevelID,tblCustLevel.LevelColor,tblCustLevel.LevelName"}),
                  s(m.valueField), s(m.labelField), s(m.colourField));
        run.result.title = s("按业务数量分析");
        return;
    }
    run.add(customerLine);
    run.add(QString());
    for (const bool in : {true, false}) {
        const QVariant total =
            run.value({s("select sum(tblOperates.RMB) as sumIn from tblOperates where tblOperates.InorOut='") + income(in)
                       + u'\''});
        run.add(totalLine(in, AnalysisText::number(total)));
        run.add(QString());
        run.add(s("其中："));
        Lines sql = on(codes, {"Select sum(tblOperates.RMB) as sumIn,tblCustomers.LevelID,tblCustLevel.LevelName ",
                               " From (tblOperates Inner Join tblCustomers on tblOperates.CustID=tblCustomers.CustID) "
                               "Inner Join tblCustLevel On tblCustomers.LevelID=tblCustLevel.LevelID",
                               " group by tblCustomers.LevelID,tblCustLevel.LevelName"});
        sql.insert(2, s(" where tblOperates.InorOut='") + income(in) + u'\'');
        for (const auto &[name, sum] : run.breakdown(sql, QString::fromLatin1(codes.name))) {
            run.add(s("  ") + name + u'：' + AnalysisText::number(sum) + s(" 元"));
            if (const auto share = AnalysisText::share(sum, total, 4))
                run.add(s("    所占比率：") + *share + u'%');
            run.add(QString());
        }
    }
    Lines sql = on(codes, {"SELECT sum(tblOperates.RMB) as sumIn,tblCustomers.LevelID,tblCustLevel.LevelColor,"
                           "tblCustLevel.LevelName ",
                           " FROM (tblOperates INNER JOIN tblCustomers ON tblOperates.CustID = tblCustomers.CustId) "
                           "INNER JOIN tblCustLevel ON tblCustomers.LevelID = tblCustLevel.LevelID",
                           " group by tblCustomers.LevelID,tblCustLevel.LevelColor,tblCustLevel.LevelName"});
    sql.insert(2, s(" where tblOperates.InorOut='") + income(c.income) + u'\'');
    run.chart(chart, sql, s(m.valueField), s(m.labelField), s(m.colourField));
    run.result.title = s(c.income ? "按收入合同金额分析" : "按支出合同金额分析");
}

void buildLevel(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildCodeChoices(run, c, m, LevelCodes);
}

void buildCustOrigin(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildCodeChoices(run, c, m, CustOriginCodes);
}

// ---- customer state and customer type: customers per code, overall and created in the range

void buildCustomerCodes(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m, const CodeTable &codes,
                        const char *title)
{
    const Lines perCode = on(codes, {"select Count(tblCustomers.CustID) as sumIn,tblCustLevel.LevelID,"
                                     "tblCustLevel.LevelName from tblCustomers Right Outer Join tblCustLevel",
                                     " on tblCustomers.LevelID=tblCustLevel.LevelID",
                                     " Group by tblCustLevel.LevelID,tblCustLevel.LevelName"});
    run.add(s("客户数量总计： ") + run.text({CustomerCount}) + s(" 个"));
    run.add(QString());
    run.add(s("其中："));
    addBreakdown(run, perCode, codes, " 个");
    periodHead(run, c, false);
    run.add(s("客户数量总计：") + run.text({CustomerRangeCount}) + s(" 个"));
    run.add(QString());
    run.add(s("其中："));
    Lines inRange = perCode;
    inRange.insert(2, s(" where tblCustomers.CreateDate between :CreateDate1 and :CreateDate2"));
    addBreakdown(run, inRange, codes, " 个");
    run.chart(dmMain->*m.chartQuery,
              on(codes, {"select count(tblCustomers.CustID) As sumIn,tblCustLevel.LevelID,tblCustLevel.LevelName,"
                         "tblCustLevel.LevelColor",
                         " from tblCustomers Right Outer Join tblCustLevel ",
                         " on tblCustLevel.LevelID=tblCustomers.LevelID ",
                         " where tblCustomers.CreateDate between :CreateDate1 and :CreateDate2",
                         " Group by tblCustLevel.LevelID,tblCustLevel.LevelName,tblCustLevel.LevelColor"}),
              s(m.valueField), s(m.labelField), s(m.colourField));
    run.result.title = rangeTitle(c, title);
}

void buildCustState(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildCustomerCodes(run, c, m, StateCodes, "期间客户状态分析");
}

void buildVocation(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildCustomerCodes(run, c, m, VocationCodes, "期间客户类型分析");
}

// ---- business source and business type: records per code, overall and in the range

// The same text with the business record table in place of the customer table.
Lines onOperates(const CodeTable &codes, std::initializer_list<const char *> lines)
{
    Lines out = on(codes, lines);
    for (QString &line : out) {
        line.replace(QStringLiteral("tblCustomers.CustID"), QStringLiteral("tblOperates.OperateID"));
        line.replace(QStringLiteral("tblCustomers"), QStringLiteral("tblOperates"));
    }
    return out;
}

void buildOperateCodes(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m, const CodeTable &codes,
                       const char *chartSum, const char *title)
{
    const Lines perCode = onOperates(codes, {"select Count(tblCustomers.CustID) as sumIn,tblCustLevel.LevelID,"
                                             "tblCustLevel.LevelName from tblCustomers Right Outer Join tblCustLevel",
                                             " on tblCustomers.LevelID=tblCustLevel.LevelID",
                                             " Group by tblCustLevel.LevelID,tblCustLevel.LevelName"});
    run.add(s("业务数量总计： ") + run.text({OperateCount}) + s(" 个"));
    run.add(totalLine(true, run.text({totalSql(true)})));
    run.add(totalLine(false, run.text({totalSql(false)})));
    run.add(QString());
    run.add(s("其中："));
    addBreakdown(run, perCode, codes, " 个");
    periodHead(run, c, false);
    run.add(s("业务数量总计：") + run.text({OperateRangeCount}) + s(" 个"));
    run.add(QString());
    run.add(totalLine(true, run.text({rangeTotalSql(true)})));
    run.add(QString());
    run.add(totalLine(false, run.text({rangeTotalSql(false)})));
    run.add(QString());
    run.add(s("其中："));
    Lines inRange = perCode;
    inRange.insert(2, s(" where tblOperates.CreateDate between :CreateDate1 and :CreateDate2"));
    addBreakdown(run, inRange, codes, " 个");
    Lines chart = onOperates(codes, {"select count(tblCustomers.CustID) As sumIn,tblCustLevel.LevelID,"
                                     "tblCustLevel.LevelName,tblCustLevel.LevelColor",
                                     " from tblCustomers Right Outer Join tblCustLevel ",
                                     " on tblCustLevel.LevelID=tblCustomers.LevelID ",
                                     " where tblCustomers.CreateDate between :CreateDate1 and :CreateDate2",
                                     " Group by tblCustLevel.LevelID,tblCustLevel.LevelName,tblCustLevel.LevelColor"});
    chart[0].replace(QStringLiteral("count(tblOperates.OperateID)"), s(chartSum));
    run.chart(dmMain->*m.chartQuery, chart, s(m.valueField), s(m.labelField), s(m.colourField));
    run.result.title = rangeTitle(c, title);
}

void buildOperateOrigin(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildOperateCodes(run, c, m, OperateOriginCodes, "count(tblOperates.OperateID)", "期间业务来源分析");
}

void buildOperateType(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    buildOperateCodes(run, c, m, TypeCodes, "sum(tblOperates.RMB)", "期间业务类型分析");
}

// ---- rankings

// Totals per direction, each with its highest amount.
void directionTotals(AnalysisRun &run, const QString &maxSql, bool range)
{
    for (const bool in : {true, false}) {
        run.add(totalLine(in, run.text({range ? rangeTotalSql(in) : totalSql(in)})));
        run.add(s("    最高合同金额：") + run.text({maxSql + income(in) + u'\''}) + s(" 元"));
        if (range)
            run.add(QString());
    }
}

const QString RangeMax =
    s("select max(RMB) as maxIn from tblOperates where (CreateDate between :CreateDate1 and :CreateDate2) and InorOut='");

QString directionLine(bool in)
{
    return in ? s(" and tblOperates.InOrOut='收款'") : s(" and tblOperates.InOrOut='付款'");
}

void buildOperateSort(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    run.add(s("业务数量总计： ") + run.text({OperateCount}) + s(" 个"));
    directionTotals(run, s("select Max(CompactAmount) as MaxIn from tblOperates where InorOut='"), false);
    periodHead(run, c, true);
    run.add(s("业务数量总计：") + run.text({OperateRangeCount}) + s(" 个"));
    run.add(QString());
    directionTotals(run, RangeMax, true);
    run.chart(dmMain->*m.chartQuery,
              {s("select tblOperates.OperateID,tblOperates.OperateTitle,tblOperates.RMB,tblCustomers.CustID,"
                 "tblCustomers.CustName "),
               s(" from tblOperates Inner Join tblCustomers "), s(" on tblOperates.CustID=tblCustomers.CustID "),
               s(" where tblOperates.CreateDate between :CreateDate1 and :CreateDate2"), directionLine(c.income),
               s(" order by tblOperates.RMB DESC")},
              s(m.valueField), s(m.labelField));
    run.result.title = rangeTitle(c, c.income ? "期间收入业务排行榜" : "期间支出业务排行榜");
}

// Customer count, business count and the totals, overall and in the range.
void customerRankingList(AnalysisRun &run, const AnalysisChoices &c)
{
    run.add(s("客户数量总计： ") + run.text({s("select count(CustID) as sumIn from tblCustomers")}) + s(" 个"));
    run.add(s("业务数量总计： ") + run.text({OperateCount}) + s(" 个"));
    directionTotals(run, s("select Max(RMB) as MaxIn from tblOperates where InorOut='"), false);
    periodHead(run, c, true);
    run.add(s("客户数量总计：") + run.text({CustomerRangeCount}) + s(" 个"));
    run.add(QString());
    run.add(s("业务数量总计：") + run.text({OperateRangeCount}) + s(" 个"));
    run.add(QString());
    directionTotals(run, RangeMax, true);
}

void buildCustomerSort(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    customerRankingList(run, c);
    run.chart(dmMain->*m.chartQuery,
              {s("SELECT tblOperates.custID,tblCustomers.CustName,sum(tblOperates.RMB) as sumIn "),
               s(" from tblOperates Inner Join tblCustomers "), s(" on  tblOperates.CustID=tblCustomers.CustID "),
               s(" where (tblOperates.CreateDate between :CreateDate1 and :CreateDate2) "), directionLine(c.income),
               s(" group by tblOperates.CustID,tblCustomers.CustName "), s(" order by sum(tblOperates.RMB) DESC")},
              s(m.valueField), s(m.labelField));
    run.result.title = rangeTitle(c, c.income ? "期间客户收入排行榜" : "期间客户支出排行榜");
}

void buildOperaterSort(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    run.add(s("业务人员数量总计： ") + run.text({s("select count(OperaterID) as sumIn from tblOperaters")}) + s(" 人次"));
    customerRankingList(run, c);
    run.chart(dmMain->*m.chartQuery,
              {s("SELECT tblOperates.OperaterID,tblOperaters.Name,sum(tblOperates.RMB) as sumIn "),
               s(" from tblOperates Inner Join tblOperaters "), s(" on  tblOperates.OperaterID=tblOperaters.OperaterID "),
               s(" where (tblOperates.CreateDate between :CreateDate1 and :CreateDate2) "), directionLine(true),
               s(" group by tblOperates.OperaterID,tblOperaters.Name "), s(" order by sum(tblOperates.RMB) DESC")},
              s(m.valueField), s(m.labelField));
    run.result.title = rangeTitle(c, "期间业务人员绩效排行榜");
}

// ---- outstanding receivables and payables per business record

void buildFinance(AnalysisRun &run, const AnalysisChoices &c, const AnalysisMember &m)
{
    const bool receivables = c.finance == 0;
    run.chart(receivables ? dmMain->qryChartGathering : dmMain->qryChartPayment,
              {s("SELECT tblOperates.OperateID,tblOperates.OperateTitle,tblOperates.CustID,tblCustomers.CustName, "),
               s("tblOperates.WriteDate,tblOperates.CurrID,tblOperates.CompactAmount,tblOperates.RMB,"),
               s("tblOperates.EndDate,sum(tblOperateDetail.RMB) as sumRMB,(tblOperates.RMB-sum(tblOperateDetail.RMB)) "
                 "as surPlus  "),
               s(" FROM (tblOperates Inner JOIN tblOperateDetail ON tblOperates.OperateID = tblOperateDetail.OperateID) "),
               s(" INNER JOIN tblCustomers ON tblOperates.CustID = tblCustomers.CustId "),
               s(" where (tblOperates.InorOut='") + income(receivables) + s("')"),
               s(" group by tblOperates.OperateID,tblOperates.OperateTitle,tblOperates.CustID,tblCustomers.CustName,"),
               s(" tblOperates.WriteDate,tblOperates.CurrID,tblOperates.CompactAmount,tblOperates.RMB,tblOperates.EndDate"),
               s(" Order by (tblOperates.RMB-sum(tblOperateDetail.RMB)) Desc")},
              s(m.valueField), s(m.labelField));
    run.result.title = c.financeText;
}

using M = AnalysisMember;

}  // namespace

const QList<AnalysisMember> &analysisMembers()
{
    static const QList<AnalysisMember> members = {
        {"TfrmCustLevelAnalyse", "frmCustLevelAnalyse", "Act_CustLevelAnalyse", "客户级别分析", M::KindList | M::Direction,
         ChartKind::Pie, &TdmMain::qryChartLevel, "sumIn", "LevelName", "LevelColor", true, buildLevel},
        {"TfrmCustOriginAnalyse", "frmCustOriginAnalyse", "Act_CustOriginAnalyse", "客户来源分析",
         M::KindList | M::Direction, ChartKind::Pie, &TdmMain::qryChartCustOrigin, "sumIn", "OriginName",
         "OriginColor", true, buildCustOrigin},
        {"TfrmCustStateAnalyse", "frmCustStateAnalyse", "Act_CustStateAnalyse", "客户状态分析", M::Range, ChartKind::Pie,
         &TdmMain::qryChartCustState, "sumIn", "StateName", "StateColor", true, buildCustState},
        {"TfrmCustVocationAnalyse", "frmCustVocationAnalyse", "Act_CustVocationAnalyse", "客户类型分析", M::Range,
         ChartKind::Pie, &TdmMain::qryChartVocation, "sumIn", "VocationName", "VocationColor", true, buildVocation},
        {"TfrmTimeAnalyse", "frmTimeAnalyse", "Act_TimeAnalyse", "按时间分析", M::TimeKinds | M::Direction,
         ChartKind::Pie, &TdmMain::qryChartTime, "sumIn", "CustName", "", true, nullptr},
        {"TfrmOperateOriginAnalyse", "frmOperateOriginAnalyse", "Act_OperateOriginAnalyse", "业务来源分析", M::Range,
         ChartKind::Pie, &TdmMain::qryChartOperateOrigin, "sumIn", "OriginName", "OriginColor", true,
         buildOperateOrigin},
        {"TfrmOperateStyleAnalyse", "frmOperateStyleAnalyse", "Act_OperateStyleAnalyse", "业务类型分析", M::Range,
         ChartKind::Pie, &TdmMain::qryChartOperateType, "sumIn", "TypeName", "TypeColor", true, buildOperateType},
        {"TfrmOperateSortAnalyse", "frmOperateSortAnalyse", "Act_OperateSortAnalyse", "业务排行榜",
         M::Range | M::Direction, ChartKind::Bar, &TdmMain::qryChartOperateSort, "RMB", "OperateTitle", "", true,
         buildOperateSort},
        {"TfrmCustomerSortAnalyse", "frmCustomerSortAnalyse", "Act_CustomerSortAnalyse", "客户排行榜",
         M::Range | M::Direction, ChartKind::Bar, &TdmMain::qryChartCustomerSort, "sumIn", "CustName", "", true,
         buildCustomerSort},
        {"TfrmOperaterSortAnalyse", "frmOperaterSortAnalyse", "Act_OperaterSortAnalyse", "业务员绩效排行榜", M::Range,
         ChartKind::Bar, &TdmMain::qryChartOperaterSort, "sumIn", "Name", "", true, buildOperaterSort},
        {"TfrmFinanceAnalyse", "frmFinanceAnalyse", "Act_FinanceAnalyse", "资金分配分析", M::FinanceChoice,
         ChartKind::Bar, &TdmMain::qryChartGathering, "surPlus", "OperateTitle", "", false, buildFinance},
    };
    return members;
}
