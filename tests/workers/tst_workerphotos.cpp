// Photos of workers and staff: pictures that load and the many files that must give an empty
// picture without a message or a hang; the photo box following the rows and choosing a
// file; the viewer for each caller. Also the worker query's filters.
#include "DbPhoto.h"
#include "JpegLoader.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uImage.h"
#include "uPublic.h"
#include "uYuangongQuery.h"
#include "udmMain.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QImage sample(int w = 64, int h = 48)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(200, 80, 40));
    return img;
}

QByteArray encoded(const char *format)
{
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    sample().save(&b, format);
    return bytes;
}

// A JPEG whose frame header claims another size (its data stays the small picture's).
QByteArray withClaimedSize(QByteArray jpeg, int w, int h)
{
    for (int i = 2; i + 8 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            jpeg[i + 5] = char(h >> 8);
            jpeg[i + 6] = char(h & 0xFF);
            jpeg[i + 7] = char(w >> 8);
            jpeg[i + 8] = char(w & 0xFF);
            return jpeg;
        }
    }
    return {};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

}  // namespace

class TestWorkerPhotos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pictureLoad_data();
    void pictureLoad();
    void photoBoxFollowsTheRows();
    void photoBoxReloadsOnlyForRowsAndPaths();
    void choosingAPhotoPutsTheRowIntoEdit();
    void tooLongAPathIsRefused();
    void viewerShowsTheCallersRow_data();
    void viewerShowsTheCallersRow();
    void viewerOpensAtThePicturesSize();

    void queryCondition_data();
    void queryCondition();
    void queryEmptyText_data();
    void queryEmptyText();
    void queryFinds_data();
    void queryFinds();
    void queryPostsAPendingEdit();

private:
    QString file(const QString &name) const { return m_files.filePath(name); }
    int filteredCount();
    bool runQuery(int kind, const QString &text);
    QTemporaryDir m_files;
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestWorkerPhotos::initTestCase()
{
    QVERIFY(m_files.isValid());
    if (!QImageWriter::supportedImageFormats().contains("jpeg") || !QImageWriter::supportedImageFormats().contains("png"))
        QSKIP("no JPEG or PNG writer");
    writeFile(file(s("w.jpg")), encoded("JPEG"));
    writeFile(file(s("w.png")), encoded("PNG"));
    const QByteArray jpeg = encoded("JPEG");
    writeFile(file(s("cut.jpg")), jpeg.left(jpeg.size() / 2));
    writeFile(file(s("huge.jpg")), withClaimedSize(jpeg, 20000, 20000));
    writeFile(file(s("note.txt")), "not a picture at all\n");
    QVERIFY(QDir(m_files.path()).mkdir(s("folder.jpg")));
    QCOMPARE(::mkfifo(QFile::encodeName(file(s("pipe.jpg"))).constData(), 0600), 0);

    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    TableInserter w(*db, s("tblYuangong"), {s("YuangongID"), s("Name"), s("NickName"), s("Duty"), s("Photo")});
    w.insert({s("W01"), s("张三"), s("小张"), s("保姆"), file(s("w.jpg"))});
    w.insert({s("W02"), s("李四"), s("阿李"), s("月嫂"), file(s("w.png"))});
    w.insert({s("W03"), s("O'Brien"), s("Bri"), s("护工"), file(s("gone.jpg"))});
    w.insert({s("W04"), s("王五"), s("50%"), s("a_b"), QVariant()});
    w.insert({s("W07"), s("赵六"), s("六哥"), s("钟点工"), file(s("w.jpg"))});
    w.insert({s("X5"), s("钱七"), s("五成"), s("axb"), QVariant()});
    TableInserter o(*db, s("tblOperaters"), {s("OperaterID"), s("Name"), s("Photo")});
    o.insert({s("O1"), s("员工"), file(s("w.png"))});
    tx.commit();
}

void TestWorkerPhotos::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    CurrentUserID = s("Admin");
}

void TestWorkerPhotos::cleanup()
{
    for (Dataset *d : dmMain->findChildren<Dataset *>())
        if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
            d->cancel();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
    PhotoViewCaller.clear();
}

