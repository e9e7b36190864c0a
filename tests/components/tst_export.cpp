// Exporting a grid: the rows as shown, safe CSV, a real spreadsheet read back, who may
// export, the log entry, and files that are never left half written.
#include "DbGrid.h"
#include "GridExport.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Reads an .xlsx with openpyxl: every cell's value and type, the header's boldness, the frozen pane.
QJsonObject readXlsx(const QString &path)
{
    const char *script = R"(
import json, sys, datetime, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
rows = []
for row in ws.iter_rows():
    rows.append([[('' if c.value is None else str(c.value)), type(c.value).__name__, c.data_type] for c in row])
print(json.dumps({'rows': rows, 'bold': ws['A1'].font.b, 'freeze': ws.freeze_panes}, ensure_ascii=False))
)";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

}  // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void csvFields_data();
    void csvFields();
    void csvHoldsTheRowsAsShown();
    void xlsxReadsBack();
    void exportNeedsThePrintRight_data();
    void exportNeedsThePrintRight();
    void exportIsLogged();
    void cancelOrFailureLeavesNoHalfFile_data();
    void cancelOrFailureLeavesNoHalfFile();

private:
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<SeamRecorder> m_rec;
    TableDataset *m_ops = nullptr;
    DbGrid *m_grid = nullptr;
};

void TestExport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("OperateTitle"), s("CustID"), s("Link"), s("CreateDate"), s("RMB")});
    op.insert({s("O1"), s("保姆服务"), s("C1"), true, QDateTime(QDate(2026, 12, 1), QTime(9, 30)), 1234.5});
    op.insert({s("O2"), s("=HYPERLINK(\"http://x\")"), s("C2"), false, QDate(2026, 12, 2), 50.0});
    op.insert({s("O3"), s("钟点工, \"加班\"\n第二行"), s("C1"), false, QVariant(), QVariant()});
    op.insert({s("O4"), s("-1+1"), s("C2"), true, QDate(2030, 7, 4), 9000.0});
}

void TestExport::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    m_db = m_dir->open();
    m_window = std::make_unique<QWidget>();
    m_window->setWindowTitle(s("业务列表"));
    m_ops = new TableDataset(m_db.get(), s("tblOperates"), s("tblOperates"), {}, m_window.get());
    auto *source = new DataSource(s("dsOperates"), m_ops, m_window.get());
    m_ops->open();
    m_grid = new DbGrid(m_window.get());
    m_grid->setColumns({GridColumn::text(s("业务编码"), s("OperateID"), 70), GridColumn::text(s("业务标题"), s("OperateTitle"), 200),
                        GridColumn::text(s("客户"), s("CustID"), 60), GridColumn::check(s("关联"), s("Link")),
                        GridColumn::text(s("建档时间"), s("CreateDate"), 120), GridColumn::money(s("金额"), s("RMB"), 90),
                        GridColumn::text(s("隐藏"), s("LinkmanID"), 50)});
    m_grid->view()->setColumnHidden(6, true);
    m_grid->setDataSource(source);
    m_grid->setExportPermission([] { return true; });
}

void TestExport::cleanup()
{
    DbGrid::setExportLogger({});
    m_window.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestExport::csvFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "保姆" << true << "保姆";
    QTest::newRow("comma") << "a,b" << true << "\"a,b\"";
    QTest::newRow("quote") << "说\"好\"" << true << "\"说\"\"好\"\"\"";
    QTest::newRow("line break") << "a\r\nb" << true << "\"a\r\nb\"";
    QTest::newRow("formula") << "=1+1" << true << "'=1+1";
    QTest::newRow("plus") << "+86 10" << true << "'+86 10";
    QTest::newRow("minus") << "-x" << true << "'-x";
    QTest::newRow("at") << "@cmd" << true << "'@cmd";
    QTest::newRow("tab") << "\tx" << true << "'\tx";
    QTest::newRow("formula with comma") << "=A1,B1" << true << "\"'=A1,B1\"";
    QTest::newRow("negative number is a number") << "-5" << false << "-5";
    QTest::newRow("empty") << "" << true << "";
}

void TestExport::csvFields()
{
    QFETCH(QString, text);
    QFETCH(bool, isText);
    QFETCH(QString, field);
    QCOMPARE(GridExport::csvField(text, isText), field);
}

