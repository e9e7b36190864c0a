// Layouts, rendering to real PDF pages (read back with pdftotext), the print service and preview.
#include "ReportLayout.h"
#include "ReportRenderer.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uReport.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QString layoutFile(const char *name)
{
    return s(QLM_LAYOUT_DIR) + u'/' + s(name) + s(".frf");
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(s("pdftotext"), {s("-layout"), pdf, s("-")});
    p.waitForFinished(30000);
    // The CJK font maps some glyphs back to Kangxi radicals (⼾ for 户): compare in NFKC,
    // where that radical becomes the traditional 戶, so take it back to the simplified form.
    return QString::fromUtf8(p.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC)
        .replace(QChar(0x6236), QChar(0x6237))
        .replace(QChar(0x2EDA), QChar(0x9875));  // ⻚ (a radical without a decomposition) for 页
}

// Whether the PDF text holds the words, compared without blanks and in NFKC (as pdfText reads).
bool has(const QString &text, const QString &words)
{
    QString a = text;
    QString b = words.normalized(QString::NormalizationForm_KC).replace(QChar(0x6236), QChar(0x6237));
    a.remove(u' ');
    b.remove(u' ');
    return a.contains(b);
}

}  // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void everyLayoutParses();
    void refusesBrokenLayouts_data();
    void refusesBrokenLayouts();
    void listPrintsTheRowsAsFiltered();
    void longListsPageWithTotals();
    void detailRestrictionAndSubtitle();
    void envelopesWithSender();
    void staffCardShowsPhotoWhenLoadable();
    void missingLayoutIsReportedByName();
    void previewWindow();

private:
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QObject> m_owner;
    TableDataset *m_customers = nullptr;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestReport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestReport::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    m_db = m_dir->open();
    Transaction tx(*m_db);
    TableInserter cust(*m_db, s("tblCustomers"), {s("CustId"), s("CustName"), s("LevelID"), s("SUser"), s("Address")});
    for (int i = 1; i <= 120; ++i)
        cust.insert({QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("客户%1号").arg(i),
                     i % 3 ? s("B") : s("A"), i % 2 ? s("wang") : s("li"), QStringLiteral("朝阳区%1号").arg(i)});
    TableInserter op(*m_db, s("tblOperates"), {s("OperateID"), s("CustID"), s("RMB"), s("CompactAmount")});
    op.insert({s("O1"), s("C001"), 1000.5, 1000.5});
    op.insert({s("O2"), s("C001"), 234.0, 234.0});
    op.insert({s("O3"), s("C002"), 99.0, 99.0});
    TableInserter link(*m_db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name")});
    link.insert({s("L1"), s("C001"), s("王一")});
    TableInserter info(*m_db, s("tblUserInfo"), {s("UserName"), s("Address"), s("PostCode")});
    info.insert({s("好帮手家政服务中心"), s("海淀区学院路8号"), s("100083")});
    tx.commit();
    m_owner = std::make_unique<QObject>();
    auto *levels = new TableDataset(m_db.get(), s("tblCustLevel"), s("tblCustLevel"), {}, m_owner.get());
    levels->open();
    m_customers = new TableDataset(m_db.get(), s("tblCustomers"), s("tblCustomers"), {}, m_owner.get());
    m_customers->addLookup(s("LevelName"), s("LevelID"), levels, s("LevelID"), s("LevelName"));
    m_customers->open();
    ReportService::setFolder(s(QLM_LAYOUT_DIR));
}

void TestReport::cleanup()
{
    m_owner.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestReport::everyLayoutParses()
{
    const QStringList names = QDir(s(QLM_LAYOUT_DIR)).entryList({s("*.frf")});
    QCOMPARE(names.size(), 23);
    for (const QString &n : names) {
        ReportLayout l;
        QString error;
        QVERIFY2(ReportLayout::load(s(QLM_LAYOUT_DIR) + u'/' + n, &l, &error), qPrintable(n + u' ' + error));
        QVERIFY2(!l.title.isEmpty(), qPrintable(n));
    }
}

void TestReport::refusesBrokenLayouts_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("not json") << QByteArray("<report/>");
    QTest::newRow("list without columns") << QByteArray(R"({"title":"x","kind":"list"})");
    QTest::newRow("column without field") << QByteArray(R"({"title":"x","columns":[{"caption":"a"}]})");
    QTest::newRow("cards without items") << QByteArray(R"({"title":"x","kind":"cards"})");
    QTest::newRow("item without rect") << QByteArray(R"({"kind":"cards","card":{"items":[{"text":"a"}]}})");
}

