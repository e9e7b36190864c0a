// The staff window and its query: opening, delete refused while operations name the
// member, the member's operations (contact names of any owner), the query filters with
// quotes and patterns, folders for unsafe codes, keyless new rows, photo files that give
// no picture, and staff names that ignore the query's filter.
#include "ActionGate.h"
#include "DatasetModel.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbPhoto.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "SeamRecorder.h"
#include "StaffWindows.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uImage.h"
#include "uMain.h"
#include "uOperaterQuery.h"
#include "uOperaters.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QString dbText(const QString &sql)
{
    return dmMain->database()->scalar(sql).toString();
}

int count(const QString &sql)
{
    return dmMain->database()->scalar(sql).toInt();
}

void retype(QWidget *w, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(w);
    QVERIFY(e);
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        typeText(e, text);
}

QStringList column(Dataset *d, const QString &field)
{
    QStringList out;
    const int f = d->fieldIndex(field);
    for (int i = 0; i < d->recordCount(); ++i)
        out << d->textAt(i, f);
    out.sort();
    return out;
}

QByteArray jpeg()
{
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "JPEG");
    return bytes;
}

}  // namespace

class TestStaff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensThePage();
    void deleteChecksOperations_data();
    void deleteChecksOperations();
    void deleteOnAnEmptyListOnlyLogs();
    void modifyListsTheMembersOperations();
    void insertEmptiesTheOperations();
    void pendingOperationIsPostedFirst();
    void query_data();
    void query();
    void queryEmptyText_data();
    void queryEmptyText();
    void refreshKeepsTheQueryFilter();
    void saveChecks_data();
    void saveChecks();
    void statusSaveFolders_data();
    void statusSaveFolders();
    void keylessRowIsDroppedOnAMove();
    void photoFiles_data();
    void photoFiles();
    void cancelRestoresThePhoto();
    void zoomOpensTheViewer();
    void subRights_data();
    void subRights();
    void enterOrderAndLinks();
    void staffNamesIgnoreTheQueryFilter();

private:
    void openAs(const QString &user);
    void runQuery(int kind, const QString &text);
    TfrmOperaters *w() const { return frmOperaters; }
    QTemporaryDir m_files;
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

// Users: Admin (system), wang and li (every sub-right of 303). Staff S01..S05; customers C1
// (wang's, staff S01) and C2 (li's, staff S02) with li's contact L1; operations OP1 (wang's,
// S01), OP2 (li's, S01, contact L1) and OP3 (li's, S02).
void TestStaff::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QVERIFY(m_files.isValid());
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *u : {"wang", "li", "guest", "adder"})
        user.insert({s(u), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const char *u : {"wang", "li"}) {
        right.insert({s(u), s("303"), true, true, true, true, true});
        right.insert({s(u), s("304"), true, true, true, true, true});
    }
    right.insert({s("guest"), s("303"), false, true, false, true, false});
    right.insert({s("adder"), s("303"), true, false, false, false, false});
    TableInserter o(*db, s("tblOperaters"), {s("OperaterID"), s("Name"), s("NickName"), s("Duty"), s("DepartmentID")});
    o.insert({s("S01"), s("张伟"), s("小张"), s("经理"), s("02")});
    o.insert({s("S02"), s("李娜"), s("娜娜"), s("业务员"), s("02")});
    o.insert({s("S03"), s("O'Neil"), s("50%"), s("a_b"), s("01")});
    o.insert({s("S04"), s("王强"), s("500"), s("axb"), s("01")});
    o.insert({s("S05"), s("赵敏"), s("敏"), s("会计"), s("03")});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("OperaterID")});
    c.insert({s("C1"), s("王宅"), s("wang"), s("S01")});
    c.insert({s("C2"), s("李宅"), s("li"), s("S02")});
    TableInserter l(*db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name"), s("SUser")});
    l.insert({s("L1"), s("C2"), s("赵联系"), s("li")});
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("OperateTitle"), s("CustID"), s("LinkmanID"),
                                             s("OperaterID"), s("SUser")});
    op.insert({s("OP1"), s("保洁合同"), s("C1"), QVariant(), s("S01"), s("wang")});
    op.insert({s("OP2"), s("月嫂合同"), s("C2"), s("L1"), s("S01"), s("li")});
    op.insert({s("OP3"), s("护工合同"), s("C2"), QVariant(), s("S02"), s("li")});
    tx.commit();
}

