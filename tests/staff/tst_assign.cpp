// Work assignment and staff tracking: customers move with every contact inside one
// transaction (a failure moves nothing), operations alone, bound codes and quoted sources,
// the lists' buttons, users offered as targets; the tracking window's queries, its one
// editable field and the remark stored on closing.
#include "ActionGate.h"
#include "DatasetModel.h"
#include "DbGrid.h"
#include "DbComboBox.h"
#include "DbMemo.h"
#include "DbNumberEdit.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "SeamRecorder.h"
#include "StaffWindows.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uAssign.h"
#include "uMain.h"
#include "uOperaterTrack.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QString owner(const QString &table, const QString &key, const QString &code)
{
    Statement st(*dmMain->database(), s("select SUser from %1 where %2=:code").arg(table, key));
    st.bind(s("code"), code);
    return st.step() ? st.text(0) : s("<none>");
}

QStringList owners(const QString &sql)
{
    QStringList out;
    Statement st(*dmMain->database(), sql);
    while (st.step())
        out << st.text(0);
    return out;
}

void choose(QComboBox *box, const QString &text)
{
    box->setCurrentText(text);
}

}  // namespace

class TestAssign : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void nonSystemUserIsRefused_data();
    void nonSystemUserIsRefused();
    void usersOffered();
    void customersMoveWithTheirContacts();
    void operationMovesAlone();
    void failureMovesNothing_data();
    void failureMovesNothing();
    void quotedCodesAndSources();
    void typedSourceCannotWiden();
    void contentChangeEmptiesTheLists_data();
    void contentChangeEmptiesTheLists();
    void listButtons_data();
    void listButtons();
    void missingUsers();

    void trackQuery_data();
    void trackQuery();
    void trackOnlyTheRemarkIsEditable();
    void trackClosingStoresTheRemark();
    void trackClosingWithARefusedPostStaysOpen();
    void trackNamesEveryStaffMember();

private:
    std::unique_ptr<TfrmAssign> refreshed(const QString &content, const QString &source);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

// Users: Admin (system), wang, li, old (State "No"), o'neil. Customers C1 (wang, contacts
// L11-L13, operation OP1), C2 (wang, contact L21), C3 (li), O'K (o'neil), O (o'neil).
// Operations OP1 (wang, C1), OP2 (wang, C2), OP3 (li). Staff S01 (C1, C2), S02 (C3).
// Contacts history: two on 2026-03-01 (C1 张先生, C2 李女士), one on 2026-03-02 (C3 O'Hara).
void TestAssign::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys"), s("State")});
    user.insert({s("wang"), hash, false, QVariant()});
    user.insert({s("li"), hash, false, s("Yes")});
    user.insert({s("old"), hash, false, s("No")});
    user.insert({s("o'neil"), hash, false, QVariant()});
    TableInserter o(*db, s("tblOperaters"), {s("OperaterID"), s("Name")});
    o.insert({s("S01"), s("张伟")});
    o.insert({s("S02"), s("李娜")});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("OperaterID")});
    c.insert({s("C1"), s("王宅"), s("wang"), s("S01")});
    c.insert({s("C2"), s("赵宅"), s("wang"), s("S01")});
    c.insert({s("C3"), s("李宅"), s("li"), s("S02")});
    c.insert({s("O'K"), s("奥宅"), s("o'neil"), QVariant()});
    c.insert({s("O"), s("欧宅"), s("o'neil"), QVariant()});
    TableInserter l(*db, s("tblLinkmans"), {s("LinkmanID"), s("CustID"), s("Name"), s("SUser")});
    l.insert({s("L11"), s("C1"), s("张一"), s("wang")});
    l.insert({s("L12"), s("C1"), s("张二"), s("wang")});
    l.insert({s("L13"), s("C1"), s("张三"), s("wang")});
    l.insert({s("L21"), s("C2"), s("赵一"), s("wang")});
    l.insert({s("LK1"), s("O'K"), s("奥一"), s("o'neil")});
    l.insert({s("LO1"), s("O"), s("欧一"), s("o'neil")});
    TableInserter op(*db, s("tblOperates"), {s("OperateID"), s("OperateTitle"), s("CustID"), s("OperaterID"), s("SUser")});
    op.insert({s("OP1"), s("保洁"), s("C1"), s("S01"), s("wang")});
    op.insert({s("OP2"), s("月嫂"), s("C2"), s("S01"), s("wang")});
    op.insert({s("OP3"), s("护工"), s("C3"), s("S02"), s("li")});
    TableInserter h(*db, s("tblCustomerState"),
                    {s("CustID"), s("LinkDate"), s("LinkTime"), s("LinkType"), s("Linkman"), s("Memo")});
    h.insert({s("C1"), s("2026-03-01 00:00:00"), s("09:30:00"), s("电话联系"), s("张先生"), QVariant()});
    h.insert({s("C2"), s("2026-03-01 00:00:00"), s("14:00:00"), s("登门拜访"), s("李女士"), QVariant()});
    h.insert({s("C3"), s("2026-03-02 00:00:00"), s("10:00:00"), s("电子邮件联系"), s("O'Hara"), QVariant()});
    tx.commit();
}

