// A grid's columns as the user left them: remembered per user and per grid, stale names
// ignored, the window's own layout on request; the column chooser.
#include "DbGrid.h"
#include "GridLayout.h"
#include "SeamRecorder.h"
#include "TableDataset.h"
#include "TestDb.h"

#include <QDialog>
#include <QHeaderView>
#include <QListWidget>
#include <QSettings>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

}  // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void safeFileNames_data();
    void safeFileNames();
    void layoutIsRememberedPerUser();
    void staleNamesAreIgnored();
    void defaultColumnsComeBack();
    void columnChooser_data();
    void columnChooser();

private:
    DbGrid *build();
    QStringList shownFields(DbGrid *grid) const;

    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<SeamRecorder> m_rec;
    TableDataset *m_cust = nullptr;
    DataSource *m_source = nullptr;
    QString m_user = s("wang");
};

void TestGridLayout::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    m_db = m_dir->open();
    m_user = s("wang");
    GridLayout::setSettingsFile([this] { return m_dir->file(s("Settings/") + GridLayout::safeFileName(m_user) + s(".ini")); });
    m_window = std::make_unique<QWidget>();
    m_window->setWindowTitle(s("客户资料"));
    m_cust = new TableDataset(m_db.get(), s("tblCustomers"), s("tblCustomers"), {}, m_window.get());
    m_source = new DataSource(s("dsCustomers"), m_cust, m_window.get());
    m_cust->open();
    m_window->resize(900, 500);
    m_window->show();  // a grid restores its layout when it first shows
}

void TestGridLayout::cleanup()
{
    GridLayout::setSettingsFile({});
    m_window.reset();
    m_db.reset();
    m_dir.reset();
    m_rec.reset();
}

DbGrid *TestGridLayout::build()
{
    auto *grid = new DbGrid(m_window.get());
    grid->setObjectName(s("gridCustomers"));
    QList<GridColumn> columns = {GridColumn::text(s("客户代码"), s("CustId"), 80), GridColumn::text(s("客户名称"), s("CustName"), 140),
                                 GridColumn::text(s("地址"), s("Address"), 200), GridColumn::text(s("电话"), s("Telephone"), 90),
                                 GridColumn::text(s("邮编"), s("PostCode"), 60)};
    columns[4].hidden = true;  // hidden by the window, can be shown
    grid->setColumns(columns);
    grid->setDataSource(m_source);
    grid->show();
    return grid;
}

QStringList TestGridLayout::shownFields(DbGrid *grid) const
{
    QStringList out;
    QHeaderView *h = grid->view()->header();
    for (int v = 0; v < h->count(); ++v)
        if (!h->isSectionHidden(h->logicalIndex(v)))
            out << grid->model()->columns().at(h->logicalIndex(v)).field;
    return out;
}

void TestGridLayout::safeFileNames_data()
{
    QTest::addColumn<QString>("user");
    QTest::newRow("plain") << "wang";
    QTest::newRow("Chinese") << "王丽";
    QTest::newRow("path") << "../../etc/x";
    QTest::newRow("separators") << "a/b\\c:d";
    QTest::newRow("dots") << "..";
    QTest::newRow("empty") << "";
}

void TestGridLayout::safeFileNames()
{
    QFETCH(QString, user);
    const QString name = GridLayout::safeFileName(user);
    QVERIFY(!name.isEmpty());
    QVERIFY(!name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':'));
    QVERIFY(name != s(".") && name != s(".."));
    for (const QChar c : name)
        QVERIFY(c.unicode() < 128);
    if (!user.isEmpty())
        QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(name.toLatin1())), user);
}

void TestGridLayout::layoutIsRememberedPerUser()
{
    DbGrid *grid = build();
    QHeaderView *h = grid->view()->header();
    h->moveSection(h->visualIndex(3), 0);          // the phone first
    h->setSectionHidden(2, true);                  // no address
    h->setSectionHidden(4, false);                 // the post code the window hid
    h->resizeSection(1, 222);
    grid->groupBy(s("CustName"));
    delete grid;  // leaving saves what is pending

    DbGrid *again = build();
    QCOMPARE(shownFields(again), (QStringList{"Telephone", "CustId", "CustName", "PostCode"}));
    QCOMPARE(again->view()->header()->sectionSize(1), 222);
    QCOMPARE(again->groupedFields(), QStringList{"CustName"});
    delete again;

    m_user = s("li");  // another user: the window's own layout
    DbGrid *other = build();
    QCOMPARE(shownFields(other), (QStringList{"CustId", "CustName", "Address", "Telephone"}));
    QCOMPARE(other->view()->header()->sectionSize(1), 140);
    QVERIFY(other->groupedFields().isEmpty());
    delete other;
    QVERIFY(QFile::exists(m_dir->file(s("Settings/wang.ini"))));
}

