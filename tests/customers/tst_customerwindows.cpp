// Installing the customer windows: the command shows the page, and every window
// object and panel goes exactly once, whichever owner goes first.
#include "ActionGate.h"
#include "CustomerWindows.h"
#include "SeamRecorder.h"
#include "TestDb.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QPointer>
#include <QtTest>

class TestCustomerWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void installedCommandShowsThePage();
    void ownersEndInAnyOrder_data();
    void ownersEndInAnyOrder();

private:
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestCustomerWindows::init()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
}

void TestCustomerWindows::cleanup()
{
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestCustomerWindows::installedCommandShowsThePage()
{
    TfrmMain main;
    installCustomerWindows(main);
    QVERIFY(frmCustomers);
    CurrentUserID = QStringLiteral("Admin");
    QVERIFY(main.prepareAfterLogin());
    ActionGate::instance()->evaluate();
    main.action(QStringLiteral("Act_Customers"))->trigger();
    QCOMPARE(main.currentPage(), frmCustomers->PnMain);
    QVERIFY(dmMain->tblCustomers->isActive());
    QVERIFY(m_rec->messages.isEmpty());
}

void TestCustomerWindows::ownersEndInAnyOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("installed: the main window ends both") << "installed";
    QTest::newRow("hosted, window object first") << "hosted";
    QTest::newRow("never hosted") << "alone";
}

void TestCustomerWindows::ownersEndInAnyOrder()
{
    QFETCH(QString, how);
    auto main = std::make_unique<TfrmMain>();
    QPointer<QWidget> panel;
    if (how == u"installed") {
        installCustomerWindows(*main);
        panel = frmCustomers->PnMain;
        main.reset();
    } else if (how == u"hosted") {
        auto *customers = new TfrmCustomers;
        panel = customers->PnMain;
        main->registerPage(QStringLiteral("Act_Customers"), customers->PnMain);
        delete customers;
        QVERIFY(panel);  // the main window still hosts it
        main.reset();
    } else {
        auto *customers = new TfrmCustomers;
        panel = customers->PnMain;
        delete customers;
        main.reset();
    }
    QVERIFY(!frmCustomers);
    QVERIFY(!panel);
}

QTEST_MAIN(TestCustomerWindows)
#include "tst_customerwindows.moc"