void TestAssign::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installStaffWindows(*m_main);
    CurrentUserID = s("Admin");
    QVERIFY(m_main->prepareAfterLogin());
}

void TestAssign::cleanup()
{
    if (dmMain)
        for (Dataset *d : dmMain->findChildren<Dataset *>())
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->cancel();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

std::unique_ptr<TfrmAssign> TestAssign::refreshed(const QString &content, const QString &source)
{
    auto a = std::make_unique<TfrmAssign>();
    choose(a->contentBox(), content);
    choose(a->sourceBox(), source);
    QTest::mouseClick(a->button(s("刷    新")), Qt::LeftButton);
    return a;
}

void TestAssign::nonSystemUserIsRefused_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("window");
    QTest::newRow("assignment") << s("Act_Assign") << s("客户业务管理-客户业务工作分配") << s("frmAssign");
    QTest::newRow("tracking") << s("Act_OperaterTrack") << s("客户业务管理-工作人员员跟踪管理") << s("frmOperaterTrack");
}

void TestAssign::nonSystemUserIsRefused()
{
    QFETCH(QString, action);
    QFETCH(QString, log);
    QFETCH(QString, window);
    m_main->action(action)->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{window});
    CurrentUserID = s("wang");
    QVERIFY(m_main->prepareAfterLogin());
    m_rec->modalWindows.clear();
    m_main->action(action)->trigger();
    QCOMPARE(logEntries().last(), log);
    QCOMPARE(m_rec->texts(), QStringList{s("对不起，只有系统管理员才享有该权限！")});
    QVERIFY(m_rec->modalWindows.isEmpty());
}

void TestAssign::usersOffered()
{
    TfrmAssign a;
    QCOMPARE(a.windowTitle(), s("客户业务工作分配"));
    QStringList sources, targets;
    for (int i = 0; i < a.sourceBox()->count(); ++i)
        sources << a.sourceBox()->itemText(i);
    for (int i = 0; i < a.targetBox()->count(); ++i)
        targets << a.targetBox()->itemText(i);
    QVERIFY(sources.contains(s("old")));
    QVERIFY(!targets.contains(s("old")));
    QVERIFY(targets.contains(s("li")));
    QVERIFY(targets.contains(s("Admin")));
    QCOMPARE(a.contentBox()->currentText(), s("客户资料"));
}