void TestStaff::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    m_main->registerOpener(s("TfrmImage"), [](QWidget *parent) { TfrmImage::execute(parent); });
    installStaffWindows(*m_main);
    QVERIFY(frmOperaters);
}

void TestStaff::cleanup()
{
    if (dmMain)
        for (Dataset *d : dmMain->findChildren<Dataset *>())
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->cancel();
    PhotoViewCaller.clear();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestStaff::openAs(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
    m_main->action(s("Act_Operaters"))->trigger();
    ActionGate::instance()->evaluate();
}

void TestStaff::runQuery(int kind, const QString &text)
{
    m_rec->onModal = [kind, text](QDialog *d) -> int {
        auto *q = qobject_cast<TfrmOperaterQuery *>(d);
        if (!q)
            return QDialog::Rejected;
        q->show();
        q->kindBox()->setCurrentIndex(kind);
        if (!text.isEmpty())
            typeText(q->textEdit(), text);
        QTest::mouseClick(q->okButton(), Qt::LeftButton);
        return q->result();
    };
    w()->Act_Query->trigger();
    m_rec->onModal = nullptr;
}

void TestStaff::opensThePage()
{
    openAs(s("Admin"));
    QCOMPARE(logEntries().last(), s("内部管理-业务员资料"));
    QCOMPARE(m_main->currentPage(), w()->PnMain);
    QCOMPARE(w()->pages()->tabText(0), s("工作人员资料列表"));
    QCOMPARE(w()->pages()->tabText(1), s("工作人员详细资料"));
    QCOMPARE(w()->lowerTabs()->tabText(0), s("业务（合同）资料"));
    QCOMPARE(w()->lowerTabs()->tabText(1), s("工作人员状态信息"));
    QCOMPARE(w()->listGrid()->model()->rowCount(), 5);
    QStringList columns;
    for (const GridColumn &c : w()->listGrid()->model()->columns())
        columns << c.caption;
    QCOMPARE(columns, (QStringList{s("业务员代码"), s("姓名"), s("称呼"), s("性别"), s("部门"), s("职务"), s("籍贯")}));
    QCOMPARE(w()->enterOrder().size(), 18);
    QCOMPARE(w()->enterOrder().first(), w()->editor(s("OperaterID")));
    QCOMPARE(w()->enterOrder().last(), w()->editor(s("Memo")));
    QCOMPARE(dmMain->tblOperaters->field(s("Department")).asString(), s("业务部"));
    // The first member's folder is the file tool's list.
    QCOMPARE(FileListRoot, FilesRoot + s("Operaters/S01"));
    QVERIFY(QDir(FilesRoot + s("Operaters/S01")).exists());
    QVERIFY(m_rec->messages.isEmpty());
}

void TestStaff::deleteChecksOperations_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("deleted");
    // S01 has wang's and li's operations; S02 only li's, which wang cannot see.
    QTest::newRow("own and others' operations") << s("S01") << s("对不起，该业务员存在业务资料信息，不能删除！") << false;
    QTest::newRow("only another owner's") << s("S02") << s("对不起，该业务员存在业务资料信息，不能删除！") << false;
    QTest::newRow("no operations") << s("S05") << s("您真的要删除该业务员资料吗？") << true;
}

void TestStaff::deleteChecksOperations()
{
    QFETCH(QString, member);
    QFETCH(QString, message);
    QFETCH(bool, deleted);
    openAs(s("wang"));
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {member}));
    m_rec->answers.enqueue(Messages::Answer::Ok);
    w()->Act_Delete->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-删除"));
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(count(s("select count(*) from tblOperaters where OperaterID='%1'").arg(member)), deleted ? 0 : 1);
}

