// The notice board: its checks, save, delete and close, on a real database file.
#include "ActionGate.h"
#include "DatasetModel.h"
#include "DateText.h"
#include "DbDateEdit.h"
#include "DbGrid.h"
#include "LogEntries.h"
#include "RefdataWindows.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uBoard.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

int notices()
{
    return dmMain->database()->scalar(s("select count(*) from tblBoard")).toInt();
}

}  // namespace

class TestBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void saveChecks_data();
    void saveChecks();
    void deleteAnsweredCancelKeepsTheRow();
    void closeDropsAPendingInsert_data();
    void closeDropsAPendingInsert();
    void keepsTheTodayFilter();

private:
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
    std::unique_ptr<TfrmBoard> m_board;
};

void TestBoard::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    TableInserter board(*db, s("tblBoard"), {s("BDate"), s("BTitle"), s("Man"), s("Memo")});
    board.insert({QDateTime(QDate::currentDate(), QTime(0, 0)), s("今日公告"), s("办公室"), s("开会")});
    board.insert({QDateTime(QDate::currentDate().addDays(-3), QTime(0, 0)), s("旧公告"), s("办公室"), s("放假")});
    tx.commit();
}

void TestBoard::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installRefdataWindows(*m_main);
    CurrentUserID = s("Admin");
    QVERIFY(m_main->prepareAfterLogin());
    m_board = std::make_unique<TfrmBoard>(m_main.get());
    m_board->show();
    QVERIFY(QTest::qWaitForWindowActive(m_board.get()));
}

void TestBoard::cleanup()
{
    m_board.reset();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestBoard::saveChecks_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("withDate");
    QTest::addColumn<QString>("man");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("message");  // empty: stored
    QTest::addColumn<QString>("focus");
    QTest::newRow("no subject") << "" << true << "张" << "事" << "请输入公告主题！" << "BTitle";
    QTest::newRow("no date") << "题" << false << "张" << "事" << "请输入公告日期！" << "BDate";
    QTest::newRow("no person") << "题" << true << "" << "事" << "请输入公告人！" << "Man";
    QTest::newRow("no description") << "题" << true << "张" << "  " << "请输入公告事项描述内容！" << "Memo";
    QTest::newRow("stored as typed") << "O'Neil 100%_" << true << "张" << "a''b" << "" << "";
}

void TestBoard::saveChecks()
{
    QFETCH(QString, title);
    QFETCH(bool, withDate);
    QFETCH(QString, man);
    QFETCH(QString, memo);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const int before = notices();
    m_board->addButton()->click();
    QCOMPARE(dmMain->tblBoard->state(), Dataset::State::Insert);
    const auto type = [this](const char *field, const QString &text) {
        auto *e = qobject_cast<QLineEdit *>(m_board->editor(s(field)));
        e->setFocus();
        typeText(e, text);
    };
    type("BTitle", title);
    if (withDate)
        dmMain->tblBoard->field(s("BDate")).setValue(QDateTime(QDate::currentDate(), QTime(0, 0)));
    type("Man", man);
    type("Memo", memo);
    m_board->saveButton()->click();
    QCOMPARE(logEntries().mid(logEntries().size() - 2), (QStringList{"工具-公告板-新增", "工具-公告板-保存"}));
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(notices(), before + 1);
        Statement st(*dmMain->database(), s("select count(*) from tblBoard where BTitle=:t and Memo=:m"));
        st.bind(s("t"), title);
        st.bind(s("m"), memo);
        QVERIFY(st.step());
        QCOMPARE(st.value(0).toInt(), 1);
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(notices(), before);
        QCOMPARE(dmMain->tblBoard->state(), Dataset::State::Insert);
        QWidget *f = m_board->focusWidget();
        QVERIFY(f == m_board->editor(focus) || m_board->editor(focus)->isAncestorOf(f));
    }
}

void TestBoard::deleteAnsweredCancelKeepsTheRow()
{
    const int before = notices();
    m_rec->answers << Messages::Answer::Cancel;
    m_board->deleteButton()->click();
    QCOMPARE(m_rec->lastText(), s("真的要删除该公告记录吗？"));
    QCOMPARE(logEntries().last(), s("工具-公告板-删除"));
    QCOMPARE(notices(), before);
    m_rec->answers << Messages::Answer::Ok;
    m_board->deleteButton()->click();
    QCOMPARE(notices(), before - 1);
}

void TestBoard::closeDropsAPendingInsert_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("关闭") << false;
    QTest::newRow("close box") << true;
}

void TestBoard::closeDropsAPendingInsert()
{
    QFETCH(bool, closeBox);
    const int before = notices();
    m_board->addButton()->click();
    dmMain->tblBoard->field(s("BTitle")).setValue(s("草稿"));
    if (closeBox)
        m_board->close();
    else
        m_board->closeButton()->click();
    QVERIFY(!m_board->isVisible());
    QCOMPARE(dmMain->tblBoard->state(), Dataset::State::Browse);
    QCOMPARE(notices(), before);
}

void TestBoard::keepsTheTodayFilter()
{
    m_board.reset();
    Dataset *board = dmMain->tblBoard;
    board->close();
    board->setFilter(s("BDate=") + DateText::shortDate(QDate::currentDate()));
    board->setFiltered(true);
    board->open();
    m_board = std::make_unique<TfrmBoard>(m_main.get());
    m_board->show();
    QCOMPARE(m_board->grid()->model()->rowCount(), 1);
    QVERIFY(board->isFiltered());
    // The main window's command logs and opens the board.
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_Board"))->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmBoard"});
    QCOMPARE(logEntries().last(), s("工具-公告板"));
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
