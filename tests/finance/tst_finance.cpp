// Receivables and payables (lists, date dialog, refresh, rights, printing) and the
// business-record query dialog, on a small encrypted database.
#include "ActionGate.h"
#include "Dataset.h"
#include "DateText.h"
#include "DbGrid.h"
#include "FinanceWindows.h"
#include "LogEntries.h"
#include "NumberText.h"
#include "PasswordHash.h"
#include "QueryDataset.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uGathering.h"
#include "uInOutQuery.h"
#include "uMain.h"
#include "uOperateQuery1.h"
#include "uPublic.h"
#include "uReport.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

using Ids = QStringList;

// The business codes of a dataset's visible rows, sorted.
Ids idsOf(Dataset *d)
{
    Ids out;
    if (!d->isActive())
        return out;
    const int f = d->fieldIndex(s("OperateID"));
    for (int r = 0; r < d->recordCount(); ++r)
        out << d->textAt(r, f);
    out.sort();
    return out;
}

// Users: Admin (system); wang and li (every sub-right of 306 and 307); o'neil (306 with
// Query only, 307 with Print only); guest (neither window).
// Customers C1 王宅, C2 李宅. Business records (收款 unless told), each with
// InOrOut, customer, RMB, contract amount, end date, owner, staff, state, title, created:
//   G1 C1 1000   7000 03-01 wang   OP1  S1 保姆合同        2026-03-01  items 收入 300, 业务联系 200
//   G2 C1  100    100 03-10 li     OP12 S1 O'Brien 月嫂    2026-03-02  items 拜访 60, 招待 50, 支出 10 (overpaid)
//   G3 C2 0.30   0.30 03-31 wang   OP13 S2 50%_off 钟点工  2026-03-31  items 0.10, 0.20 (settled exactly)
//   G4 C2 (none)   50 03-15 li     OP2  S2 无币别          2026-04-01  item 50
//   G5 C1  500    500 03-15 o'neil OP2  S3 空折算          -           item without RMB
//   G6 C1  100    100 03-15 wang   OP1  S1 无子项          2016-03-01  no items
//   G7 CX  100    100 03-15 wang   OP1  S1 客户已删        2016-02-29  item 10, customer gone
//   G8 C2   40     40 04-01 wang   OP2  S2 次月截止        -           item 10
//   P1 付款 C2 800 800 03-15 li    OP2  S2 采购            -           item 支出 300
//   P2 付款 C1 200 200 03-15 li    OP2  S2 付款无子项      -           no items
//   P3 付款 C1  10  15 02-28 li    OP2  S2 上月截止        -           item 10 (settled)
struct Op
{
    const char *id, *inOut, *cust;
    QVariant rmb;
    double compact;
    QDate end;
    const char *owner, *staff, *state, *title;
    QDate created;
};

const QDate March1(2026, 3, 1);