void TestStaff::deleteOnAnEmptyListOnlyLogs()
{
    dmMain->database()->exec(s("delete from tblOperaters"));
    dmMain->tblOperaters->refresh();
    openAs(s("wang"));
    w()->Act_Del->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-删除"));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestStaff::modifyListsTheMembersOperations()
{
    openAs(s("wang"));
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S01")}));
    w()->Act_Modify->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-修改"));
    QCOMPARE(w()->pages()->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget() : w()->editor(s("OperaterID")),
             w()->editor(s("OperaterID")));
    QVERIFY(!m_main->isNavigationVisible());
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Edit);
    Dataset *ops = dmMain->tblOperates2;
    QCOMPARE(column(ops, s("OperateID")), (QStringList{s("OP1"), s("OP2")}));
    QCOMPARE(w()->operationsGrid()->model()->rowCount(), 2);
    // The contact of li's customer is named for wang too; every row names its staff member.
    QVERIFY(ops->locate(s("OperateID"), {s("OP2")}));
    QCOMPARE(ops->field(s("LinkmanName")).asString(), s("赵联系"));
    QCOMPARE(ops->field(s("OperaterName")).asString(), s("张伟"));
    QCOMPARE(FileListRoot, FilesRoot + s("Operaters/S01"));
    QVERIFY(m_rec->messages.isEmpty());

    // A code holding a quote lists exactly its own operations (none), and no error.
    dmMain->tblOperaters->cancel();
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S03")}));
    dmMain->database()->exec(s("update tblOperates set OperaterID='S03'' or ''a''=''a' where OperateID='OP3'"));
    w()->Act_Modify->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(ops->recordCount(), 0);
}

void TestStaff::insertEmptiesTheOperations()
{
    openAs(s("wang"));
    w()->Act_Modify->trigger();
    QVERIFY(dmMain->tblOperates2->recordCount() > 0);
    dmMain->tblOperaters->cancel();
    w()->pages()->setCurrentIndex(0);
    w()->Act_Insert->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-新增"));
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Insert);
    QVERIFY(!dmMain->tblOperates2->isActive());
    QCOMPARE(w()->operationsGrid()->model()->rowCount(), 0);
    QCOMPARE(w()->pages()->currentIndex(), 1);
    QVERIFY(w()->photo()->picture().isNull());
    QCOMPARE(m_main->currentNavigationTab(), s("业务管理"));
}

void TestStaff::pendingOperationIsPostedFirst()
{
    openAs(s("wang"));
    Dataset *ops = dmMain->tblOperates2;
    QVERIFY(ops->locate(s("OperateID"), {s("OP1")}));
    ops->edit();
    ops->field(s("OperateTitle")).setValue(s("改过的合同"));
    w()->Act_Insert->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(dbText(s("select OperateTitle from tblOperates where OperateID='OP1'")), s("改过的合同"));
    dmMain->tblOperaters->cancel();

    // A post the file refuses is told, and the command stops: no new member, the edit kept.
    dmMain->database()->exec(s("create trigger noOps before update on tblOperates begin select raise(abort, 'locked'); end"));
    ops->open();
    QVERIFY(ops->locate(s("OperateID"), {s("OP1")}));
    ops->edit();
    ops->field(s("OperateTitle")).setValue(s("再改"));
    w()->Act_Modify->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(ops->state(), Dataset::State::Edit);
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
    w()->Act_Insert->trigger();
    QCOMPARE(m_rec->messages.size(), 2);
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
    ops->cancel();
}

