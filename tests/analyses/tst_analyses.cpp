// The analysis pages and the period dialogs over a small database with known rows:
// list lines, chart slices and bars, the choices, errors and the window commands.
#include "ColourValue.h"
#include "ActionGate.h"
#include "AnalysisChart.h"
#include "AnalysisPage.h"
#include "AnalysisText.h"
#include "AnalysisWindows.h"
#include "DateText.h"
#include "PeriodQuery.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "Utf8.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QHorizontalBarSeries>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QtTest>

#include <optional>

namespace {

QDateTime at(const QDate &d)
{
    return QDateTime(d, QTime(0, 0));
}

QStringList sl(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out << s(i);
    return out;
}

QList<QAction *> enabledActions(QMenu *menu)
{
    QList<QAction *> out;
    for (QAction *a : menu->actions())
        if (!a->isSeparator() && a->isEnabled())
            out << a;
    return out;
}

QStringList captions(const QList<QAction *> &actions)
{
    QStringList out;
    for (QAction *a : actions)
        out << a->text();
    return out;
}

}  // namespace

class TestAnalyses : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void numberText_data();
    void numberText();
    void shareText_data();
    void shareText();
    void yearText_data();
    void yearText();
    void pieKeepsEveryPercentTrue();

    void memberLines_data();
    void memberLines();
    void emptySumKeepsItsUnit();
    void pieSlicesTakeCodeColours();
    void directionChangesOnlyTheChart();
    void directionEnabledOnlyForAmounts();
    void rankingBarsHighestFirst_data();
    void rankingBarsHighestFirst();
    void sixtyRecordsGiveFiftyBars();
    void zeroPieHasNoSlices();
    void emptyRangeShowsTitleOnly();

    void yearDialogTexts_data();
    void yearDialogTexts();
    void yearLines();
    void seasonLines();
    void seasonNeedsAQuarter();
    void timeSpanIncludesBothEnds();
    void cancelChangesNothing();
    void thirtyOneCustomersGiveOtherSlice();

    void failedQueryChangesNothing_data();
    void failedQueryChangesNothing();
    void popupFollowsNavigation();
    void financePopupHasNavigationOnly();
    void closeBringsScheduleBack();
    void reopeningResetsDatesKeepsChart();

private:
    void standardRows();
    void periodRows();
    AnalysisPage *openPage(AnalysisPage *page);
    // The time window's "查询" with the dialog of `kind`, driven by `drive` inside its modal run.
    void runTimeQuery(int kind, const std::function<void(TfrmPeriodQuery *)> &drive);
    QVariant colourOf(const char *table, const char *idColumn, const char *colourColumn, const char *id);

    std::unique_ptr<SeamRecorder> m_rec;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    QDate m_today;
    int m_year = 0;
};

void TestAnalyses::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
}

void TestAnalyses::init()
{
    m_today = QDate::currentDate();
    m_year = m_today.year();
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installChartWindows(*m_main);
    CurrentUserID = s("Admin");
    QVERIFY(m_main->prepareAfterLogin());
}