void makeTemplate(TestAppDir &t)
{
    auto db = t.open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *u : {"wang", "li", "o'neil", "guest"})
        user.insert({s(u), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const char *u : {"wang", "li"})
        for (const char *code : {"306", "307"})
            right.insert({s(u), s(code), true, true, true, true, true});
    right.insert({s("o'neil"), s("306"), true, true, true, true, false});
    right.insert({s("o'neil"), s("307"), true, true, true, false, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser")});
    c.insert({s("C1"), s("王宅"), s("wang")});
    c.insert({s("C2"), s("李宅"), s("li")});
    const QVariant none;
    const QList<Op> ops{
        {"G1", "收款", "C1", 1000.0, 7000, QDate(2026, 3, 1), "wang", "OP1", "S1", "保姆合同", QDate(2026, 3, 1)},
        {"G2", "收款", "C1", 100.0, 100, QDate(2026, 3, 10), "li", "OP12", "S1", "O'Brien 月嫂", QDate(2026, 3, 2)},
        {"G3", "收款", "C2", 0.30, 0.30, QDate(2026, 3, 31), "wang", "OP13", "S2", "50%_off 钟点工", QDate(2026, 3, 31)},
        {"G4", "收款", "C2", none, 50, QDate(2026, 3, 15), "li", "OP2", "S2", "无币别", QDate(2026, 4, 1)},
        {"G5", "收款", "C1", 500.0, 500, QDate(2026, 3, 15), "o'neil", "OP2", "S3", "空折算", {}},
        {"G6", "收款", "C1", 100.0, 100, QDate(2026, 3, 15), "wang", "OP1", "S1", "无子项", QDate(2016, 3, 1)},
        {"G7", "收款", "CX", 100.0, 100, QDate(2026, 3, 15), "wang", "OP1", "S1", "客户已删", QDate(2016, 2, 29)},
        {"G8", "收款", "C2", 40.0, 40, QDate(2026, 4, 1), "wang", "OP2", "S2", "次月截止", {}},
        {"P1", "付款", "C2", 800.0, 800, QDate(2026, 3, 15), "li", "OP2", "S2", "采购", {}},
        {"P2", "付款", "C1", 200.0, 200, QDate(2026, 3, 15), "li", "OP2", "S2", "付款无子项", {}},
        {"P3", "付款", "C1", 10.0, 15, QDate(2026, 2, 28), "li", "OP2", "S2", "上月截止", {}},
    };
    TableInserter o(*db, s("tblOperates"),
                    {s("OperateID"), s("InOrOut"), s("CustID"), s("CurrID"), s("RMB"), s("CompactAmount"), s("EndDate"),
                     s("SUser"), s("OperaterID"), s("OperateStateID"), s("OperateTitle"), s("CreateDate"), s("WriteDate")});
    for (const Op &op : ops)
        o.insert({s(op.id), s(op.inOut), s(op.cust), op.rmb.isNull() ? none : QVariant(s("RMB")), op.rmb, op.compact,
                  op.end, s(op.owner), s(op.staff), s(op.state), s(op.title),
                  op.created.isValid() ? QVariant(op.created) : none, QDate(2026, 1, 5)});
    TableInserter d(*db, s("tblOperateDetail"), {s("OperateID"), s("DetailNo"), s("InOut"), s("RMB")});
    const struct
    {
        const char *op, *no, *kind;
        QVariant rmb;
    } items[] = {
        {"G1", "1", "收入", 300.0},   {"G1", "2", "业务联系", 200.0}, {"G2", "1", "拜访", 60.0},
        {"G2", "2", "招待", 50.0},    {"G2", "3", "支出", 10.0},      {"G3", "1", "收入", 0.10},
        {"G3", "2", "收入", 0.20},    {"G4", "1", "收入", 50.0},      {"G5", "1", "收入", none},
        {"G7", "1", "收入", 10.0},    {"G8", "1", "收入", 10.0},      {"P1", "1", "支出", 300.0},
        {"P3", "1", "支出", 10.0},
    };
    for (const auto &i : items)
        d.insert({s(i.op), s(i.no), s(i.kind), i.rmb});
    tx.commit();
}

}  // namespace

class TestFinance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void moneyText_data();
    void moneyText();
    void lists_data();
    void lists();
    void range_data();
    void range();
    void refreshKeepsTheRange();
    void callerPicksTheList_data();
    void callerPicksTheList();
    void rights_data();
    void rights();
    void print_data();
    void print();
    void openErrorLeavesTheListClosed();
    void closeShowsTheSchedule();

    void operateQuery_data();
    void operateQuery();
    void operateQueryNeedsText_data();
    void operateQueryNeedsText();
    void operatePeriod_data();
    void operatePeriod();
    void operateQueryCancelChangesNothing();

private:
    void openAs(const QString &user);
    TfrmInOut *window(bool receivables) const
    {
        return receivables ? static_cast<TfrmInOut *>(frmGathering) : static_cast<TfrmInOut *>(frmPayment);
    }
    // The grid's text of a column on the row of a business code; "<absent>" when not listed.
    static QString cell(TfrmInOut *w, const QString &id, int column);
    // Runs the business-record query with the given choices; true when it closed.
    static bool runOperateQuery(TfrmOperateQuery1 &dialog, int kind, const QString &text, QWidget **focus = nullptr);

    std::unique_ptr<TestAppDir> m_template;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestFinance::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    DateText::reloadFormats();
    m_template = std::make_unique<TestAppDir>();
    makeTemplate(*m_template);
}

void TestFinance::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installFinanceWindows(*m_main);
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
}