void TestStaff::query_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("all") << 0 << QString() << QStringList{s("S01"), s("S02"), s("S03"), s("S04"), s("S05")};
    QTest::newRow("code") << 1 << s("0") << QStringList{s("S01"), s("S02"), s("S03"), s("S04"), s("S05")};
    QTest::newRow("code, blanks trimmed") << 1 << s(" S02 ") << QStringList{s("S02")};
    QTest::newRow("one character of a name") << 2 << s("娜") << QStringList{s("S02")};
    QTest::newRow("quote in a name") << 2 << s("O'N") << QStringList{s("S03")};
    QTest::newRow("quote cannot widen") << 2 << s("x' or Name Like '%") << QStringList{};
    QTest::newRow("percent is a pattern") << 3 << s("50%") << QStringList{s("S03"), s("S04")};
    QTest::newRow("underscore is one character") << 4 << s("a_b") << QStringList{s("S03"), s("S04")};
    QTest::newRow("duty") << 4 << s("经理") << QStringList{s("S01")};
}

void TestStaff::query()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QStringList, members);
    openAs(s("wang"));
    runQuery(2, s("张"));
    runQuery(kind, text);
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-查询"));
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(column(dmMain->tblOperaters, s("OperaterID")), members);
    if (kind > 0)
        QCOMPARE(TfrmOperaterQuery::condition(kind, text.trimmed()).isEmpty(), false);
}

void TestStaff::queryEmptyText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("code") << 1 << s("请输入匹配的工作人员代码!");
    QTest::newRow("name") << 2 << s("请输入匹配的工作人员姓名!");
    QTest::newRow("nickname") << 3 << s("请输入匹配的称呼!");
    QTest::newRow("duty") << 4 << s("请输入匹配的职务!");
}

void TestStaff::queryEmptyText()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    openAs(s("wang"));
    runQuery(2, s("张"));
    bool enabled = false, stayedOpen = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *q = qobject_cast<TfrmOperaterQuery *>(d);
        q->show();
        q->kindBox()->setCurrentIndex(kind);
        enabled = q->textEdit()->isEnabled();
        typeText(q->textEdit(), s("   "));
        QTest::mouseClick(q->okButton(), Qt::LeftButton);
        stayedOpen = q->isVisible();
        return q->result();
    };
    w()->Act_Query->trigger();
    QVERIFY(enabled);
    QVERIFY(stayedOpen);
    QCOMPARE(m_rec->texts(), QStringList{message});
    // The earlier filter stays.
    QCOMPARE(column(dmMain->tblOperaters, s("OperaterID")), QStringList{s("S01")});
}

void TestStaff::refreshKeepsTheQueryFilter()
{
    openAs(s("wang"));
    runQuery(4, s("a"));
    QCOMPARE(column(dmMain->tblOperaters, s("OperaterID")), (QStringList{s("S03"), s("S04")}));
    w()->Act_Refresh->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-刷新"));
    QCOMPARE(column(dmMain->tblOperaters, s("OperaterID")), (QStringList{s("S03"), s("S04")}));
    // Opening the window again lists everyone.
    m_main->action(s("Act_Operaters"))->trigger();
    QCOMPARE(dmMain->tblOperaters->recordCount(), 5);
}

void TestStaff::saveChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no code") << QString() << s("新人") << s("请输入业务员代码！") << s("OperaterID");
    QTest::newRow("blanks for a code") << s("  ") << s("新人") << s("请输入业务员代码！") << s("OperaterID");
    QTest::newRow("no name") << s("S09") << QString() << s("请输入业务员名称！") << s("Name");
    QTest::newRow("both") << s("S09") << s("新人") << QString() << QString();
}

void TestStaff::saveChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    openAs(s("wang"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    w()->Act_Insert->trigger();
    if (!code.isEmpty())
        retype(w()->editor(s("OperaterID")), code);
    if (!name.isEmpty())
        retype(w()->editor(s("Name")), name);
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Save->isEnabled());
    QVERIFY(!w()->Act_Add->isEnabled());
    w()->Act_Save->trigger();
    QCOMPARE(logEntries().last(), s("客户业务管理-业务员资料-保存"));
    if (message.isEmpty()) {
        QVERIFY(m_rec->messages.isEmpty());
        QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
        QCOMPARE(dbText(s("select Name from tblOperaters where OperaterID='S09'")), name);
        QVERIFY(QDir(FilesRoot + s("Operaters/S09")).exists());
        QCOMPARE(FileListRoot, FilesRoot + s("Operaters/S09"));
    } else {
        QCOMPARE(m_rec->texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), w()->editor(focus));
        QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Insert);
    }
}