void TestAnalyses::cleanup()
{
    m_main.reset();
    QVERIFY(!frmCustLevelAnalyse && !frmFinanceAnalyse);
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

// Three customers, three business records in both directions, two staff, money items.
void TestAnalyses::standardRows()
{
    Database &db = *dmMain->database();
    Transaction tx(db);
    TableInserter c(db, s("tblCustomers"), sl({"CustId", "CustName", "LevelID", "OriginID", "StateId", "VocationID",
                                                "CreateDate"}));
    c.insert({s("C1"), s("甲宅"), s("A"), s("01"), s("01"), s("01"), at(m_today.addDays(-5))});
    c.insert({s("C2"), s("乙公司"), s("A"), s("02"), s("02"), s("02"), at(m_today.addDays(-100))});
    c.insert({s("C3"), s("丙宅"), s("B"), s("01"), s("02"), s("01"), at(m_today.addDays(-10))});
    TableInserter st(db, s("tblOperaters"), sl({"OperaterID", "Name"}));
    st.insert({s("S1"), s("张红")});
    st.insert({s("S2"), s("刘芳")});
    TableInserter op(db, s("tblOperates"), sl({"OperateID", "OperateTitle", "CustID", "InOrOut", "RMB", "CompactAmount",
                                               "CreateDate", "OriginId", "TypeID", "OperaterID"}));
    op.insert({s("O1"), s("保姆服务合同"), s("C1"), s("收款"), 100.0, 100.0, at(m_today.addDays(-5)), s("01"), s("01"), s("S1")});
    op.insert({s("O2"), s("钟点工服务合同"), s("C3"), s("收款"), 200.0, 250.0, at(m_today.addDays(-10)), s("02"), s("02"),
               s("S2")});
    op.insert({s("O3"), s("保姆服务合同"), s("C2"), s("付款"), 50.0, 60.0, at(m_today.addDays(-100)), s("01"), s("01"),
               s("S1")});
    TableInserter item(db, s("tblOperateDetail"), sl({"OperateID", "DetailNo", "RMB"}));
    item.insert({s("O1"), s("1"), 40.0});
    item.insert({s("O2"), s("1"), 50.0});
    item.insert({s("O2"), s("2"), 50.0});
    item.insert({s("O3"), s("1"), 20.0});
    tx.commit();
}

// Records on the last day of the first quarter and the first day of the second.
void TestAnalyses::periodRows()
{
    Database &db = *dmMain->database();
    Transaction tx(db);
    TableInserter c(db, s("tblCustomers"), sl({"CustId", "CustName", "CreateDate"}));
    c.insert({s("K1"), s("一号客户"), at(QDate(m_year, 3, 31))});
    c.insert({s("K2"), s("二号客户"), at(QDate(m_year, 4, 1))});
    c.insert({s("K3"), s("去年客户"), at(QDate(m_year - 1, 6, 1))});
    TableInserter op(db, s("tblOperates"), sl({"OperateID", "OperateTitle", "CustID", "InOrOut", "RMB", "CreateDate"}));
    op.insert({s("P1"), s("合同一"), s("K1"), s("收款"), 100.0, at(QDate(m_year, 3, 31))});
    op.insert({s("P2"), s("合同二"), s("K2"), s("收款"), 200.0, at(QDate(m_year, 4, 1))});
    op.insert({s("P3"), s("合同三"), s("K1"), s("付款"), 30.0, at(QDate(m_year, 4, 1))});
    op.insert({s("P4"), s("去年合同"), s("K3"), s("收款"), 999.0, at(QDate(m_year - 1, 6, 1))});
    tx.commit();
}

AnalysisPage *TestAnalyses::openPage(AnalysisPage *page)
{
    ActionGate::instance()->evaluate();
    m_main->action(QString::fromLatin1(page->member().action))->trigger();
    return page;
}

void TestAnalyses::runTimeQuery(int kind, const std::function<void(TfrmPeriodQuery *)> &drive)
{
    openPage(frmTimeAnalyse);
    frmTimeAnalyse->timeKindBox()->setCurrentIndex(kind);
    m_rec->onModal = [&](QDialog *d) {
        auto *dialog = qobject_cast<TfrmPeriodQuery *>(d);
        if (!dialog)
            return int(QDialog::Rejected);
        drive(dialog);
        return dialog->result();
    };
    QTest::mouseClick(frmTimeAnalyse->refreshButton(), Qt::LeftButton);
    m_rec->onModal = nullptr;
}

QVariant TestAnalyses::colourOf(const char *table, const char *idColumn, const char *colourColumn, const char *id)
{
    QueryDataset *q = dmMain->qryPubQuery;
    q->close();
    q->setSql({QStringLiteral("select %1 from %2 where %3=:id").arg(s(colourColumn), s(table), s(idColumn))});
    q->setParam(QStringLiteral("id"), s(id));
    q->open();
    const QVariant v = q->valueAt(0, 0);
    q->close();
    return v;
}

// ---- text helpers

void TestAnalyses::numberText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << QVariant() << QString();
    QTest::newRow("count") << QVariant(qint64(12)) << "12";
    QTest::newRow("whole double") << QVariant(300.0) << "300";
    QTest::newRow("0.1 + 0.2") << QVariant(0.1 + 0.2) << "0.3";
    QTest::newRow("decimals kept") << QVariant(1234567.25) << "1234567.25";
    QTest::newRow("small, no exponent") << QVariant(0.00001) << "0.00001";
    QTest::newRow("large, no exponent") << QVariant(1e16) << "10000000000000000";
    QTest::newRow("negative") << QVariant(-12.5) << "-12.5";
    QTest::newRow("zero") << QVariant(0.0) << "0";
}

void TestAnalyses::numberText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(AnalysisText::number(value), text);
}

void TestAnalyses::shareText_data()
{
    QTest::addColumn<QVariant>("part");
    QTest::addColumn<QVariant>("total");
    QTest::addColumn<int>("characters");
    QTest::addColumn<QString>("text");  // "-" when there is no share line
    QTest::newRow("a third, four") << QVariant(1.0) << QVariant(3.0) << 4 << "33.3";
    QTest::newRow("a third, five") << QVariant(1.0) << QVariant(3.0) << 5 << "33.33";
    QTest::newRow("two thirds cut, not rounded") << QVariant(2.0) << QVariant(3.0) << 5 << "66.66";
    QTest::newRow("whole") << QVariant(qint64(5)) << QVariant(qint64(5)) << 4 << "100";
    QTest::newRow("whole, five") << QVariant(7.0) << QVariant(7.0) << 5 << "100";
    QTest::newRow("12.3456") << QVariant(12.3456) << QVariant(100.0) << 4 << "12.3";
    QTest::newRow("tiny, no exponent") << QVariant(1.23e-7) << QVariant(1.0) << 4 << "0.00";
    QTest::newRow("total zero") << QVariant(1.0) << QVariant(0.0) << 4 << "-";
    QTest::newRow("total empty") << QVariant(1.0) << QVariant() << 4 << "-";
    QTest::newRow("part empty") << QVariant() << QVariant(5.0) << 5 << "-";
    QTest::newRow("100.5 drops the point") << QVariant(100.5) << QVariant(100.0) << 4 << "100";
}

void TestAnalyses::shareText()
{
    QFETCH(QVariant, part);
    QFETCH(QVariant, total);
    QFETCH(int, characters);
    QFETCH(QString, text);
    const auto share = AnalysisText::share(part, total, characters);
    QCOMPARE(share.value_or(QStringLiteral("-")), text);
}

void TestAnalyses::yearText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("year");  // 0: refused
    QTest::newRow("plain") << "2026" << 2026;
    QTest::newRow("outside the list") << "1999" << 1999;
    QTest::newRow("blanks around") << " 2026 " << 2026;
    QTest::newRow("full-width digits") << s("２０２６") << 2026;
    QTest::newRow("first year") << "1" << 1;
    QTest::newRow("last year") << "9999" << 9999;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("fraction") << "20.5" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("too large") << "10000" << 0;
    QTest::newRow("sign") << "-2026" << 0;
    QTest::newRow("blank inside") << "20 26" << 0;
}