void TestFinance::cleanup()
{
    InOutQueryCaller.clear();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestFinance::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

QString TestFinance::cell(TfrmInOut *w, const QString &id, int column)
{
    QAbstractItemModel *m = w->grid()->view()->model();
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 0).data().toString() == id)
            return m->index(r, column).data().toString();
    return s("<absent>");
}

void TestFinance::moneyText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("a sum of fractions a hair below zero") << (0.30 - (0.10 + 0.20)) << "0.00";
    QTest::newRow("a hair above zero") << 1e-12 << "0.00";
    QTest::newRow("rounds to minus one cent") << -0.005001 << "-0.01";
    QTest::newRow("negative keeps its sign") << -20.0 << "-20.00";
    QTest::newRow("group separators") << 1234567.891 << "1,234,567.89";
    QTest::newRow("zero") << 0.0 << "0.00";
}

void TestFinance::moneyText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::fixed(value), text);
}

void TestFinance::lists_data()
{
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("rmb");
    QTest::addColumn<QString>("collected");
    QTest::addColumn<QString>("outstanding");
    const QString absent = s("<absent>");
    QTest::newRow("items of 收入 and 业务联系") << true << "G1" << "1,000.00" << "500.00" << "500.00";
    QTest::newRow("拜访, 招待 and 支出 count; overpaid") << true << "G2" << "100.00" << "120.00" << "-20.00";
    QTest::newRow("0.30 settled by 0.10 + 0.20") << true << "G3" << "0.30" << "0.30" << "0.00";
    QTest::newRow("no currency: outstanding empty") << true << "G4" << "" << "50.00" << "";
    QTest::newRow("items without RMB: both empty") << true << "G5" << "500.00" << "" << "";
    QTest::newRow("no items: not listed") << true << "G6" << absent << absent << absent;
    QTest::newRow("customer gone: not listed") << true << "G7" << absent << absent << absent;
    QTest::newRow("payable not among receivables") << true << "P1" << absent << absent << absent;
    QTest::newRow("payable") << false << "P1" << "800.00" << "300.00" << "500.00";
    QTest::newRow("payable without items") << false << "P2" << absent << absent << absent;
    QTest::newRow("receivable not among payables") << false << "G1" << absent << absent << absent;
}