void TestWorkerPhotos::pictureLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("picture");
    QTest::newRow("JPEG") << s("w.jpg") << true;
    QTest::newRow("PNG") << s("w.png") << true;
    QTest::newRow("truncated JPEG") << s("cut.jpg") << false;
    QTest::newRow("JPEG header of 20000x20000") << s("huge.jpg") << false;
    QTest::newRow("text file") << s("note.txt") << false;
    QTest::newRow("missing file") << s("gone.jpg") << false;
    QTest::newRow("folder") << s("folder.jpg") << false;
    QTest::newRow("FIFO (would block a reader)") << s("pipe.jpg") << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestWorkerPhotos::pictureLoad()
{
    QFETCH(QString, name);
    QFETCH(bool, picture);
    const QImage img = Picture::load(name.isEmpty() ? QString() : file(name));
    QCOMPARE(!img.isNull(), picture);
    if (picture)
        QCOMPARE(img.size(), QSize(64, 48));
}

void TestWorkerPhotos::photoBoxFollowsTheRows()
{
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    DbPhoto box;
    box.bind(dmMain->dsYuangong, s("Photo"));
    box.resize(120, 150);
    box.show();
    // W01 JPEG, W02 PNG, W03 missing, W04 null, W07 JPEG.
    const struct
    {
        bool picture, failed;
    } expected[] = {{true, false}, {true, false}, {false, true}, {false, false}, {true, false}};
    w->first();
    for (const auto &e : expected) {
        QCOMPARE(box.path(), w->field(s("Photo")).asString());
        QCOMPARE(!box.picture().isNull(), e.picture);
        QCOMPARE(box.loadFailed(), e.failed);
        QCOMPARE(box.text(), e.picture ? QString() : s("（照片）"));
        w->next();
    }
    QCOMPARE(box.toolTip(), s("点击选择照片资料"));
    // Back to the first row: its picture again, not the previous worker's.
    w->first();
    QVERIFY(!box.picture().isNull());
    QVERIFY(m_rec->messages.isEmpty());
}

// A row move reads the file again even with the same path; entering edit does not.
void TestWorkerPhotos::photoBoxReloadsOnlyForRowsAndPaths()
{
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    QVERIFY(w->locate(s("YuangongID"), {s("W04")}));
    DbPhoto box;
    box.bind(dmMain->dsYuangong, s("Photo"));
    const int start = box.loadCount();
    QVERIFY(w->locate(s("YuangongID"), {s("W07")}));
    QCOMPARE(box.loadCount(), start + 1);
    w->edit();
    w->field(s("Name")).setValue(s("改名"));
    QCOMPARE(box.loadCount(), start + 1);
    w->field(s("Photo")).setValue(file(s("w.png")));
    QCOMPARE(box.loadCount(), start + 2);
    QCOMPARE(box.path(), file(s("w.png")));
    w->cancel();
    QCOMPARE(box.path(), file(s("w.jpg")));
    QVERIFY(!box.picture().isNull());
}

void TestWorkerPhotos::choosingAPhotoPutsTheRowIntoEdit()
{
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    QVERIFY(w->locate(s("YuangongID"), {s("W04")}));
    DbPhoto box;
    box.bind(dmMain->dsYuangong, s("Photo"));
    box.resize(120, 150);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    m_rec->files.enqueue(QString());  // cancelled: nothing changes
    QTest::mouseClick(&box, Qt::LeftButton);
    QCOMPARE(w->state(), Dataset::State::Browse);
    m_rec->files.enqueue(file(s("w.png")));
    QTest::mouseClick(&box, Qt::LeftButton);
    QCOMPARE(w->state(), Dataset::State::Edit);
    QCOMPARE(w->field(s("Photo")).asString(), file(s("w.png")));
    QVERIFY(!box.picture().isNull());
    w->post();
    QCOMPARE(dmMain->database()->scalar(s("select Photo from tblYuangong where YuangongID = 'W04'")).toString(),
             file(s("w.png")));
}