void TestAnalyses::yearText()
{
    QFETCH(QString, text);
    QFETCH(int, year);
    QCOMPARE(AnalysisText::year(text).value_or(0), year);
}

void TestAnalyses::pieKeepsEveryPercentTrue()
{
    QList<ChartRow> rows;
    for (int i = 1; i <= 40; ++i)
        rows.append(ChartRow{double(i), QString::number(i), {}});
    rows.append(ChartRow{0, s("零"), {}});
    rows.append(ChartRow{-5, s("负"), {}});
    const QList<ChartRow> slices = AnalysisChart::pieRows(rows);
    QCOMPARE(slices.size(), AnalysisChart::MaxSlices);
    QCOMPARE(slices.first().value, 40.0);
    QCOMPARE(slices.at(28).value, 12.0);
    QCOMPARE(slices.last().label, s("其他"));
    QCOMPARE(slices.last().value, 66.0);  // 1 + ... + 11
    double sum = 0;
    for (const ChartRow &r : slices)
        sum += r.value;
    QCOMPARE(sum, 820.0);
}

// ---- the members' lists

void TestAnalyses::memberLines_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("chart");  // "label value" per chart row

    const QString d1 = DateText::shortDate(QDate::currentDate().addDays(-30));
    const QString d2 = DateText::shortDate(QDate::currentDate());
    const QString range = d1 + s("至") + d2;
    QTest::newRow("level: customers") << "frmCustLevelAnalyse" << 0 << 0
        << sl({"客户数量总计： 3 个", "", "其中：", "  重要客户：2 个", "  普通客户：1 个", "  潜在客户：0 个"})
        << s("按客户数量分析") << sl({"重要客户 2", "普通客户 1", "潜在客户 0"});
    QTest::newRow("level: business records") << "frmCustLevelAnalyse" << 1 << 0
        << sl({"业务数量总计：3 个", "", "其中：", "  重要客户：2 个", "  普通客户：1 个"})
        << s("按业务数量分析") << sl({"重要客户 2", "普通客户 1"});
    const QStringList amounts = sl({"客户数量总计： 3 个", "", "收入合同金额总计：300 元", "", "其中：", "  重要客户：100 元",
                                    "    所占比率：33.3%", "", "  普通客户：200 元", "    所占比率：66.6%", "",
                                    "支出合同金额总计：50 元", "", "其中：", "  重要客户：50 元", "    所占比率：100%", ""});
    QTest::newRow("level: amounts, income") << "frmCustLevelAnalyse" << 2 << 0 << amounts << s("按收入合同金额分析")
                                            << sl({"重要客户 100", "普通客户 200"});
    QTest::newRow("level: amounts, expense") << "frmCustLevelAnalyse" << 2 << 1 << amounts << s("按支出合同金额分析")
                                             << sl({"重要客户 50"});
    QTest::newRow("source: customers") << "frmCustOriginAnalyse" << 0 << 0
        << sl({"客户数量总计： 3 个", "", "其中：", "  朋友介绍：2 个", "  电话咨询：1 个", "  网络：0 个", "  广告：0 个",
               "  上门：0 个"})
        << s("按客户数量分析") << sl({"朋友介绍 2", "电话咨询 1", "网络 0", "广告 0", "上门 0"});
    QTest::newRow("state") << "frmCustStateAnalyse" << 0 << 0
        << (sl({"客户数量总计： 3 个", "", "其中：", "  洽谈中：1 个", "  已签约：2 个", "  服务中：0 个", "  已结束：0 个", ""})
            + QStringList{d1 + s(" 至"), d2 + s(" 期间：")}
            + sl({"客户数量总计：2 个", "", "其中：", "  洽谈中：1 个", "  已签约：1 个"}))
        << range + s("期间客户状态分析") << sl({"洽谈中 1", "已签约 1"});
    QTest::newRow("type of customer") << "frmCustVocationAnalyse" << 0 << 0
        << (sl({"客户数量总计： 3 个", "", "其中：", "  家庭：2 个", "  企业：1 个", "  机关事业单位：0 个", "  医院：0 个", ""})
            + QStringList{d1 + s(" 至"), d2 + s(" 期间：")} + sl({"客户数量总计：2 个", "", "其中：", "  家庭：2 个"}))
        << range + s("期间客户类型分析") << sl({"家庭 2"});
    const QStringList operateHead = sl({"业务数量总计： 3 个", "收入合同金额总计：300 元", "支出合同金额总计：50 元", "", "其中："});
    const QStringList operateRange = QStringList{QString(), d1 + s(" 至"), d2 + s(" 期间：")}
        + sl({"业务数量总计：2 个", "", "收入合同金额总计：300 元", "", "支出合同金额总计： 元", "", "其中："});
    QTest::newRow("business source") << "frmOperateOriginAnalyse" << 0 << 0
        << (operateHead + sl({"  新客户：2 个", "  老客户续约：1 个", "  转介绍：0 个"}) + operateRange
            + sl({"  新客户：1 个", "  老客户续约：1 个"}))
        << range + s("期间业务来源分析") << sl({"新客户 1", "老客户续约 1"});
    QTest::newRow("business type: counts listed, amounts charted") << "frmOperateStyleAnalyse" << 0 << 0
        << (operateHead + sl({"  保姆：2 个", "  钟点工：1 个", "  月嫂：0 个", "  育婴师：0 个", "  护工：0 个", "  保洁：0 个"})
            + operateRange + sl({"  保姆：1 个", "  钟点工：1 个"}))
        << range + s("期间业务类型分析") << sl({"保姆 100", "钟点工 200"});
    const QStringList rankRange = QStringList{QString(), s("其中："), d1 + s(" 至"), d2 + s(" 期间：")};
    QTest::newRow("business ranking") << "frmOperateSortAnalyse" << 0 << 0
        << (sl({"业务数量总计： 3 个", "收入合同金额总计：300 元", "    最高合同金额：250 元", "支出合同金额总计：50 元",
                "    最高合同金额：60 元"})
            + rankRange
            + sl({"业务数量总计：2 个", "", "收入合同金额总计：300 元", "    最高合同金额：200 元", "", "支出合同金额总计： 元",
                  "    最高合同金额： 元", ""}))
        << range + s("期间收入业务排行榜") << sl({"钟点工服务合同 200", "保姆服务合同 100"});
    const QStringList customerRanking =
        sl({"客户数量总计： 3 个", "业务数量总计： 3 个", "收入合同金额总计：300 元", "    最高合同金额：200 元",
            "支出合同金额总计：50 元", "    最高合同金额：50 元"})
        + rankRange
        + sl({"客户数量总计：2 个", "", "业务数量总计：2 个", "", "收入合同金额总计：300 元", "    最高合同金额：200 元", "",
              "支出合同金额总计： 元", "    最高合同金额： 元", ""});
    QTest::newRow("customer ranking, expense") << "frmCustomerSortAnalyse" << 0 << 1 << customerRanking
                                               << range + s("期间客户支出排行榜") << QStringList();
    QTest::newRow("customer ranking, income") << "frmCustomerSortAnalyse" << 0 << 0 << customerRanking
                                              << range + s("期间客户收入排行榜") << sl({"丙宅 200", "甲宅 100"});
    QTest::newRow("staff ranking") << "frmOperaterSortAnalyse" << 0 << 0
                                   << QStringList{s("业务人员数量总计： 2 人次")} + customerRanking
                                   << range + s("期间业务人员绩效排行榜") << sl({"刘芳 200", "张红 100"});
    QTest::newRow("receivables") << "frmFinanceAnalyse" << 0 << 0 << QStringList() << s("应收账款分析")
                                 << sl({"钟点工服务合同 100", "保姆服务合同 60"});
    QTest::newRow("payables") << "frmFinanceAnalyse" << 1 << 0 << QStringList() << s("应付账款分析")
                              << sl({"保姆服务合同 30"});
}