void TestFinance::lists()
{
    QFETCH(bool, receivables);
    QFETCH(QString, id);
    QFETCH(QString, rmb);
    QFETCH(QString, collected);
    QFETCH(QString, outstanding);
    openAs(s("wang"));
    m_main->action(receivables ? s("Act_Gathering") : s("Act_Payment"))->trigger();
    TfrmInOut *w = window(receivables);
    QCOMPARE(m_main->currentPage(), w->PnMain);
    QCOMPARE(logEntries().last(), receivables ? s("客户业务管理-应收账款") : s("客户业务管理-应付账款"));
    QVERIFY(w->query()->isActive());
    QVERIFY(w->grid()->isGroupPanelVisible());
    QCOMPARE(w->grid()->view()->model()->columnCount(), 11);
    QCOMPARE(w->grid()->view()->model()->headerData(9, Qt::Horizontal).toString(),
             receivables ? s("已收账款") : s("已付账款"));
    QCOMPARE(w->grid()->view()->model()->headerData(10, Qt::Horizontal).toString(),
             receivables ? s("未收账款") : s("未付账款"));
    QCOMPARE(cell(w, id, 7), rmb);
    QCOMPARE(cell(w, id, 9), collected);
    QCOMPARE(cell(w, id, 10), outstanding);
    // Dates of the joined statement show as dates, without a midnight time.
    if (rmb != s("<absent>")) {
        QCOMPARE(cell(w, id, 4), DateText::shortDate(QDate(2026, 1, 5)));
        QVERIFY2(!cell(w, id, 8).contains(u':'), qPrintable(cell(w, id, 8)));
        QCOMPARE(DateText::parseShortDate(cell(w, id, 8)).isValid(), true);
    }
    // The grid starts in ascending order of the business code.
    QCOMPARE(w->grid()->view()->header()->sortIndicatorSection(), 0);
    QCOMPARE(w->grid()->view()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
}

void TestFinance::range_data()
{
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<Ids>("ids");
    QTest::newRow("March: both ends in, the day after out") << true << March1 << QDate(2026, 3, 31)
                                                        << Ids{"G1", "G2", "G3", "G4", "G5"};
    QTest::newRow("one day") << true << March1 << March1 << Ids{"G1"};
    QTest::newRow("start after end: empty") << true << QDate(2026, 3, 31) << March1 << Ids{};
    QTest::newRow("payables: the day before out") << false << March1 << QDate(2026, 3, 31) << Ids{"P1"};
    QTest::newRow("payables: ten years") << false << QDate(2016, 1, 1) << QDate(2026, 12, 31)
                                         << Ids{"P1", "P3"};
}

void TestFinance::range()
{
    QFETCH(bool, receivables);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(Ids, ids);
    openAs(s("wang"));
    m_main->action(receivables ? s("Act_Gathering") : s("Act_Payment"))->trigger();
    QVERIFY(window(receivables)->openRange(from, to));
    QCOMPARE(idsOf(window(receivables)->query()), ids);
    QCOMPARE(window(receivables)->grid()->view()->model()->rowCount(), int(ids.size()));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestFinance::refreshKeepsTheRange()
{
    openAs(s("wang"));
    m_main->action(s("Act_Gathering"))->trigger();
    QVERIFY(frmGathering->openRange(March1, QDate(2026, 3, 31)));
    m_dm->database()->exec(s("insert into tblOperateDetail (OperateID, DetailNo, InOut, RMB) values ('G1', '3', '收入', 100)"));
    frmGathering->Act_Refresh->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-应收账款-刷新"));
    QCOMPARE(cell(frmGathering, s("G1"), 9), s("600.00"));
    QCOMPARE(cell(frmGathering, s("G1"), 10), s("400.00"));
    QCOMPARE(idsOf(dmMain->qryGathering), (Ids{"G1", "G2", "G3", "G4", "G5"}));
    // Opening from the main window drops the range.
    m_main->action(s("Act_Gathering"))->trigger();
    QCOMPARE(idsOf(dmMain->qryGathering), (Ids{"G1", "G2", "G3", "G4", "G5", "G8"}));
}

void TestFinance::callerPicksTheList_data()
{
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<bool>("ok");
    QTest::newRow("receivables, 确定") << true << true;
    QTest::newRow("payables, 确定") << false << true;
    QTest::newRow("receivables, 取消") << true << false;
}

void TestFinance::callerPicksTheList()
{
    QFETCH(bool, receivables);
    QFETCH(bool, ok);
    openAs(s("wang"));
    m_main->action(s("Act_Gathering"))->trigger();
    m_main->action(s("Act_Payment"))->trigger();
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *q = qobject_cast<TfrmInOutQuery *>(d);
        if (!q)
            return QDialog::Rejected;
        q->show();
        // Opens with the last 30 days.
        if (q->startEdit()->date() != QDate::currentDate().addDays(-30) || q->endEdit()->date() != QDate::currentDate())
            return -1;
        q->startEdit()->setDate(March1);
        q->endEdit()->setDate(QDate(2026, 3, 31));
        QTest::mouseClick(ok ? q->okButton() : q->cancelButton(), Qt::LeftButton);
        const int result = q->result();
        q->hide();
        return result;
    };
    ActionGate::instance()->evaluate();
    window(receivables)->Act_Query->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmInOutQuery"});
    QCOMPARE(InOutQueryCaller, receivables ? s("应收账款") : s("应付账款"));
    QCOMPARE(logEntries().last(), receivables ? s("客户业务管理-应收账款-查询") : s("客户业务管理-应付账款-查询"));
    const Ids allReceivable{"G1", "G2", "G3", "G4", "G5", "G8"};
    const Ids allPayable{"P1", "P3"};
    const Ids marchReceivable{"G1", "G2", "G3", "G4", "G5"};
    const Ids marchPayable{"P1"};
    QCOMPARE(idsOf(dmMain->qryGathering), receivables && ok ? marchReceivable : allReceivable);
    QCOMPARE(idsOf(dmMain->qryPayment), !receivables && ok ? marchPayable : allPayable);
    if (ok)
        QCOMPARE(window(receivables)->query()->param(s("EndDate1")).toDate(), March1);
}

void TestFinance::rights_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("query");
    QTest::addColumn<bool>("print");
    QTest::newRow("wang, receivables") << "wang" << true << true << true << true;
    QTest::newRow("wang, payables") << "wang" << false << true << true << true;
    QTest::newRow("o'neil, receivables: query only") << "o'neil" << true << true << true << false;
    QTest::newRow("o'neil, payables: print only") << "o'neil" << false << true << false << true;
    QTest::newRow("guest: neither") << "guest" << true << false << false << false;
}