void TestAssign::customersMoveWithTheirContacts()
{
    auto a = refreshed(s("客户资料"), s("wang"));
    QCOMPARE(a->leftItems(), (QStringList{s("C1"), s("C2")}));
    a->leftList()->setCurrentRow(0);
    QTest::mouseClick(a->button(s(">")), Qt::LeftButton);
    choose(a->targetBox(), s("li"));
    QTest::mouseClick(a->button(s("确认分配")), Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("提醒用户：分配成功！")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Information);
    QCOMPARE(owner(s("tblCustomers"), s("CustId"), s("C1")), s("li"));
    QCOMPARE(owners(s("select SUser from tblLinkmans where CustID='C1'")), (QStringList{s("li"), s("li"), s("li")}));
    // Its operation keeps its owner; the other customer is untouched.
    QCOMPARE(owner(s("tblOperates"), s("OperateID"), s("OP1")), s("wang"));
    QCOMPARE(owner(s("tblCustomers"), s("CustId"), s("C2")), s("wang"));
    QCOMPARE(owner(s("tblLinkmans"), s("LinkmanID"), s("L21")), s("wang"));
    QVERIFY(a->rightItems().isEmpty());
    QVERIFY(a->progress()->isHidden());
}

void TestAssign::operationMovesAlone()
{
    auto a = refreshed(s("业务资料"), s("wang"));
    QCOMPARE(a->leftItems(), (QStringList{s("OP1"), s("OP2")}));
    a->leftList()->setCurrentRow(1);
    QTest::mouseClick(a->button(s(">")), Qt::LeftButton);
    choose(a->targetBox(), s("li"));
    QVERIFY(a->assign());
    QCOMPARE(owner(s("tblOperates"), s("OperateID"), s("OP2")), s("li"));
    QCOMPARE(owner(s("tblOperates"), s("OperateID"), s("OP1")), s("wang"));
    QCOMPARE(owner(s("tblCustomers"), s("CustId"), s("C2")), s("wang"));
    QCOMPARE(owner(s("tblLinkmans"), s("LinkmanID"), s("L21")), s("wang"));
}

void TestAssign::failureMovesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("trigger");
    QTest::newRow("second customer's contact refused") << s("li") << true;
    QTest::newRow("target wider than the owner field") << QString(31, u't') << false;
}