void TestWorkerPhotos::tooLongAPathIsRefused()
{
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    QVERIFY(w->locate(s("YuangongID"), {s("W01")}));
    DbPhoto box;
    box.bind(dmMain->dsYuangong, s("Photo"));
    m_rec->files.enqueue(s("/") + QString(210, u'p') + s(".jpg"));
    QVERIFY(!box.choose());
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY2(m_rec->lastText().contains(s("200")), qPrintable(m_rec->lastText()));
    QCOMPARE(w->state(), Dataset::State::Browse);
    QCOMPARE(box.path(), file(s("w.jpg")));
    QVERIFY(!box.picture().isNull());
}

void TestWorkerPhotos::viewerShowsTheCallersRow_data()
{
    QTest::addColumn<QString>("caller");
    QTest::addColumn<QString>("row");  // empty: leave the dataset closed
    QTest::addColumn<bool>("picture");
    QTest::newRow("Yuangong, JPEG") << s("Yuangong") << s("W01") << true;
    QTest::newRow("Yuangong, PNG") << s("Yuangong") << s("W02") << true;
    QTest::newRow("Yuangong, missing file") << s("Yuangong") << s("W03") << false;
    QTest::newRow("Yuangong, null photo") << s("Yuangong") << s("W04") << false;
    QTest::newRow("Yuangong, closed") << s("Yuangong") << QString() << false;
    QTest::newRow("Yuangong1, JPEG") << s("Yuangong1") << s("W07") << true;
    QTest::newRow("Yuangong1, null photo") << s("Yuangong1") << s("X5") << false;
    QTest::newRow("Operaters, PNG") << s("Operaters") << s("O1") << true;
    QTest::newRow("unknown caller") << s("Customers") << s("W01") << false;
    QTest::newRow("no caller") << QString() << s("W01") << false;
}

void TestWorkerPhotos::viewerShowsTheCallersRow()
{
    QFETCH(QString, caller);
    QFETCH(QString, row);
    QFETCH(bool, picture);
    if (!row.isEmpty()) {
        // The linked worker dataset is opened unlinked here: only its current row matters.
        Dataset *d = caller == u"Operaters" ? static_cast<Dataset *>(dmMain->tblOperaters)
                                            : static_cast<Dataset *>(dmMain->tblYuangong);
        if (caller == u"Yuangong1")
            d = dmMain->tblYuangong;
        OpenDatasets({d});
        QVERIFY(d->locate(d == dmMain->tblOperaters ? s("OperaterID") : s("YuangongID"), {row}));
        if (caller == u"Yuangong1") {
            // tblYuangong1 shows the workers of the current customer: give W07/X5 one.
            dmMain->database()->exec(s("update tblYuangong set CustID = 'C9' where YuangongID = '%1'").arg(row));
            dmMain->database()->exec(s("insert into tblCustomers (CustId, CustName) values ('C9', 'c')"));
            OpenDatasets({dmMain->tblCustomers, dmMain->tblYuangong1});
            QVERIFY(dmMain->tblCustomers->locate(s("CustId"), {s("C9")}));
            QVERIFY(dmMain->tblYuangong1->locate(s("YuangongID"), {row}));
        }
    }
    PhotoViewCaller = caller;
    TfrmImage viewer;
    QCOMPARE(viewer.windowTitle(), s("照片放大"));
    QCOMPARE(!viewer.picture().isNull(), picture);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestWorkerPhotos::viewerOpensAtThePicturesSize()
{
    const QString big = file(s("big.png"));
    QVERIFY(sample(320, 200).save(big, "PNG"));
    dmMain->database()->exec(s("update tblYuangong set Photo = '%1' where YuangongID = 'W01'").arg(big));
    OpenDatasets({dmMain->tblYuangong});
    QVERIFY(dmMain->tblYuangong->locate(s("YuangongID"), {s("W01")}));
    PhotoViewCaller = s("Yuangong");
    TfrmImage viewer;
    QCOMPARE(viewer.size(), QSize(320, 200));
    QCOMPARE(m_rec->modalWindows, QStringList());
}

void TestWorkerPhotos::queryCondition_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filter");
    QTest::newRow("number") << 1 << s("07") << s("YuangongID Like '%07%'");
    QTest::newRow("name") << 2 << s("张") << s("Name Like '%张%'");
    QTest::newRow("nickname") << 3 << s("小") << s("NickName Like '%小%'");
    QTest::newRow("duty") << 4 << s("保") << s("Duty Like '%保%'");
    QTest::newRow("quote doubled") << 2 << s("O'Brien") << s("Name Like '%O''Brien%'");
    QTest::newRow("bypass text stays text") << 2 << s("' or Name Like '") << s("Name Like '%'' or Name Like ''%'");
    QTest::newRow("all kind has none") << 0 << s("x") << QString();
}