void TestFinance::rights()
{
    QFETCH(QString, user);
    QFETCH(bool, receivables);
    QFETCH(bool, open);
    QFETCH(bool, query);
    QFETCH(bool, print);
    openAs(user);
    QCOMPARE(m_main->action(receivables ? s("Act_Gathering") : s("Act_Payment"))->isEnabled(), open);
    TfrmInOut *w = window(receivables);
    w->open();
    ActionGate::instance()->evaluate();
    QCOMPARE(w->Act_Query->isEnabled(), query);
    QCOMPARE(w->Act_Print->isEnabled(), print);
    QVERIFY(w->Act_Refresh->isEnabled());
    QVERIFY(w->Act_Close->isEnabled());
    QCOMPARE(w->grid()->canExport(), print);
    // A refused command does nothing, not even its log entry.
    const int logged = logEntries().size();
    w->Act_Query->trigger();
    QCOMPARE(m_rec->modalWindows.isEmpty(), !query);
    if (!query)
        QCOMPARE(logEntries().size(), logged);
}

void TestFinance::print_data()
{
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<Ids>("listed");
    QTest::addColumn<QStringList>("totals");
    QTest::addColumn<QString>("contractTotal");  // must not be printed
    QTest::newRow("receivables") << true << Ids{"G1", "G2", "G3", "G4", "G5", "G8"}
                                 << QStringList{"1,640.30", "680.30", "510.00"} << "7,690.30";
    QTest::newRow("payables") << false << Ids{"P1", "P3"} << QStringList{"810.00", "310.00", "500.00"} << "815.00";
}