void TestGridLayout::staleNamesAreIgnored()
{
    {
        DbGrid *grid = build();
        const QString key = GridLayout::key(*grid);
        delete grid;
        QSettings settings(m_dir->file(s("Settings/wang.ini")), QSettings::IniFormat);
        settings.beginGroup(key);
        settings.setValue(s("order"), QStringList{"Gone", "Address", "CustId"});
        settings.setValue(s("hidden"), QStringList{"Gone", "CustName"});
        settings.setValue(s("widths"), QStringList{"Gone:50", "Address:333", "CustId:abc"});
        settings.setValue(s("groups"), QStringList{"Gone"});
    }
    DbGrid *grid = build();
    QCOMPARE(shownFields(grid), (QStringList{"Address", "CustId", "Telephone", "PostCode"}));
    QCOMPARE(grid->view()->header()->sectionSize(2), 333);
    QCOMPARE(grid->view()->header()->sectionSize(0), 80);
    QVERIFY(grid->groupedFields().isEmpty());
}

void TestGridLayout::defaultColumnsComeBack()
{
    DbGrid *grid = build();
    QHeaderView *h = grid->view()->header();
    h->moveSection(h->visualIndex(2), 0);
    h->setSectionHidden(0, true);
    grid->groupBy(s("Address"));
    grid->saveLayout();
    grid->restoreDefaultColumns();
    QCOMPARE(shownFields(grid), (QStringList{"CustId", "CustName", "Address", "Telephone"}));
    QVERIFY(grid->groupedFields().isEmpty());
    delete grid;
    DbGrid *again = build();  // nothing remembered any more
    QCOMPARE(shownFields(again), (QStringList{"CustId", "CustName", "Address", "Telephone"}));
}

void TestGridLayout::columnChooser_data()
{
    QTest::addColumn<QStringList>("untick");   // captions to untick
    QTest::addColumn<QStringList>("tick");     // captions to tick
    QTest::addColumn<bool>("moveLastFirst");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("hide one, show the hidden one") << QStringList{"地址"} << QStringList{"邮编"} << false << true
                                                   << QStringList{"CustId", "CustName", "Telephone", "PostCode"};
    QTest::newRow("reorder") << QStringList{} << QStringList{} << true << true
                             << QStringList{"CustId", "CustName", "Address", "Telephone"};
    QTest::newRow("cancelled") << QStringList{"地址"} << QStringList{} << false << false
                               << QStringList{"CustId", "CustName", "Address", "Telephone"};
    QTest::newRow("nothing left: refused") << QStringList{"客户代码", "客户名称", "地址", "电话"} << QStringList{} << false
                                           << true << QStringList{"CustId", "CustName", "Address", "Telephone"};
}

void TestGridLayout::columnChooser()
{
    QFETCH(QStringList, untick);
    QFETCH(QStringList, tick);
    QFETCH(bool, moveLastFirst);
    QFETCH(bool, accept);
    QFETCH(QStringList, shown);
    DbGrid *grid = build();
    m_rec->onModal = [&](QDialog *d) {
        auto *list = d->findChild<QListWidget *>(s("columnList"));
        if (!list)
            return int(QDialog::Rejected);
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem *item = list->item(i);
            if (untick.contains(item->text()))
                item->setCheckState(Qt::Unchecked);
            if (tick.contains(item->text()))
                item->setCheckState(Qt::Checked);
        }
        if (moveLastFirst)
            list->insertItem(0, list->takeItem(list->count() - 1));  // the hidden post code to the top
        return int(accept ? QDialog::Accepted : QDialog::Rejected);
    };
    grid->chooseColumns();
    QCOMPARE(m_rec->modalWindows, QStringList{"dlgColumns"});
    QCOMPARE(shownFields(grid), shown);
    if (moveLastFirst) {
        QHeaderView *h = grid->view()->header();
        QCOMPARE(h->logicalIndex(0), 4);  // moved, though still not shown
    }
}

QTEST_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