void TestStaff::statusSaveFolders_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("folder");  // below Files/
    QTest::newRow("plain") << s("S09") << s("Operaters/S09");
    QTest::newRow("parent folder") << s("../x") << s("Operaters");
    QTest::newRow("separator") << s("a/b") << s("Operaters");
    QTest::newRow("dot dot") << s("..") << s("Operaters");
    QTest::newRow("colon") << s("c:x") << s("Operaters");
    QTest::newRow("chinese") << s("员工九") << s("Operaters/员工九");
}

void TestStaff::statusSaveFolders()
{
    QFETCH(QString, code);
    QFETCH(QString, folder);
    openAs(s("wang"));
    w()->Act_Insert->trigger();
    retype(w()->editor(s("OperaterID")), code);
    retype(w()->editor(s("Name")), s("新人"));
    QTest::mouseClick(w()->stateSaveButton(), Qt::LeftButton);
    QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->texts().join(u'|')));
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
    const QString expected = QDir::toNativeSeparators(QDir::cleanPath(FilesRoot + folder));
    QCOMPARE(dmMain->database()->scalar(s("select FilePath from tblOperaters where Name='新人'")).toString(), expected);
    QCOMPARE(QDir::cleanPath(FileListRoot), QDir::cleanPath(FilesRoot + folder));
    // Nothing made outside Files/Operaters.
    QVERIFY(!QDir(AppDir + s("x")).exists());
    QVERIFY(!QDir(FilesRoot + s("x")).exists());
    QVERIFY(!QDir(FilesRoot + s("Operaters/a")).exists());

    // Only the status changed on a saved member: FilePath is still written.
    dmMain->database()->exec(s("update tblOperaters set FilePath=null"));
    dmMain->tblOperaters->refresh();
    QVERIFY(dmMain->tblOperaters->locate(s("Name"), {s("新人")}));
    QTest::mouseClick(w()->stateModifyButton(), Qt::LeftButton);
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Edit);
    QTest::mouseClick(w()->stateSaveButton(), Qt::LeftButton);
    QCOMPARE(dmMain->database()->scalar(s("select FilePath from tblOperaters where Name='新人'")).toString(), expected);
}

void TestStaff::keylessRowIsDroppedOnAMove()
{
    openAs(s("wang"));
    w()->Act_Insert->trigger();
    retype(w()->editor(s("Name")), s("无代码"));
    // The status "保存" asks for the code instead of dropping what was typed.
    QTest::mouseClick(w()->stateSaveButton(), Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("请输入业务员代码！")});
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Insert);
    QCOMPARE(w()->editor(s("Name"))->property("text").toString(), s("无代码"));
    // A row move drops it silently.
    dmMain->tblOperaters->first();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblOperaters")), 5);
}

void TestStaff::photoFiles_data()
{
    QTest::addColumn<QString>("name");  // in the test's folder
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("shows");
    const QByteArray pic = jpeg();
    QTest::newRow("picture") << s("p.jpg") << pic << true;
    QTest::newRow("chinese path") << s("照片/张伟.jpg") << pic << true;
    QTest::newRow("missing") << s("gone.jpg") << QByteArray() << false;
    QTest::newRow("zero bytes") << s("empty.jpg") << QByteArray("") << false;
    QTest::newRow("truncated") << s("cut.jpg") << pic.left(pic.size() / 2) << false;
    QTest::newRow("text named jpg") << s("note.jpg") << QByteArray("hello, not a picture\n") << false;
    QTest::newRow("a folder") << s("dir.jpg") << QByteArray() << false;
}