void TestAnalyses::memberLines()
{
    QFETCH(QString, page);
    QFETCH(int, kind);
    QFETCH(int, direction);
    QFETCH(QStringList, lines);
    QFETCH(QString, title);
    QFETCH(QStringList, chart);
    standardRows();
    AnalysisPage *p = openPage(analysisPage(page.toLatin1().constData()));
    if (p->kindBox())
        p->kindBox()->setCurrentIndex(kind);
    if (p->financeBox())
        p->financeBox()->setCurrentIndex(kind);
    if (p->directionBox())
        p->directionBox()->setCurrentIndex(direction);
    QTest::mouseClick(p->refreshButton(), Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList());
    QCOMPARE(p->lines(), lines);
    QCOMPARE(p->chart()->title(), title);
    QStringList drawn;
    if (auto *pie = p->chart()->pieSeries()) {
        for (QPieSlice *slice : pie->slices())
            drawn << slice->label().section(u' ', 0, 0) + u' ' + AnalysisText::number(slice->value());
        QStringList positive;
        for (const QString &c : chart)
            if (!c.endsWith(QStringLiteral(" 0")))
                positive << c;
        QCOMPARE(drawn, positive);
    } else {
        QVERIFY(p->chart()->barSeries());
        for (const auto &[label, value] : p->chart()->bars())
            drawn << label.section(u' ', 1, 1) + u' ' + AnalysisText::number(value);
        QCOMPARE(drawn, chart);
    }
}

void TestAnalyses::emptySumKeepsItsUnit()
{
    Database &db = *dmMain->database();
    {
        Transaction tx(db);
        TableInserter(db, s("tblCustomers"), sl({"CustId", "CustName", "LevelID"})).insert({s("C1"), s("甲"), s("A")});
        TableInserter(db, s("tblOperates"), sl({"OperateID", "CustID", "InOrOut", "RMB"}))
            .insert({s("O1"), s("C1"), s("收款"), 0.1});
        TableInserter(db, s("tblOperates"), sl({"OperateID", "CustID", "InOrOut", "RMB"}))
            .insert({s("O2"), s("C1"), s("收款"), 0.2});
        tx.commit();
    }
    openPage(frmCustLevelAnalyse)->kindBox()->setCurrentIndex(2);
    frmCustLevelAnalyse->refresh();
    QCOMPARE(frmCustLevelAnalyse->lines(),
             sl({"客户数量总计： 1 个", "", "收入合同金额总计：0.3 元", "", "其中：", "  重要客户：0.3 元", "    所占比率：100%",
                 "", "支出合同金额总计： 元", "", "其中："}));
}

void TestAnalyses::pieSlicesTakeCodeColours()
{
    standardRows();
    openPage(frmCustLevelAnalyse)->refresh();
    QPieSeries *pie = frmCustLevelAnalyse->chart()->pieSeries();
    QVERIFY(pie);
    QCOMPARE(pie->count(), 2);  // the level without customers has no slice
    QCOMPARE(pie->slices().at(0)->label(), s("重要客户 66.67%"));
    QCOMPARE(pie->slices().at(1)->label(), s("普通客户 33.33%"));
    const QVariant a = colourOf("tblCustLevel", "LevelID", "LevelColor", "A");
    const QVariant b = colourOf("tblCustLevel", "LevelID", "LevelColor", "B");
    QCOMPARE(pie->slices().at(0)->color(), ColourValue::toColour(a.toLongLong()));
    QCOMPARE(pie->slices().at(1)->color(), ColourValue::toColour(b.toLongLong()));
    QCOMPARE(ColourValue::toColour(0x0000FF), QColor(Qt::red));
    QCOMPARE(ColourValue::toColour(0xFF0000), QColor(Qt::blue));

    // A code without colour takes the theme's colour instead of black.
    dmMain->database()->exec(s("update tblCustLevel set LevelColor=null where LevelID='B'"));
    frmCustLevelAnalyse->refresh();
    QVERIFY(frmCustLevelAnalyse->chart()->pieSeries()->slices().at(1)->color() != QColor(Qt::black));
}