void TestExport::csvHoldsTheRowsAsShown()
{
    // Filtered, sorted by amount downwards, grouped by customer: the file follows the grid.
    m_ops->setFilter(s("OperateID='O1' or OperateID='O2' or OperateID='O3'"));
    m_ops->setFiltered(true);
    m_grid->sortBy(s("RMB"), Qt::DescendingOrder);
    m_grid->groupBy(s("CustID"));
    m_grid->view()->header()->moveSection(2, 0);  // the customer column first
    const QString path = m_dir->file(s("业务.csv"));
    m_rec->files.enqueue(path);
    QVERIFY(m_grid->exportRows(DbGrid::ExportFormat::Csv));
    const QByteArray bytes = m_dir->readFile(s("业务.csv"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY(text.endsWith(s("\r\n")));
    const QString expected = s("客户,业务编码,业务标题,关联,建档时间,金额\r\n"
                               "C1,O1,保姆服务,√,2026/12/1 09:30:00,1234.50\r\n"
                               "C1,O3,\"钟点工, \"\"加班\"\"\n第二行\",,,\r\n"
                               "C2,O2,\"'=HYPERLINK(\"\"http://x\"\")\",,2026/12/2,50.00\r\n");
    QCOMPARE(text, expected);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestExport::xlsxReadsBack()
{
    m_grid->sortBy(s("OperateID"));
    const QString path = m_dir->file(s("业务"));  // the suffix is added
    m_rec->files.enqueue(path);
    QVERIFY(m_grid->exportRows(DbGrid::ExportFormat::Xlsx));
    const QJsonObject book = readXlsx(path + s(".xlsx"));
    QVERIFY(!book.isEmpty());
    QCOMPARE(book.value(s("bold")).toBool(), true);
    QCOMPARE(book.value(s("freeze")).toString(), s("A2"));
    const QJsonArray rows = book.value(s("rows")).toArray();
    QCOMPARE(rows.size(), 5);
    const auto cell = [&](int r, int c) { return rows.at(r).toArray().at(c).toArray(); };
    QStringList header;
    for (const QJsonValue &v : rows.at(0).toArray())
        header << v.toArray().at(0).toString();
    QCOMPARE(header, (QStringList{"业务编码", "业务标题", "客户", "关联", "建档时间", "金额"}));
    QCOMPARE(cell(1, 1).at(0).toString(), s("保姆服务"));
    QCOMPARE(cell(1, 3).at(0).toString(), s("√"));
    QCOMPARE(cell(1, 4).at(1).toString(), s("datetime"));
    QCOMPARE(cell(1, 4).at(0).toString(), s("2026-12-01 09:30:00"));
    QCOMPARE(cell(1, 5).at(1).toString(), s("float"));
    QCOMPARE(cell(1, 5).at(0).toString(), s("1234.5"));
    // A text that looks like a formula stays a string.
    QCOMPARE(cell(2, 1).at(0).toString(), s("=HYPERLINK(\"http://x\")"));
    QCOMPARE(cell(2, 1).at(2).toString(), s("s"));
    QCOMPARE(cell(3, 1).at(0).toString(), s("钟点工, \"加班\"\n第二行"));
    QCOMPARE(cell(4, 4).at(0).toString(), s("2030-07-04 00:00:00"));
    QCOMPARE(cell(4, 1).at(2).toString(), s("s"));
}

void TestExport::exportNeedsThePrintRight_data()
{
    QTest::addColumn<int>("window");   // -1: the window said nothing; 0 no; 1 yes
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("print right") << 1 << false << true;
    QTest::newRow("no print right") << 0 << true << false;
    QTest::newRow("window silent, system user") << -1 << true << true;
    QTest::newRow("window silent, other user") << -1 << false << false;
}

void TestExport::exportNeedsThePrintRight()
{
    QFETCH(int, window);
    QFETCH(bool, fallback);
    QFETCH(bool, allowed);
    if (window < 0)
        m_grid->setExportPermission({});
    else
        m_grid->setExportPermission([window] { return window == 1; });
    DbGrid::setDefaultExportPermission([fallback] { return fallback; });
    const QString path = m_dir->file(s("x.csv"));
    m_rec->files.enqueue(path);
    QCOMPARE(m_grid->canExport(), allowed);
    QCOMPARE(m_grid->exportRows(DbGrid::ExportFormat::Csv), allowed);
    QCOMPARE(QFile::exists(path), allowed);
    QCOMPARE(m_rec->files.isEmpty(), allowed);  // refused: no file dialog at all
    QMenu menu;
    m_grid->addContextActions(&menu);
    QCOMPARE(m_grid->exportAction(DbGrid::ExportFormat::Xlsx)->isEnabled(), allowed);
    DbGrid::setDefaultExportPermission({});
}

void TestExport::exportIsLogged()
{
    QStringList log;
    DbGrid::setExportLogger([&log](const QString &entry) { log << entry; });
    m_rec->files.enqueue(m_dir->file(s("客户.xlsx")));
    QVERIFY(m_grid->exportRows(DbGrid::ExportFormat::Xlsx));
    m_rec->files.enqueue(QString());  // the file dialog cancelled: nothing written, nothing logged
    QVERIFY(!m_grid->exportRows(DbGrid::ExportFormat::Csv));
    QCOMPARE(log, QStringList{s("导出-业务列表-客户.xlsx")});
}

void TestExport::cancelOrFailureLeavesNoHalfFile_data()
{
    QTest::addColumn<bool>("xlsx");
    QTest::addColumn<bool>("cancel");  // false: the folder cannot be written
    QTest::newRow("csv cancelled") << false << true;
    QTest::newRow("xlsx cancelled") << true << true;
    QTest::newRow("csv into a missing folder") << false << false;
    QTest::newRow("xlsx into a missing folder") << true << false;
}

void TestExport::cancelOrFailureLeavesNoHalfFile()
{
    QFETCH(bool, xlsx);
    QFETCH(bool, cancel);
    QDir out(m_dir->file(s("out")));
    QVERIFY(out.mkpath(s(".")));
    const QString path = cancel ? out.filePath(s("old.dat")) : out.filePath(s("missing/new.dat"));
    if (cancel) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("OLD");
    }
    int calls = 0;
    const GridExport::Progress stop = [&calls, cancel](int, int) { return ++calls < 2 || !cancel; };
    // Enough rows for the progress to be asked twice, written in one transaction.
    {
        Transaction tx(*m_db);
        for (int i = 0; i < 600; ++i) {
            m_ops->append();
            m_ops->field(s("OperateID")).setValue(s("N%1").arg(i));
            m_ops->post();
        }
        tx.commit();
    }
    const auto columns = GridExport::shownColumns(*m_grid);
    const GridExport::Result r = xlsx ? GridExport::writeXlsx(path, *m_grid->model(), columns, stop)
                                      : GridExport::writeCsv(path, *m_grid->model(), columns, stop);
    QVERIFY(!r.written);
    QCOMPARE(r.cancelled, cancel);
    QCOMPARE(r.error.isEmpty(), cancel);
    if (cancel) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("OLD"));
    }
    // Nothing else was left in the folder: no temporary file.
    QCOMPARE(out.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             cancel ? QStringList{s("old.dat")} : QStringList());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