void TestAssign::failureMovesNothing()
{
    QFETCH(QString, target);
    QFETCH(bool, trigger);
    if (trigger)
        dmMain->database()->exec(s("create trigger stopL21 before update on tblLinkmans when old.LinkmanID='L21' "
                                   "begin select raise(abort, 'refused'); end"));
    auto a = refreshed(s("客户资料"), s("wang"));
    QTest::mouseClick(a->button(s(">>")), Qt::LeftButton);
    choose(a->targetBox(), target);
    QVERIFY(!a->assign());
    QCOMPARE(m_rec->texts(), QStringList{s("提醒用户：分配未成功，请重新分配！")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    QCOMPARE(owners(s("select distinct SUser from tblCustomers where CustId in ('C1','C2')")), QStringList{s("wang")});
    QCOMPARE(owners(s("select distinct SUser from tblLinkmans where CustID in ('C1','C2')")), QStringList{s("wang")});
    QCOMPARE(a->rightItems(), (QStringList{s("C1"), s("C2")}));
    QVERIFY(a->progress()->isHidden());
    QVERIFY(!dmMain->qryAssignUpdate->isActive());
    // Once the obstacle is gone the same run succeeds.
    if (trigger)
        dmMain->database()->exec(s("drop trigger stopL21"));
    else
        choose(a->targetBox(), s("li"));
    m_rec->messages.clear();
    QVERIFY(a->assign());
    QCOMPARE(owners(s("select distinct SUser from tblLinkmans where CustID in ('C1','C2')")), QStringList{s("li")});
}

void TestAssign::quotedCodesAndSources()
{
    auto a = refreshed(s("客户资料"), s("o'neil"));
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(a->leftItems(), (QStringList{s("O'K"), s("O")}));
    a->leftList()->setCurrentRow(0);
    QTest::mouseClick(a->button(s(">")), Qt::LeftButton);
    choose(a->targetBox(), s("li"));
    QVERIFY(a->assign());
    QCOMPARE(owner(s("tblCustomers"), s("CustId"), s("O'K")), s("li"));
    QCOMPARE(owner(s("tblLinkmans"), s("LinkmanID"), s("LK1")), s("li"));
    QCOMPARE(owner(s("tblCustomers"), s("CustId"), s("O")), s("o'neil"));
    QCOMPARE(owner(s("tblLinkmans"), s("LinkmanID"), s("LO1")), s("o'neil"));
}

void TestAssign::typedSourceCannotWiden()
{
    auto a = refreshed(s("客户资料"), s("x' or sUser Like '%"));
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(a->leftItems().isEmpty());
    a = refreshed(s("业务资料"), s("x' or sUser Like '%"));
    QVERIFY(a->leftItems().isEmpty());
}

void TestAssign::contentChangeEmptiesTheLists_data()
{
    QTest::addColumn<QString>("content");
    QTest::newRow("chosen") << s("业务资料");
    QTest::newRow("typed") << s("客户");
}

void TestAssign::contentChangeEmptiesTheLists()
{
    QFETCH(QString, content);
    auto a = refreshed(s("客户资料"), s("wang"));
    a->leftList()->setCurrentRow(0);
    QTest::mouseClick(a->button(s(">")), Qt::LeftButton);
    QCOMPARE(a->leftItems().size() + a->rightItems().size(), 2);
    choose(a->contentBox(), content);
    QVERIFY(a->leftItems().isEmpty());
    QVERIFY(a->rightItems().isEmpty());
    // A typed content that is not "客户资料" lists operations.
    QTest::mouseClick(a->button(s("刷    新")), Qt::LeftButton);
    QCOMPARE(a->leftItems(), (QStringList{s("OP1"), s("OP2")}));
}

void TestAssign::listButtons_data()
{
    QTest::addColumn<QStringList>("steps");  // button captions, "dl<n>"/"dr<n>" double-click row n, "sl<n>" select
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");
    QTest::newRow(">") << QStringList{s(">")} << QStringList{s("O")} << QStringList{s("O'K")};
    QTest::newRow("> on the selected") << QStringList{s("sl1"), s(">")} << QStringList{s("O'K")} << QStringList{s("O")};
    QTest::newRow(">>") << QStringList{s(">>")} << QStringList{} << QStringList{s("O'K"), s("O")};
    QTest::newRow(">> after > replaces") << QStringList{s(">"), s(">>")} << QStringList{} << QStringList{s("O")};
    QTest::newRow("<") << QStringList{s(">>"), s("<")} << QStringList{s("O'K")} << QStringList{s("O")};
    QTest::newRow("<<") << QStringList{s(">"), s("<<")} << QStringList{s("O'K")} << QStringList{};
    QTest::newRow("double-click left") << QStringList{s("dl1")} << QStringList{s("O'K")} << QStringList{s("O")};
    QTest::newRow("double-click right") << QStringList{s(">>"), s("dr0")} << QStringList{s("O'K")} << QStringList{s("O")};
    QTest::newRow("> on an empty list") << QStringList{s(">>"), s(">"), s(">>")} << QStringList{}
                                        << QStringList{s("O'K"), s("O")};
}

void TestAssign::listButtons()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);
    auto a = refreshed(s("客户资料"), s("o'neil"));
    a->show();
    QVERIFY(QTest::qWaitForWindowExposed(a.get()));
    for (const QString &step : steps) {
        if (step.startsWith(u"dl") || step.startsWith(u"dr")) {
            QListWidget *list = step.startsWith(u"dl") ? a->leftList() : a->rightList();
            const QRect r = list->visualItemRect(list->item(step.mid(2).toInt()));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        } else if (step.startsWith(u"sl")) {
            a->leftList()->setCurrentRow(step.mid(2).toInt());
        } else {
            QTest::mouseClick(a->button(step), Qt::LeftButton);
        }
    }
    QCOMPARE(a->leftItems(), left);
    QCOMPARE(a->rightItems(), right);
}