void TestAnalyses::directionChangesOnlyTheChart()
{
    standardRows();
    for (AnalysisPage *p : {frmCustLevelAnalyse, frmCustomerSortAnalyse}) {
        openPage(p);
        if (p->kindBox())
            p->kindBox()->setCurrentIndex(2);
        p->directionBox()->setCurrentIndex(0);
        p->refresh();
        const QStringList income = p->lines();
        const QString incomeTitle = p->chart()->title();
        p->directionBox()->setCurrentIndex(1);
        p->refresh();
        QCOMPARE(p->lines(), income);
        QVERIFY(p->chart()->title() != incomeTitle);
    }
    QCOMPARE(frmCustLevelAnalyse->chart()->pieSeries()->count(), 1);
    QCOMPARE(frmCustomerSortAnalyse->chart()->bars().size(), 0);
}

void TestAnalyses::directionEnabledOnlyForAmounts()
{
    for (AnalysisPage *p : {frmCustLevelAnalyse, frmCustOriginAnalyse}) {
        QComboBox *kind = p->kindBox();
        QCOMPARE(kind->currentText(), s("按客户数量分析"));
        QCOMPARE(p->directionBox()->currentText(), s("收入"));
        QVERIFY(!p->directionBox()->isEnabled());
        kind->setCurrentIndex(2);
        QVERIFY(p->directionBox()->isEnabled());
        kind->setCurrentIndex(1);
        QVERIFY(!p->directionBox()->isEnabled());
    }
    QVERIFY(frmOperateSortAnalyse->directionBox()->isEnabled());
    QVERIFY(!frmOperaterSortAnalyse->directionBox());  // the staff ranking ranks income only
}

void TestAnalyses::rankingBarsHighestFirst_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("business") << "frmOperateSortAnalyse";
    QTest::newRow("customers") << "frmCustomerSortAnalyse";
    QTest::newRow("staff") << "frmOperaterSortAnalyse";
}

void TestAnalyses::rankingBarsHighestFirst()
{
    QFETCH(QString, page);
    Database &db = *dmMain->database();
    {
        Transaction tx(db);
        TableInserter(db, s("tblOperaters"), sl({"OperaterID", "Name"})).insert({s("S1"), s("张红")});
        TableInserter c(db, s("tblCustomers"), sl({"CustId", "CustName"}));
        TableInserter op(db, s("tblOperates"),
                         sl({"OperateID", "OperateTitle", "CustID", "InOrOut", "RMB", "CreateDate", "OperaterID"}));
        const double amounts[] = {30, 500, 70, 120};
        for (int i = 0; i < 4; ++i) {
            const QString n = QString::number(i);
            c.insert({s("C") + n, s("客户") + n});
            op.insert({s("O") + n, s("合同") + n, s("C") + n, s("收款"), amounts[i], at(m_today), s("S1")});
        }
        tx.commit();
    }
    AnalysisPage *p = openPage(analysisPage(page.toLatin1().constData()));
    p->refresh();
    QList<double> values;
    QStringList labels;
    for (const auto &[label, value] : p->chart()->bars()) {
        values << value;
        labels << label;
    }
    if (page == u"frmOperaterSortAnalyse")
        QCOMPARE(values, QList<double>({720}));
    else
        QCOMPARE(values, QList<double>({500, 120, 70, 30}));
    if (page == u"frmOperateSortAnalyse")
        QCOMPARE(labels, sl({"1. 合同1  500", "2. 合同3  120", "3. 合同2  70", "4. 合同0  30"}));
}

void TestAnalyses::sixtyRecordsGiveFiftyBars()
{
    Database &db = *dmMain->database();
    {
        Transaction tx(db);
        TableInserter(db, s("tblCustomers"), sl({"CustId", "CustName"})).insert({s("C1"), s("甲")});
        TableInserter op(db, s("tblOperates"), sl({"OperateID", "OperateTitle", "CustID", "InOrOut", "RMB", "CreateDate"}));
        for (int i = 1; i <= 60; ++i)
            op.insert({QStringLiteral("O%1").arg(i), i % 2 ? s("钟点工服务合同") : s("月嫂服务合同"), s("C1"), s("收款"),
                       double(1000 + i * 10), at(m_today.addDays(-(i % 20)))});
        tx.commit();
    }
    openPage(frmOperateSortAnalyse)->refresh();
    const auto bars = frmOperateSortAnalyse->chart()->bars();
    QCOMPARE(bars.size(), AnalysisChart::MaxBars);  // shared titles do not merge bars
    QCOMPARE(bars.first().second, 1600.0);
    QCOMPARE(bars.last().second, 1110.0);
    QCOMPARE(bars.first().first, s("1. 月嫂服务合同  1,600"));
    QCOMPARE(bars.at(1).first, s("2. 钟点工服务合同  1,590"));
    QCOMPARE(bars.at(2).first, s("3. 月嫂服务合同  1,580"));
    QCOMPARE(dmMain->qryChartOperateSort->recordCount(), 60);  // the query keeps every row
}