void TestFinance::print()
{
    QFETCH(bool, receivables);
    QFETCH(Ids, listed);
    QFETCH(QStringList, totals);
    QFETCH(QString, contractTotal);
    openAs(s("wang"));
    m_main->action(receivables ? s("Act_Gathering") : s("Act_Payment"))->trigger();
    const QString pdf = m_dir->file(s("printed.pdf"));
    m_rec->files << pdf;
    m_rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    ActionGate::instance()->evaluate();
    window(receivables)->Act_Print->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmReport"});
    QCOMPARE(logEntries().last(), receivables ? s("客户业务管理-应收账款-打印") : s("客户业务管理-应付账款-打印"));
    QProcess p;
    p.start(s("pdftotext"), {s("-layout"), pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    // One printed line per listed row between the captions and the totals.
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    const qsizetype header = lines.indexOf(lines.filter(s("币别")).value(0));
    const qsizetype totalsAt = lines.indexOf(lines.filter(s("合计")).value(0));
    QVERIFY2(header >= 0 && totalsAt > header, qPrintable(text));
    QCOMPARE(int(totalsAt - header - 1), int(listed.size()));
    if (receivables)
        QVERIFY2(text.contains(s("-20.00")), qPrintable(text));  // the overpaid contract keeps its sign
    const QString last = lines.at(totalsAt);
    for (const QString &t : totals)
        QVERIFY2(last.contains(t), qPrintable(t + u'\n' + last));
    QVERIFY2(!last.contains(contractTotal), qPrintable(last));
    QVERIFY2(!text.contains(s("-0.00")), qPrintable(text));
}

void TestFinance::openErrorLeavesTheListClosed()
{
    openAs(s("wang"));
    m_dm->database()->exec(s("alter table tblCustomers rename to tblCustomersGone"));
    m_main->action(s("Act_Gathering"))->trigger();
    QCOMPARE(int(m_rec->messages.size()), 1);
    QVERIFY(!dmMain->qryGathering->isActive());
    QCOMPARE(frmGathering->grid()->view()->model()->rowCount(), 0);
}

void TestFinance::closeShowsTheSchedule()
{
    openAs(s("wang"));
    m_main->action(s("Act_Payment"))->trigger();
    QCOMPARE(m_main->currentPage(), frmPayment->PnMain);
    frmPayment->Act_Close->trigger();
    QCOMPARE(m_main->currentPage(), m_main->schedulePage());
}

bool TestFinance::runOperateQuery(TfrmOperateQuery1 &dialog, int kind, const QString &text, QWidget **focus)
{
    dialog.show();
    dialog.otherButton()->setChecked(true);
    dialog.kindBox()->setCurrentIndex(kind);
    if (dialog.textEdit()->isEnabled())
        typeText(dialog.textEdit(), text);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    if (focus)
        *focus = dialog.focusWidget();
    const bool closed = !dialog.isVisible();
    dialog.hide();
    return closed;
}

void TestFinance::operateQuery_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filter");  // empty: the filter is off
    QTest::addColumn<Ids>("ids");
    const Ids all{"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "P1", "P2", "P3"};
    QTest::newRow("system: 所有业务") << "Admin" << 0 << "" << "" << all;
    QTest::newRow("wang: 所有业务") << "wang" << 0 << "" << "sUser='wang'" << Ids{"G1", "G3", "G6", "G7", "G8"};
    QTest::newRow("o'neil: 所有业务") << "o'neil" << 0 << "" << "sUser='o''neil'" << Ids{"G5"};
    QTest::newRow("system: 业务代码") << "Admin" << 1 << "P" << "OperateID Like '%P%'" << Ids{"P1", "P2", "P3"};
    QTest::newRow("wang: 业务代码") << "wang" << 1 << " G " << "OperateID Like '%G%' And sUser='wang'"
                                  << Ids{"G1", "G3", "G6", "G7", "G8"};
    QTest::newRow("system: 业务标题") << "Admin" << 2 << "合同" << "OperateTitle Like '%合同%'" << Ids{"G1"};
    QTest::newRow("system: 客户代码") << "Admin" << 3 << "C2" << "CustID Like '%C2%'" << Ids{"G3", "G4", "G8", "P1"};
    QTest::newRow("li: 客户代码") << "li" << 3 << "C2" << "CustID Like '%C2%' And sUser='li'" << Ids{"G4", "P1"};
    QTest::newRow("system: 业务员代码 exact") << "Admin" << 4 << "OP1" << "OperaterID='OP1'" << Ids{"G1", "G6", "G7"};
    QTest::newRow("system: 业务员代码 partial finds nothing") << "Admin" << 4 << "OP" << "OperaterID='OP'" << Ids{};
    QTest::newRow("wang: 业务员代码 as part") << "wang" << 4 << "OP1" << "OperaterID Like '%OP1%' And sUser='wang'"
                                        << Ids{"G1", "G3", "G6", "G7"};
    QTest::newRow("system: 业务状态代码") << "Admin" << 5 << "S1" << "OperateStateID='S1'" << Ids{"G1", "G2", "G6", "G7"};
    QTest::newRow("wang: 业务状态代码 his own") << "wang" << 5 << "S1" << "OperateStateID='S1' And sUser='wang'"
                                          << Ids{"G1", "G6", "G7"};
    QTest::newRow("system: a quote is a character") << "Admin" << 2 << "'" << "OperateTitle Like '%''%'" << Ids{"G2"};
    QTest::newRow("wang: a quote finds nothing of li's") << "wang" << 2 << "'"
                                                     << "OperateTitle Like '%''%' And sUser='wang'" << Ids{};
    QTest::newRow("wang: an injected or is plain text")
        << "wang" << 1 << "' or OperateID Like '" << "OperateID Like '%'' or OperateID Like ''%' And sUser='wang'" << Ids{};
    QTest::newRow("wang: a lone % lists his records") << "wang" << 1 << "%" << "OperateID Like '%%%' And sUser='wang'"
                                                  << Ids{"G1", "G3", "G6", "G7", "G8"};
    QTest::newRow("system: _ is one character") << "Admin" << 2 << "_off" << "OperateTitle Like '%_off%'" << Ids{"G3"};
    QTest::newRow("li: _ inside his own") << "li" << 1 << "G_" << "OperateID Like '%G_%' And sUser='li'" << Ids{"G2", "G4"};
    QTest::newRow("o'neil: his quote doubled") << "o'neil" << 1 << "G" << "OperateID Like '%G%' And sUser='o''neil'"
                                           << Ids{"G5"};
}

void TestFinance::operateQuery()
{
    QFETCH(QString, user);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, filter);
    QFETCH(Ids, ids);
    openAs(user);
    Dataset *o = dmMain->tblOperates2;
    o->setFilter(s("OperateID='none'"));  // an earlier query's filter: replaced
    o->setFiltered(true);
    o->open();
    TfrmOperateQuery1 dialog;
    QVERIFY(runOperateQuery(dialog, kind, text));
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(o->isFiltered(), !filter.isEmpty());
    if (!filter.isEmpty())
        QCOMPARE(o->filter(), filter);
    QCOMPARE(idsOf(o), ids);
}

void TestFinance::operateQueryNeedsText_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("focusOnText");
    QTest::newRow("system, empty") << "Admin" << "" << true;
    QTest::newRow("system, blanks only") << "Admin" << "   " << true;
    QTest::newRow("wang, blanks only") << "wang" << "  " << false;
}