void TestReport::refusesBrokenLayouts()
{
    QFETCH(QByteArray, json);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ReportLayout::parse(json, s("x")));
}

void TestReport::listPrintsTheRowsAsFiltered()
{
    m_customers->setFilter(s("sUser='wang' and LevelID='A'"));
    m_customers->setFiltered(true);
    ReportLayout l;
    QString error;
    QVERIFY(ReportLayout::load(layoutFile("frCustomers"), &l, &error));
    ReportRenderer r(l, m_customers);
    const QString pdf = m_dir->file(s("list.pdf"));
    QVERIFY(r.writePdf(pdf));
    const QString text = pdfText(pdf);
    QVERIFY2(has(text, s("客户资料列表")), qPrintable(text.left(300)));
    QVERIFY(has(text, s("客户3号")));
    QVERIFY(has(text, s("客户9号")));
    QVERIFY(!has(text, s("客户6号")));   // li's
    QVERIFY(!has(text, s("C001")));  // level B
    QVERIFY(has(text, s("重要客户")));    // a lookup column
    QVERIFY(has(text, s("共 20 条记录")));
    QVERIFY2(has(text, s("第 1 页 / 共 1 页")), qPrintable(text.right(400)));
    QVERIFY(has(text, s("打印日期")));
    QCOMPARE(m_customers->currentRow(), 0);  // printing never moved the cursor
}

void TestReport::longListsPageWithTotals()
{
    ReportLayout l;
    QString error;
    QVERIFY(ReportLayout::load(layoutFile("frCustomers"), &l, &error));
    ReportRenderer r(l, m_customers);
    QVERIFY(r.pageCount() >= 3);
    const QString pdf = m_dir->file(s("long.pdf"));
    QVERIFY(r.writePdf(pdf));
    const QString text = pdfText(pdf);
    QVERIFY(has(text, QStringLiteral("第 %1 页 / 共 %1 页").arg(r.pageCount())));
    QVERIFY(has(text, s("客户120号")));
    QVERIFY(has(text, s("共 120 条记录")));
    // Sums under money columns.
    auto *ops = new TableDataset(m_db.get(), s("tblOperates"), s("tblOperates"), {}, m_owner.get());
    ops->open();
    QVERIFY(ReportLayout::load(layoutFile("frCustomerOperate"), &l, &error));
    ReportRenderer sums(l, ops);
    QVERIFY(sums.writePdf(m_dir->file(s("sums.pdf"))));
    const QString sumText = pdfText(m_dir->file(s("sums.pdf")));
    QVERIFY2(has(sumText, s("1,333.50")), qPrintable(sumText));
    QVERIFY(has(sumText, s("合计")));
}

void TestReport::detailRestrictionAndSubtitle()
{
    auto *links = new TableDataset(m_db.get(), s("tblLinkmans"), s("tblLinkmans"), {}, m_owner.get());
    auto *names = new TableDataset(m_db.get(), s("tblCustomers2"), s("tblCustomers"), {}, m_owner.get());
    names->open();
    links->addLookup(s("CustName"), s("CustID"), names, s("CustId"), s("CustName"), 50);
    links->setMaster(m_customers, s("CustId"), s("CustID"));
    links->open();
    m_customers->first();
    ReportLayout l;
    QString error;
    QVERIFY(ReportLayout::load(layoutFile("frCustomerLinkman"), &l, &error));
    ReportRenderer r(l, links);
    QVERIFY(r.writePdf(m_dir->file(s("links.pdf"))));
    const QString text = pdfText(m_dir->file(s("links.pdf")));
    QVERIFY(has(text, s("客户：客户1号")));
    QVERIFY(has(text, s("王一")));
    m_customers->next();  // a customer without contacts: the page and title still print
    ReportRenderer empty(l, links);
    QCOMPARE(empty.pageCount(), 1);
    QVERIFY(empty.writePdf(m_dir->file(s("empty.pdf"))));
    QVERIFY(has(pdfText(m_dir->file(s("empty.pdf"))), s("客户联系人列表")));
}