void TestAssign::missingUsers()
{
    TfrmAssign a;
    a.show();
    QVERIFY(QTest::qWaitForWindowActive(&a));
    QTest::mouseClick(a.button(s("刷    新")), Qt::LeftButton);
    QCOMPARE(m_rec->texts(), QStringList{s("请选择原用户ID！")});
    QCOMPARE(QApplication::focusWidget(), a.sourceBox());
    QTest::mouseClick(a.button(s("确认分配")), Qt::LeftButton);
    QCOMPARE(m_rec->lastText(), s("请选择目标用户ID！"));
    QCOMPARE(QApplication::focusWidget(), a.targetBox());
}

void TestAssign::trackQuery_data()
{
    QTest::addColumn<bool>("byDate");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("customers");
    QTest::newRow("a day with two") << true << QDate(2026, 3, 1) << QString() << QString() << QStringList{s("C1"), s("C2")};
    QTest::newRow("a day without") << true << QDate(2026, 3, 5) << QString() << QString() << QStringList{};
    QTest::newRow("partial contact") << false << QDate() << s("按联系人查询") << s("女士") << QStringList{s("C2")};
    QTest::newRow("quote in the text") << false << QDate() << s("按联系人查询") << s("O'H") << QStringList{s("C3")};
    QTest::newRow("quote cannot widen") << false << QDate() << s("按联系人查询") << s("x' or linkman Like '%")
                                        << QStringList{};
    QTest::newRow("customer code") << false << QDate() << s("按客户代码查询") << s("c3") << QStringList{s("C3")};
    QTest::newRow("no text: all") << false << QDate() << s("按客户代码查询") << s("  ")
                                  << QStringList{s("C1"), s("C2"), s("C3")};
    QTest::newRow("unknown kind leaves the list") << false << QDate() << s("别的") << s("C")
                                                  << QStringList{s("C1"), s("C2")};
}

void TestAssign::trackQuery()
{
    QFETCH(bool, byDate);
    QFETCH(QDate, date);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QStringList, customers);
    TfrmOperaterTrack track;
    QVERIFY(!dmMain->tblOperaterTrack->isActive() || dmMain->tblOperaterTrack->recordCount() >= 0);
    TfrmOpTrackQuery q(&track);
    QVERIFY(q.dateButton()->isChecked());
    QCOMPARE(q.dateEdit()->date(), QDate::currentDate());
    // Every case starts from the day with two contacts.
    q.dateEdit()->setDate(QDate(2026, 3, 1));
    QVERIFY(q.run());
    if (byDate) {
        q.dateEdit()->setDate(date);
    } else {
        q.otherButton()->setChecked(true);
        q.kindBox()->setCurrentText(kind);
        q.textEdit()->setText(text);
    }
    QTest::mouseClick(q.okButton(), Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QStringList got;
    Dataset *t = dmMain->tblOperaterTrack;
    for (int i = 0; i < t->recordCount(); ++i)
        got << t->textAt(i, t->fieldIndex(s("CustID")));
    got.sort();
    QCOMPARE(got, customers);
    QCOMPARE(track.grid()->model()->rowCount(), customers.size());
}