void TestFinance::operateQueryNeedsText()
{
    QFETCH(QString, user);
    QFETCH(QString, text);
    QFETCH(bool, focusOnText);
    openAs(user);
    Dataset *o = dmMain->tblOperates2;
    o->setFilter(s("OperateID='G1'"));
    o->setFiltered(true);
    o->open();
    TfrmOperateQuery1 dialog;
    QWidget *focus = nullptr;
    QVERIFY(!runOperateQuery(dialog, 2, text, &focus));
    QCOMPARE(m_rec->texts(), QStringList{s("请输入查询条件!")});
    QCOMPARE(focus == dialog.textEdit(), focusOnText);
    QCOMPARE(o->filter(), s("OperateID='G1'"));
    QCOMPARE(idsOf(o), Ids{"G1"});
}

void TestFinance::operatePeriod_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("terms");
    QTest::addColumn<Ids>("ids");
    QTest::newRow("system: one day") << "Admin" << March1 << March1 << 1 << Ids{"G1"};
    QTest::newRow("system: 31 days, the day after out") << "Admin" << March1 << QDate(2026, 3, 31) << 31
                                                    << Ids{"G1", "G2", "G3"};
    QTest::newRow("system: reversed") << "Admin" << QDate(2026, 3, 31) << March1 << 31 << Ids{"G1", "G2", "G3"};
    QTest::newRow("wang: 31 days, his own") << "wang" << March1 << QDate(2026, 3, 31) << 31 << Ids{"G1", "G3"};
    QTest::newRow("system: ten years") << "Admin" << QDate(2016, 3, 1) << QDate(2026, 2, 28) << 3652 << Ids{"G6"};
    QTest::newRow("wang: ten years") << "wang" << QDate(2016, 3, 1) << March1 << 3653 << Ids{"G1", "G6"};
}

void TestFinance::operatePeriod()
{
    QFETCH(QString, user);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, terms);
    QFETCH(Ids, ids);
    openAs(user);
    Dataset *o = dmMain->tblOperates2;
    o->open();
    TfrmOperateQuery1 dialog;
    dialog.show();
    QVERIFY(dialog.rangeButton()->isChecked());
    QCOMPARE(dialog.startEdit()->date(), QDate::currentDate().addDays(-30));
    dialog.startEdit()->setDate(from);
    dialog.endEdit()->setDate(to);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(o->isFiltered());
    QCOMPARE(int(o->filter().count(s(" or "))) + 1, terms);
    const QDate first = std::min(from, to);
    const QString firstTerm = user == u"Admin" ? s("CreateDate=") + DateText::shortDate(first)
                                               : s("((CreateDate=") + DateText::shortDate(first) + s(") and (sUser='wang'))");
    QVERIFY2(o->filter().startsWith(firstTerm), qPrintable(o->filter().left(80)));
    if (terms == 1)
        QCOMPARE(o->filter(), firstTerm);
    QCOMPARE(idsOf(o), ids);
}

void TestFinance::operateQueryCancelChangesNothing()
{
    openAs(s("Admin"));
    Dataset *o = dmMain->tblOperates2;
    o->setFilter(s("OperateID='G2'"));
    o->setFiltered(true);
    o->open();
    TfrmOperateQuery1 dialog;
    dialog.show();
    dialog.otherButton()->setChecked(true);
    dialog.kindBox()->setCurrentIndex(1);
    typeText(dialog.textEdit(), s("G"));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(o->filter(), s("OperateID='G2'"));
    QCOMPARE(idsOf(o), Ids{"G2"});
}

QTEST_MAIN(TestFinance)
#include "tst_finance.moc"