void TestReport::envelopesWithSender()
{
    auto *links = new TableDataset(m_db.get(), s("qryLinkmans3"), s("tblLinkmans"), {}, m_owner.get());
    auto *names = new TableDataset(m_db.get(), s("tblCustomers2"), s("tblCustomers"), {}, m_owner.get());
    names->open();
    links->addLookup(s("CustName"), s("CustID"), names, s("CustId"), s("CustName"), 100);
    links->addLookup(s("Address"), s("CustID"), names, s("CustId"), s("Address"), 100);
    links->addLookup(s("PostCode"), s("CustID"), names, s("CustId"), s("PostCode"));
    links->open();
    auto *info = new TableDataset(m_db.get(), s("tblUserInfo"), s("tblUserInfo"), {}, m_owner.get());
    info->open();
    ReportLayout l;
    QString error;
    QVERIFY(ReportLayout::load(layoutFile("frEnvelop6"), &l, &error));
    QCOMPARE(l.extraDatasets, QStringList{"tblUserInfo"});
    ReportRenderer r(l, links, {{s("tblUserInfo"), info}});
    QCOMPARE(r.pageCount(), 1);  // one envelope per contact
    QVERIFY(r.writePdf(m_dir->file(s("env.pdf"))));
    const QString text = pdfText(m_dir->file(s("env.pdf")));
    QVERIFY2(has(text, s("王一 收")), qPrintable(text));
    QVERIFY(has(text, s("朝阳区1号")));
    QVERIFY(has(text, s("好帮手家政服务中心")));
    QVERIFY(has(text, s("100083")));
}

void TestReport::staffCardShowsPhotoWhenLoadable()
{
    QImage photo(60, 80, QImage::Format_RGB32);
    photo.fill(QColor(200, 120, 60));
    const QString photoPath = m_dir->file(s("张红.png"));
    QVERIFY(photo.save(photoPath));
    TableInserter staff(*m_db, s("tblOperaters"), {s("OperaterID"), s("Name"), s("Photo")});
    staff.insert({s("S1"), s("张红"), photoPath});
    staff.insert({s("S2"), s("刘芳"), m_dir->file(s("missing.jpg"))});
    auto *ds = new TableDataset(m_db.get(), s("tblOperaters"), s("tblOperaters"), {}, m_owner.get());
    ds->open();
    ReportLayout l;
    QString error;
    QVERIFY(ReportLayout::load(layoutFile("frOperaterDetail"), &l, &error));
    ReportRenderer r(l, ds);
    const QString pdf = m_dir->file(s("staff.pdf"));
    QVERIFY(r.writePdf(pdf));
    QVERIFY(has(pdfText(pdf), s("刘芳")));  // the card without a loadable photo still prints
    QProcess images;
    images.start(s("pdfimages"), {s("-list"), pdf});
    QVERIFY(images.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(images.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size() - 2, 1);  // one picture: the loadable one
}

void TestReport::missingLayoutIsReportedByName()
{
    QVERIFY(!ReportService::preview(nullptr, s("frNoSuchLayout"), m_customers));
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(m_rec->lastText().contains(s("frNoSuchLayout.frf")));
    QVERIFY(m_rec->modalWindows.isEmpty());  // no preview of some other layout
    m_dir->writeFile(s("Data/broken.frf"), "{ not json");
    ReportService::setFolder(m_dir->file(s("Data")));
    QVERIFY(!ReportService::preview(nullptr, s("broken"), m_customers));
    QVERIFY(m_rec->lastText().contains(s("broken.frf")));
    QVERIFY(m_rec->modalWindows.isEmpty());
}

void TestReport::previewWindow()
{
    QStringList zooms;
    QString caption;
    bool exported = false;
    m_rec->files << m_dir->file(s("exported"));
    m_rec->onModal = [&](QDialog *d) -> int {
        caption = d->windowTitle();
        auto *w = qobject_cast<TfrmReport *>(d);
        if (!w)
            return QDialog::Rejected;
        for (int i = 0; i < w->zoomBox()->count(); ++i)
            zooms << w->zoomBox()->itemText(i);
        exported = w->exportPdf();
        w->zoomBox()->setCurrentIndex(2);
        return QDialog::Accepted;
    };
    QVERIFY(ReportService::preview(nullptr, s("frCustomers"), m_customers));
    QCOMPARE(caption, s("报表预览"));
    QCOMPARE(zooms, (QStringList{"100%", "75%", "50%", "150%", "200%"}));
    QVERIFY(exported);
    QVERIFY(has(pdfText(m_dir->file(s("exported.pdf"))), s("客户资料列表")));
    QCOMPARE(m_rec->modalWindows, QStringList{"frmReport"});  // a new preview per print
    QVERIFY(ReportService::preview(nullptr, s("frCustomers"), m_customers));
    QCOMPARE(m_rec->modalWindows.size(), 2);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