void TestAnalyses::zeroPieHasNoSlices()
{
    Database &db = *dmMain->database();
    {
        Transaction tx(db);
        TableInserter(db, s("tblCustomers"), sl({"CustId", "CustName"})).insert({s("C1"), s("甲")});
        TableInserter(db, s("tblOperates"), sl({"OperateID", "CustID", "InOrOut", "RMB", "CreateDate", "TypeID"}))
            .insert({s("O1"), s("C1"), s("收款"), 0.0, at(m_today), s("01")});
        tx.commit();
    }
    openPage(frmOperateStyleAnalyse)->refresh();
    QCOMPARE(dmMain->qryChartOperateType->recordCount(), 1);
    QCOMPARE(frmOperateStyleAnalyse->chart()->pieSeries()->count(), 0);
    QVERIFY(frmOperateStyleAnalyse->chart()->title().endsWith(s("期间业务类型分析")));
}

void TestAnalyses::emptyRangeShowsTitleOnly()
{
    standardRows();
    openPage(frmCustStateAnalyse);
    // A range that starts after it ends finds nothing and says nothing.
    frmCustStateAnalyse->startEdit()->setDate(m_today);
    frmCustStateAnalyse->endEdit()->setDate(m_today.addDays(-30));
    frmCustStateAnalyse->refresh();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(frmCustStateAnalyse->chart()->pieSeries()->count(), 0);
    QVERIFY(frmCustStateAnalyse->lines().contains(s("客户数量总计：0 个")));
    QVERIFY(!frmCustStateAnalyse->chart()->grab().isNull());
}

// ---- the period dialogs

void TestAnalyses::yearDialogTexts_data()
{
    QTest::addColumn<QString>("typed");  // "<preset>": leave the dialog's own text
    QTest::addColumn<QString>("firstLine");  // empty: refused
    const QString y = QString::number(QDate::currentDate().year());
    QTest::newRow("preset current year") << "<preset>" << y + s("年度新增客户数量： 2 个");
    QTest::newRow("outside the list") << "1999" << s("1999年度新增客户数量： 0 个");
    QTest::newRow("blanks around") << u' ' + y + u' ' << y + s("年度新增客户数量： 2 个");
    QString wide;
    for (const QChar c : y)
        wide += QChar(0xFF10 + c.digitValue());
    QTest::newRow("full-width") << wide << y + s("年度新增客户数量： 2 个");
    QTest::newRow("letters") << "abc" << QString();
    QTest::newRow("fraction") << "20.5" << QString();
    QTest::newRow("zero") << "0" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TestAnalyses::yearDialogTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, firstLine);
    periodRows();
    frmTimeAnalyse->showResult({{s("旧行")}, {}, s("旧标题"), ChartKind::Pie});
    bool accepted = false;
    QWidget *focus = nullptr;
    QComboBox *box = nullptr;
    runTimeQuery(0, [&](TfrmPeriodQuery *d) {
        d->show();
        box = d->yearBox();
        QCOMPARE(box->currentText(), QString::number(m_year));
        if (typed != u"<preset>")
            box->setEditText(typed);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        accepted = d->result() == QDialog::Accepted;
        focus = d->focusWidget();
        d->hide();
    });
    if (firstLine.isEmpty()) {
        QVERIFY(!accepted);
        QCOMPARE(m_rec->texts(), QStringList{s("请输入正确的年份！")});
        QVERIFY(focus == box || focus == box->lineEdit());
        QCOMPARE(frmTimeAnalyse->lines(), QStringList{s("旧行")});
        QCOMPARE(frmTimeAnalyse->chart()->title(), s("旧标题"));
    } else {
        QVERIFY(accepted);
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(frmTimeAnalyse->lines().value(0), firstLine);
    }
}

void TestAnalyses::yearLines()
{
    periodRows();
    const QString y = QString::number(m_year);
    runTimeQuery(0, [](TfrmPeriodQuery *d) { d->confirm(); });
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmYearQuery")});
    QCOMPARE(frmTimeAnalyse->lines(),
             QStringList{y + s("年度新增客户数量： 2 个")}
                 + sl({"其中：", "    第一季度：1 个", "    第二季度：1 个", "    第三季度：0 个", "    第四季度：0 个", ""})
                 + QStringList{y + s("年度新增业务数量： 3 个")}
                 + sl({"收入合同金额总计：300 元", "其中：", "    第一季度：1 个", "        合同金额合计：100 元",
                       "        占总金额比率：33.33%", "    第二季度：1 个", "        合同金额合计：200 元",
                       "        占总金额比率：66.66%", "    第三季度：0 个", "        合同金额合计： 元", "    第四季度：0 个",
                       "        合同金额合计： 元", "", "支出合同金额总计：30 元", "其中：", "    第一季度：0 个",
                       "        合同金额合计： 元", "    第二季度：1 个", "        合同金额合计：30 元",
                       "        占总金额比率：100%", "    第三季度：0 个", "        合同金额合计： 元", "    第四季度：0 个",
                       "        合同金额合计： 元", ""}));
    QCOMPARE(frmTimeAnalyse->chart()->title(), y + s("年度收入业务分析"));
    QPieSeries *pie = frmTimeAnalyse->chart()->pieSeries();
    QCOMPARE(pie->count(), 2);
    QCOMPARE(pie->slices().at(0)->label(), s("一号客户 33.33%"));
    QCOMPARE(pie->slices().at(1)->label(), s("二号客户 66.67%"));

    // The direction decides the chart only.
    const QStringList income = frmTimeAnalyse->lines();
    frmTimeAnalyse->directionBox()->setCurrentIndex(1);
    runTimeQuery(0, [](TfrmPeriodQuery *d) { d->confirm(); });
    QCOMPARE(frmTimeAnalyse->lines(), income);
    QCOMPARE(frmTimeAnalyse->chart()->title(), y + s("年度支出业务分析"));
    QCOMPARE(frmTimeAnalyse->chart()->pieSeries()->count(), 1);
}