void TestStaff::photoFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, shows);
    const QString path = m_files.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_')) + u'/' + name;
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (name == u"dir.jpg")
        QVERIFY(QDir().mkpath(path));
    else if (name != u"gone.jpg") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    dmMain->database()->exec(s("update tblOperaters set Photo='%1' where OperaterID='S02'").arg(path));
    dmMain->tblOperaters->refresh();
    openAs(s("wang"));
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S02")}));
    // A row click and "修改" show no message either way.
    QTest::mouseClick(w()->listGrid()->view()->viewport(), Qt::LeftButton, {},
                      w()->listGrid()->view()->visualRect(w()->listGrid()->view()->currentIndex()).center());
    QCOMPARE(w()->photo()->picture().isNull(), !shows);
    w()->Act_Modify->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    dmMain->tblOperaters->cancel();
    const QString warning = s("照片文件无法显示：") + QDir::toNativeSeparators(path);
    // A tab switch and "刷新" tell a file that gives no picture.
    w()->pages()->setCurrentIndex(0);
    QCOMPARE(m_rec->texts(), shows ? QStringList{} : QStringList{warning});
    // "刷新" shows the first member again and tells when its file gives no picture.
    dmMain->database()->exec(s("update tblOperaters set Photo='%1' where OperaterID='S01'").arg(path));
    m_rec->messages.clear();
    w()->Act_Refresh->trigger();
    QCOMPARE(dmMain->tblOperaters->field(s("OperaterID")).asString(), s("S01"));
    QCOMPARE(m_rec->texts(), shows ? QStringList{} : QStringList{warning});
}