void TestAssign::trackOnlyTheRemarkIsEditable()
{
    TfrmOperaterTrack track;
    track.show();
    QVERIFY(QTest::qWaitForWindowActive(&track));
    QCOMPARE(QApplication::focusWidget(), track.memo());
    // Before a query the data layer refuses.
    track.Act_Modify->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    TfrmOpTrackQuery q(&track);
    q.otherButton()->setChecked(true);
    QVERIFY(q.run());
    track.Act_Save->trigger();  // nothing in edit: refused
    QCOMPARE(m_rec->messages.size(), 2);
    track.Act_Modify->trigger();
    QCOMPARE(dmMain->tblOperaterTrack->state(), Dataset::State::Edit);
    for (QWidget *w : track.editors()) {
        const bool editable = w == track.memo();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            QVERIFY2(e->isReadOnly() != editable, qPrintable(w->objectName()));
        else if (auto *e = qobject_cast<QAbstractSpinBox *>(w))
            QVERIFY2(e->isReadOnly(), qPrintable(w->objectName()));
        else if (auto *e = qobject_cast<QPlainTextEdit *>(w))
            QVERIFY2(e->isReadOnly() != editable, qPrintable(w->objectName()));
        else if (auto *e = qobject_cast<DbComboBox *>(w))
            QVERIFY2(e->isReadOnly(), qPrintable(w->objectName()));
        else if (auto *e = qobject_cast<DbNumberEdit *>(w))
            QVERIFY2(e->lineEdit()->isReadOnly(), qPrintable(w->objectName()));
        else
            QVERIFY2(w->property("readOnly").toBool() || !w->isEnabled(), qPrintable(w->objectName()));
    }
    const QString custBefore = dmMain->tblOperaterTrack->field(s("CustID")).asString();
    QTest::keyClicks(track.editor(s("CustID")), "ZZ");
    QTest::keyClicks(track.memo(), "ok");
    track.Act_Save->trigger();
    QCOMPARE(dmMain->tblOperaterTrack->field(s("CustID")).asString(), custBefore);
    QCOMPARE(dmMain->tblOperaterTrack->field(s("Memo")).asString(), s("ok"));
}

void TestAssign::trackClosingStoresTheRemark()
{
    TfrmOperaterTrack track;
    track.show();
    TfrmOpTrackQuery q(&track);
    q.dateEdit()->setDate(QDate(2026, 3, 2));
    QVERIFY(q.run());
    track.Act_Modify->trigger();
    QTest::keyClicks(track.memo(), "follow up");
    QTest::keyClick(&track, Qt::Key_Escape);
    QVERIFY(!track.isVisible());
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(dmMain->database()->scalar(s("select Memo from tblCustomerState where CustID='C3'")).toString(),
             s("follow up"));

    // "修改" on a day without contacts starts no blank record.
    TfrmOperaterTrack again;
    TfrmOpTrackQuery empty(&again);
    empty.dateEdit()->setDate(QDate(2026, 3, 9));
    QVERIFY(empty.run());
    again.Act_Modify->trigger();
    QCOMPARE(dmMain->tblOperaterTrack->state(), Dataset::State::Browse);
    again.Act_Close->trigger();
    QCOMPARE(dmMain->database()->scalar(s("select count(*) from tblCustomerState")).toInt(), 3);
}

void TestAssign::trackClosingWithARefusedPostStaysOpen()
{
    dmMain->database()->exec(s("create trigger noMemo before update on tblCustomerState begin select raise(abort, 'no'); end"));
    TfrmOperaterTrack track;
    track.show();
    TfrmOpTrackQuery q(&track);
    q.dateEdit()->setDate(QDate(2026, 3, 2));
    QVERIFY(q.run());
    track.Act_Modify->trigger();
    QTest::keyClicks(track.memo(), "x");
    track.Act_Close->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(track.isVisible());
    QCOMPARE(dmMain->tblOperaterTrack->state(), Dataset::State::Edit);
    dmMain->tblOperaterTrack->cancel();
}

void TestAssign::trackNamesEveryStaffMember()
{
    // The staff list queried down to one member leaves the others' names in place.
    dmMain->tblOperaters->setFilter(s("OperaterID Like '%S02%'"));
    dmMain->tblOperaters->setFiltered(true);
    TfrmOperaterTrack track;
    TfrmOpTrackQuery q(&track);
    q.otherButton()->setChecked(true);
    QVERIFY(q.run());
    Dataset *t = dmMain->tblOperaterTrack;
    QVERIFY(t->locate(s("CustID"), {s("C1")}));
    QCOMPARE(t->field(s("Operater")).asString(), s("张伟"));
    QCOMPARE(t->field(s("CustName")).asString(), s("王宅"));
    QVERIFY(t->locate(s("CustID"), {s("C3")}));
    QCOMPARE(t->field(s("Operater")).asString(), s("李娜"));
}

QTEST_MAIN(TestAssign)
#include "tst_assign.moc"