void TestAnalyses::seasonLines()
{
    periodRows();
    const QString y = QString::number(m_year);
    runTimeQuery(1, [](TfrmPeriodQuery *d) {
        QCOMPARE(d->seasonBox()->currentIndex(), -1);
        d->seasonBox()->setCurrentIndex(0);
        d->confirm();
    });
    QCOMPARE(frmTimeAnalyse->lines(),
             (QStringList{y + s("年度1季度新增客户数量： 1 个"), QString(), y + s("年度新增业务数量： 3 个")}
              + sl({"", "收入合同金额总计：300 元", "", "支出合同金额总计：30 元", ""})
              + QStringList{y + s("年度1季度新增业务数量： 1 个")}
              + sl({"其中：", "收入合同金额合计：100 元", "占年总收入金额比率：33.33%", "", "支出合同金额合计： 元", ""})));
    QCOMPARE(frmTimeAnalyse->chart()->title(), y + s("年度第1季度收入业务分析"));
    QCOMPARE(frmTimeAnalyse->chart()->pieSeries()->count(), 1);
    QCOMPARE(frmTimeAnalyse->chart()->pieSeries()->slices().at(0)->label(), s("一号客户 100.00%"));

    runTimeQuery(1, [](TfrmPeriodQuery *d) {
        d->seasonBox()->setCurrentIndex(1);
        d->confirm();
    });
    QCOMPARE(frmTimeAnalyse->lines().mid(8),
             QStringList{y + s("年度2季度新增业务数量： 2 个")}
                 + sl({"其中：", "收入合同金额合计：200 元", "占年总收入金额比率：66.66%", "", "支出合同金额合计：30 元",
                       "占年总支出金额比率：100%", ""}));
}

void TestAnalyses::seasonNeedsAQuarter()
{
    periodRows();
    frmTimeAnalyse->showResult({{s("旧行")}, {}, s("旧标题"), ChartKind::Pie});
    bool accepted = true;
    runTimeQuery(1, [&](TfrmPeriodQuery *d) {
        d->show();
        accepted = d->confirm();
        QCOMPARE(d->focusWidget(), d->seasonBox());
        d->hide();
    });
    QVERIFY(!accepted);
    QCOMPARE(m_rec->texts(), QStringList{s("请选择季度！")});
    QCOMPARE(m_rec->messages.at(0).icon, Messages::Icon::Warning);
    QCOMPARE(frmTimeAnalyse->lines(), QStringList{s("旧行")});
}

void TestAnalyses::timeSpanIncludesBothEnds()
{
    periodRows();
    const QDate from(m_year, 3, 31), to(m_year, 4, 1);
    runTimeQuery(2, [&](TfrmPeriodQuery *d) {
        QCOMPARE(d->startEdit()->date(), m_today.addDays(-30));
        QCOMPARE(d->endEdit()->date(), m_today);
        d->startEdit()->setDate(from);
        d->endEdit()->setDate(to);
        d->confirm();
    });
    const QString d1 = DateText::shortDate(from), d2 = DateText::shortDate(to);
    QCOMPARE(frmTimeAnalyse->lines(),
             QStringList{d1 + s(" 至 ") + d2 + s(" 间：")}
                 + sl({"新增客户数量： 2 个", "", "新增业务数量： 3 个", "其中：", "收入合同金额合计：300 元", "",
                       "支出合同金额合计：30 元", ""}));
    QCOMPARE(frmTimeAnalyse->chart()->title(), d1 + s("至") + d2 + s("收入业务分析"));
    QCOMPARE(frmTimeAnalyse->chart()->pieSeries()->count(), 2);
}

void TestAnalyses::cancelChangesNothing()
{
    periodRows();
    frmTimeAnalyse->showResult({{s("旧行")}, {}, s("旧标题"), ChartKind::Pie});
    for (int kind = 0; kind < 3; ++kind)
        runTimeQuery(kind, [](TfrmPeriodQuery *d) { QTest::mouseClick(d->cancelButton(), Qt::LeftButton); });
    QCOMPARE(m_rec->modalWindows, sl({"frmYearQuery", "frmSeasonQuery", "frmTimeSectQuery"}));
    QCOMPARE(frmTimeAnalyse->lines(), QStringList{s("旧行")});
    QCOMPARE(frmTimeAnalyse->chart()->title(), s("旧标题"));
}

void TestAnalyses::thirtyOneCustomersGiveOtherSlice()
{
    Database &db = *dmMain->database();
    {
        Transaction tx(db);
        TableInserter c(db, s("tblCustomers"), sl({"CustId", "CustName"}));
        TableInserter op(db, s("tblOperates"), sl({"OperateID", "CustID", "InOrOut", "RMB", "CreateDate"}));
        for (int i = 1; i <= 31; ++i) {
            c.insert({QStringLiteral("C%1").arg(i), QStringLiteral("客户%1").arg(i)});
            op.insert({QStringLiteral("O%1").arg(i), QStringLiteral("C%1").arg(i), s("收款"), double(i * 10), at(m_today)});
        }
        tx.commit();
    }
    runTimeQuery(2, [](TfrmPeriodQuery *d) { d->confirm(); });
    QPieSeries *pie = frmTimeAnalyse->chart()->pieSeries();
    QCOMPARE(pie->count(), 30);
    QCOMPARE(pie->slices().last()->label().section(u' ', 0, 0), s("其他"));
    QCOMPARE(pie->slices().last()->value(), 30.0);  // 10 + 20
    QCOMPARE(pie->sum(), 4960.0);
    QCOMPARE(dmMain->qryChartTime->recordCount(), 31);
}