void TestStaff::cancelRestoresThePhoto()
{
    QFile f(m_files.filePath(s("a.jpg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(jpeg());
    f.close();
    QVERIFY(QFile::copy(f.fileName(), m_files.filePath(s("b.jpg"))));
    dmMain->database()->exec(s("update tblOperaters set Photo='%1' where OperaterID='S01'").arg(f.fileName()));
    dmMain->tblOperaters->refresh();
    openAs(s("wang"));
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S01")}));
    QCOMPARE(w()->photo()->path(), f.fileName());
    m_rec->files.enqueue(m_files.filePath(s("b.jpg")));
    QVERIFY(w()->photo()->choose());
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Edit);
    QCOMPARE(dmMain->tblOperaters->field(s("Photo")).asString(), m_files.filePath(s("b.jpg")));
    QCOMPARE(w()->photo()->path(), m_files.filePath(s("b.jpg")));
    ActionGate::instance()->evaluate();
    QVERIFY(w()->Act_Cancel->isEnabled());
    w()->Act_Cancel->trigger();
    QCOMPARE(dmMain->tblOperaters->state(), Dataset::State::Browse);
    QCOMPARE(dmMain->tblOperaters->field(s("Photo")).asString(), f.fileName());
    QCOMPARE(w()->photo()->path(), f.fileName());
    QVERIFY(!w()->photo()->picture().isNull());
}

void TestStaff::zoomOpensTheViewer()
{
    openAs(s("wang"));
    QTest::mouseClick(w()->zoomButton(), Qt::LeftButton);
    QCOMPARE(PhotoViewCaller, s("Operaters"));
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmImage")});
}

void TestStaff::staffNamesIgnoreTheQueryFilter()
{
    openAs(s("Admin"));
    runQuery(1, s("S05"));
    QCOMPARE(dmMain->tblOperaters->recordCount(), 1);
    Dataset *c = dmMain->tblCustomers2;
    OpenDatasets({c});
    QVERIFY(c->locate(s("CustId"), {s("C1")}));
    QCOMPARE(c->field(s("Operater")).asString(), s("张伟"));
    Dataset *ops = dmMain->tblOperates2;
    OpenDatasets({ops});
    QVERIFY(ops->locate(s("OperateID"), {s("OP3")}));
    QCOMPARE(ops->field(s("OperaterName")).asString(), s("李娜"));
    // A renamed member shows under the new name at once.
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S05")}));
    dmMain->tblOperaters->setFiltered(false);
    QVERIFY(dmMain->tblOperaters->locate(s("OperaterID"), {s("S02")}));
    dmMain->tblOperaters->edit();
    dmMain->tblOperaters->field(s("Name")).setValue(s("李娜娜"));
    dmMain->tblOperaters->post();
    QCOMPARE(ops->field(s("OperaterName")).asString(), s("李娜娜"));
}

void TestStaff::subRights_data()
{
    QTest::addColumn<QString>("user");
    // Insert, Modify, Delete, Query, Print, Refresh, Add, Del, Qry, Prt, Save while editing, Save while inserting
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("every sub-right") << s("wang")
                                     << QList<bool>{true, true, true, true, true, true, true, true, true, true, true, true};
    QTest::newRow("modify and query") << s("guest") << QList<bool>{false, true, false, true, false, true, false, false,
                                                                   true, false, true, true};
    QTest::newRow("insert only") << s("adder") << QList<bool>{true, false, false, false, false, true, true, false, false,
                                                              false, false, true};
}

void TestStaff::subRights()
{
    QFETCH(QString, user);
    QFETCH(QList<bool>, enabled);
    openAs(user);
    const QList<QAction *> actions{w()->Act_Insert, w()->Act_Modify, w()->Act_Delete, w()->Act_Query, w()->Act_Print,
                                   w()->Act_Refresh, w()->Act_Add,   w()->Act_Del,    w()->Act_Qry,   w()->Act_Prt};
    for (int i = 0; i < actions.size(); ++i)
        QVERIFY2(actions.at(i)->isEnabled() == enabled.at(i), qPrintable(actions.at(i)->objectName()));
    QVERIFY(!w()->Act_Save->isEnabled());
    QVERIFY(!w()->Act_Cancel->isEnabled());
    dmMain->tblOperaters->edit();
    ActionGate::instance()->evaluate();
    QCOMPARE(w()->Act_Save->isEnabled(), enabled.at(10));
    QVERIFY(w()->Act_Cancel->isEnabled());
    dmMain->tblOperaters->cancel();
    dmMain->tblOperaters->append();
    ActionGate::instance()->evaluate();
    QCOMPARE(w()->Act_Save->isEnabled(), enabled.at(11));
    QVERIFY(!w()->Act_Add->isEnabled());  // not while inserting
    dmMain->tblOperaters->cancel();
}

void TestStaff::enterOrderAndLinks()
{
    openAs(s("wang"));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    w()->Act_Modify->trigger();
    const QList<QWidget *> order = w()->enterOrder();
    QStringList names;
    for (QWidget *e : order)
        names << e->objectName().mid(2);
    QCOMPARE(names, (QStringList{s("OperaterID"), s("Name"), s("NickName"), s("Sex"), s("DepartmentID"), s("Duty"),
                                 s("Education"), s("Birth"), s("ID"), s("Native"), s("CTelephone"), s("Fax"),
                                 s("HTelephone"), s("Mobile"), s("Address"), s("Email"), s("HomePage"), s("Memo")}));
    order.at(0)->setFocus();
    QTest::keyClick(order.at(0), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), order.at(1));
    retype(w()->editor(s("Email")), s("zhang@jiazheng.example"));
    retype(w()->editor(s("HomePage")), s("www.jiazheng.example"));
    QTest::mouseClick(w()->mailButton(), Qt::LeftButton);
    QTest::mouseClick(w()->homeButton(), Qt::LeftButton);
    QCOMPARE(m_rec->opened.size(), 2);
    QVERIFY(m_rec->opened.at(0).startsWith(s("mailto:zhang")));
    QCOMPARE(m_rec->opened.at(1), s("http://www.jiazheng.example"));
}

QTEST_MAIN(TestStaff)
#include "tst_staff.moc"