void TestWorkerPhotos::queryCondition()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, filter);
    QCOMPARE(TfrmYuangongQuery::condition(kind, text), filter);
}

bool TestWorkerPhotos::runQuery(int kind, const QString &text)
{
    TfrmYuangongQuery q;
    q.show();
    q.kindBox()->setCurrentIndex(kind);
    if (q.textEdit()->isEnabled()) {
        q.textEdit()->setFocus();
        typeText(q.textEdit(), text);
    }
    QTest::mouseClick(q.okButton(), Qt::LeftButton);
    return q.result() == QDialog::Accepted;
}

int TestWorkerPhotos::filteredCount()
{
    return dmMain->tblYuangong->recordCount();
}

void TestWorkerPhotos::queryEmptyText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("number") << 1 << QString() << s("请输入匹配的员工编号!");
    QTest::newRow("name") << 2 << QString() << s("请输入匹配的员工姓名!");
    QTest::newRow("nickname") << 3 << QString() << s("请输入匹配的称呼!");
    QTest::newRow("duty") << 4 << QString() << s("请输入匹配的职务!");
    QTest::newRow("duty, blanks only") << 4 << s("   ") << s("请输入匹配的职务!");
}

void TestWorkerPhotos::queryEmptyText()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, message);
    OpenDatasets({dmMain->tblYuangong});
    QVERIFY(!runQuery(kind, text));
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(m_rec->messages.last().caption, s("系统提示"));
    QVERIFY(!dmMain->tblYuangong->isFiltered());
}

void TestWorkerPhotos::queryFinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    QTest::newRow("number with blanks around") << 1 << s(" 07 ") << 1;
    QTest::newRow("name with a quote") << 2 << s("O'Brien") << 1;
    QTest::newRow("bypass text finds nothing") << 2 << s("' or Name Like '") << 0;
    QTest::newRow("% matches anything") << 3 << s("%") << 6;
    QTest::newRow("_ matches one character") << 4 << s("a_b") << 2;
    QTest::newRow("all workers") << 0 << QString() << 6;
}

void TestWorkerPhotos::queryFinds()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, rows);
    OpenDatasets({dmMain->tblYuangong});
    QVERIFY(runQuery(kind, text));
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(filteredCount(), rows);
    if (kind > 0)
        QCOMPARE(dmMain->tblYuangong->filter(), TfrmYuangongQuery::condition(kind, text.trimmed()));
    // "所有员工" shows everyone again; reopening keeps a filter until then.
    dmMain->tblYuangong->close();
    dmMain->tblYuangong->open();
    QCOMPARE(filteredCount(), rows);
    QVERIFY(runQuery(0, QString()));
    QCOMPARE(filteredCount(), 6);
}

void TestWorkerPhotos::queryPostsAPendingEdit()
{
    Dataset *w = dmMain->tblYuangong;
    OpenDatasets({w});
    QVERIFY(w->locate(s("YuangongID"), {s("W02")}));
    w->edit();
    w->field(s("Duty")).setValue(s("育婴师"));
    QVERIFY(runQuery(2, s("李")));
    QCOMPARE(w->state(), Dataset::State::Browse);
    QCOMPARE(dmMain->database()->scalar(s("select Duty from tblYuangong where YuangongID = 'W02'")).toString(),
             s("育婴师"));
    // A refused post (a number already taken) is told; the list is not filtered again.
    QVERIFY(runQuery(0, QString()));
    QVERIFY(w->locate(s("YuangongID"), {s("W02")}));
    w->edit();
    w->field(s("YuangongID")).setValue(s("W01"));
    QVERIFY(!runQuery(2, s("张")));
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(w->state(), Dataset::State::Edit);
    QVERIFY(!w->isFiltered());
}

QTEST_MAIN(TestWorkerPhotos)
#include "tst_workerphotos.moc"