// ---- errors and the window

void TestAnalyses::failedQueryChangesNothing_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("level") << "frmCustLevelAnalyse";
    QTest::newRow("time, year dialog") << "frmTimeAnalyse";
}

void TestAnalyses::failedQueryChangesNothing()
{
    QFETCH(QString, page);
    standardRows();
    periodRows();
    AnalysisPage *p = openPage(analysisPage(page.toLatin1().constData()));
    if (p == frmTimeAnalyse)
        runTimeQuery(0, [](TfrmPeriodQuery *d) { d->confirm(); });
    else
        p->refresh();
    const QStringList lines = p->lines();
    const QString title = p->chart()->title();
    const int slices = p->chart()->pieSeries()->count();
    QVERIFY(!lines.isEmpty() && slices > 0);
    dmMain->database()->exec(p == frmTimeAnalyse ? s("alter table tblCustomers rename to tblCustomersOld")
                                                 : s("alter table tblCustLevel rename to tblCustLevelOld"));
    bool stayed = false;
    if (p == frmTimeAnalyse) {
        runTimeQuery(0, [&](TfrmPeriodQuery *d) { stayed = !d->confirm(); });
        QVERIFY(stayed);
    } else {
        p->kindBox()->setCurrentIndex(1);
        QTest::mouseClick(p->refreshButton(), Qt::LeftButton);
    }
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(m_rec->lastText().contains(QStringLiteral("tblCust")));
    QCOMPARE(p->lines(), lines);
    QCOMPARE(p->chart()->title(), title);
    QCOMPARE(p->chart()->pieSeries()->count(), slices);
}

void TestAnalyses::popupFollowsNavigation()
{
    AnalysisPage *p = openPage(frmCustStateAnalyse);
    QMenu *menu = p->popupMenu();
    QCOMPARE(captions(menu->actions()).filter(QRegularExpression(QStringLiteral("."))),
             sl({"显示列表", "隐藏列表", "显示导航条", "隐藏导航条"}));
    Q_EMIT menu->aboutToShow();
    QCOMPARE(captions(enabledActions(menu)), sl({"隐藏列表", "隐藏导航条"}));
    menu->actions().at(1)->trigger();  // 隐藏列表
    QVERIFY(p->list()->isHidden());
    QCOMPARE(captions(enabledActions(menu)), sl({"显示列表", "隐藏导航条"}));
    menu->actions().at(4)->trigger();  // 隐藏导航条
    QVERIFY(!m_main->isNavigationVisible());
    QVERIFY(!m_main->findChild<QAction *>(s("Win_Navigation"))->isChecked());
    Q_EMIT menu->aboutToShow();
    QCOMPARE(captions(enabledActions(menu)), sl({"显示列表", "显示导航条"}));
    // "系统导航" shows the panel meanwhile: the items follow when the menu opens again.
    m_main->findChild<QAction *>(s("Win_Navigation"))->trigger();
    QVERIFY(m_main->isNavigationVisible());
    Q_EMIT menu->aboutToShow();
    QCOMPARE(captions(enabledActions(menu)), sl({"显示列表", "隐藏导航条"}));
    menu->actions().at(0)->trigger();  // 显示列表
    QVERIFY(!p->list()->isHidden());
}

void TestAnalyses::financePopupHasNavigationOnly()
{
    openPage(frmFinanceAnalyse);
    QVERIFY(!frmFinanceAnalyse->list());
    QCOMPARE(captions(frmFinanceAnalyse->popupMenu()->actions()), sl({"显示导航条", "隐藏导航条"}));
    m_main->setNavigationVisible(false);
    Q_EMIT frmFinanceAnalyse->popupMenu()->aboutToShow();
    QCOMPARE(captions(enabledActions(frmFinanceAnalyse->popupMenu())), sl({"显示导航条"}));
}

void TestAnalyses::closeBringsScheduleBack()
{
    for (const AnalysisMember &m : analysisMembers()) {
        AnalysisPage *p = openPage(analysisPage(m.objectName));
        QCOMPARE(m_main->currentPage(), p);
        m_main->selectTab(s("业务管理"));
        QTest::mouseClick(p->findChild<QPushButton *>(QStringLiteral("btnClose")), Qt::LeftButton);
        QCOMPARE(m_main->currentPage(), m_main->schedulePage());
        QCOMPARE(m_main->currentNavigationTab(), s("图表分析"));
    }
}

void TestAnalyses::reopeningResetsDatesKeepsChart()
{
    standardRows();
    AnalysisPage *p = openPage(frmOperateSortAnalyse);
    QCOMPARE(p->startEdit()->date(), m_today.addDays(-30));
    QCOMPARE(p->endEdit()->date(), m_today);
    p->refresh();
    const QString title = p->chart()->title();
    p->startEdit()->setDate(m_today.addDays(-365));
    p->endEdit()->setDate(m_today.addDays(-200));
    m_main->showSchedulePage();
    openPage(p);
    QCOMPARE(p->startEdit()->date(), m_today.addDays(-30));
    QCOMPARE(p->endEdit()->date(), m_today);
    QCOMPARE(p->chart()->title(), title);
    QCOMPARE(p->chart()->bars().size(), 2);
}

QTEST_MAIN(TestAnalyses)
#include "tst_analyses.moc"
