// The sending-unit window: log texts, save checks, rights, refresh, folders, delete, query,
// the renumbering guard and prints.
#include "SendingFixture.h"

#include "DbEdit.h"
#include "DbGrid.h"
#include "RelatedRecordsTab.h"
#include "SendingRules.h"
#include "uReport.h"
#include "uShusongQuery.h"
#include "uShusongYJ.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

class TestSending : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { f.start(*m_template); }
    void cleanup() { f.stop(); }

    void logTexts_data();
    void logTexts();
    void saveChecks_data();
    void saveChecks();
    void saveEnabledOnlyWhileEditing();
    void rights_data();
    void rights();
    void refreshKeepsFilterAndPostsPending();
    void fileListRoot();
    void mailAndHomepage_data();
    void mailAndHomepage();
    void remove_data();
    void remove();
    void queryFilter_data();
    void queryFilter();
    void queryEmptyText_data();
    void queryEmptyText();
    void queryAllUnits();
    void renumber_data();
    void renumber();
    void deleteAfterTypingANewNumber();
    void settlementTabNeedsASavedUnit();
    void settlementDoubleClickEditsTheUnit();
    void print_data();
    void print();

private:
    TfrmShusong *window() const { return frmShusong; }
    DbEdit *edit(const char *field) const { return static_cast<DbEdit *>(window()->editor(s(field))); }
    // Runs the query dialog's "确定" with a kind and a text; true when it closed.
    static bool runQuery(int kind, const QString &text);
    std::unique_ptr<TestAppDir> m_template;
    SendingFixture f;
};

void TestSending::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    SendingFixture::makeTemplate(*m_template);
}

bool TestSending::runQuery(int kind, const QString &text)
{
    TfrmShusongQuery dialog;
    dialog.show();
    dialog.kindBox()->setCurrentIndex(kind);
    if (dialog.textEdit()->isEnabled())
        typeText(dialog.textEdit(), text);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    return !dialog.isVisible();
}

void TestSending::logTexts_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("log");
    QTest::newRow("insert") << "Act_Insert" << "内部管理-输送单位-新增";
    QTest::newRow("modify") << "Act_Modify" << "内部管理-输送单位-修改";
    QTest::newRow("refresh") << "Act_Refresh" << "内部管理-输送单位-刷新";
    QTest::newRow("query") << "Act_Query" << "内部管理-输送单位-查询";
    QTest::newRow("detail query") << "Act_Qry" << "内部管理-输送单位-查询";
    QTest::newRow("print") << "Act_Print" << "内部管理-输送单位-打印";
    QTest::newRow("print settlements") << "Act_Prt" << "内部管理-输送单位-打印";
    // Logged before the check, so a refused delete leaves its trace too.
    QTest::newRow("refused delete") << "Act_Delete" << "内部管理-输送单位-删除";
}

void TestSending::logTexts()
{
    QFETCH(QString, action);
    QFETCH(QString, log);
    f.openAs(s("wang"));
    QCOMPARE(logEntries().last(), s("内部管理-输送单位"));
    QAction *a = window()->PnMain->findChild<QAction *>(action);
    QVERIFY(a);
    a->trigger();
    QCOMPARE(logEntries().last(), log);
    if (action == s("Act_Delete")) {
        QCOMPARE(f.rec->lastText(), s("对不起，该输送单位包括佣金结算信息，不能删除！"));
        QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='U1'")), 1);
    }
    if (action == s("Act_Print") || action == s("Act_Prt"))
        QCOMPARE(f.rec->modalWindows, QStringList{"frmReport"});
}

void TestSending::saveChecks_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no number") << "" << "新单位" << "请输入输送单位编号！" << "ShusongID";
    QTest::newRow("blank number") << "  " << "新单位" << "请输入输送单位编号！" << "ShusongID";
    QTest::newRow("no name") << "U9" << "" << "请输入输送单位名称！" << "ShusongName";
    QTest::newRow("both missing") << "" << "" << "请输入输送单位编号！" << "ShusongID";
    QTest::newRow("complete") << "U9" << "新单位" << "" << "";
}

void TestSending::saveChecks()
{
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    f.openAs(s("wang"));
    f.main->show();
    QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
    window()->Act_Insert->trigger();
    QCOMPARE(window()->pages()->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), window()->editor(s("ShusongID")));
    typeText(edit("ShusongID"), number);
    typeText(edit("ShusongName"), name);
    window()->editor(s("Manager"))->setFocus();
    ActionGate::instance()->evaluate();
    window()->Act_Save->trigger();
    QCOMPARE(logEntries().last(), s("内部管理-输送单位-保存"));
    if (message.isEmpty()) {
        QVERIFY(f.rec->messages.isEmpty());
        QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Browse);
        QCOMPARE(dbValue(s("select ShusongName from tblShusong where ShusongID='U9'")).toString(), name);
    } else {
        QCOMPARE(f.rec->lastText(), message);
        QCOMPARE(QApplication::focusWidget(), window()->editor(focus));
        QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from tblShusong")), 5);
    }
}

void TestSending::saveEnabledOnlyWhileEditing()
{
    f.openAs(s("wang"));
    QVERIFY(!window()->Act_Save->isEnabled());
    window()->Act_Modify->trigger();
    ActionGate::instance()->evaluate();
    QVERIFY(window()->Act_Save->isEnabled());
    dmMain->tblShusong->cancel();
    ActionGate::instance()->evaluate();
    QVERIFY(!window()->Act_Save->isEnabled());
    typeText(edit("Manager"), s("新"));
    ActionGate::instance()->evaluate();
    QVERIFY(window()->Act_Save->isEnabled());
}

void TestSending::rights_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("enabled");
    const QStringList always{"Act_Refresh", "Act_Qry"};
    QTest::newRow("all") << "wang"
                         << always + QStringList{"Act_Insert", "Act_Modify", "Act_Delete", "Act_Query", "Act_Print",
                                                 "Act_Prt", "relatedNew", "relatedModify", "relatedDelete", "Act_Add",
                                                 "Act_Del"};
    QTest::newRow("none") << "guest" << always;
    QTest::newRow("insert only") << "adder" << always + QStringList{"Act_Insert", "relatedNew", "Act_Add"};
    QTest::newRow("delete only") << "remover" << always + QStringList{"Act_Delete", "relatedDelete", "Act_Del"};
}

void TestSending::rights()
{
    QFETCH(QString, user);
    QFETCH(QStringList, enabled);
    f.openAs(user);
    RelatedRecordsTab *tab = window()->settlements();
    QStringList seen;
    const auto note = [&](QAction *a) {
        if (a->isEnabled())
            seen << a->objectName();
    };
    for (QAction *a : {window()->Act_Insert, window()->Act_Modify, window()->Act_Delete, window()->Act_Refresh,
                       window()->Act_Query, window()->Act_Print, window()->Act_Qry, window()->Act_Prt,
                       tab->action(s("new")), tab->action(s("modify")), tab->action(s("delete"))})
        note(a);
    // The editor grants no more than the buttons that open it.
    TfrmShusongYJ editor;
    editor.show();
    ActionGate::instance()->evaluate();
    note(editor.Act_Add);
    note(editor.Act_Del);
    editor.hide();
    seen.sort();
    enabled.sort();
    QCOMPARE(seen, enabled);
}


void TestSending::refreshKeepsFilterAndPostsPending()
{
    f.openAs(s("wang"));
    QVERIFY(runQuery(3, s("王")));
    QCOMPARE(unitsShown(), QStringList{"U4"});
    window()->Act_Modify->trigger();
    typeText(edit("Duty"), s("主任"));
    window()->Act_Refresh->trigger();
    QCOMPARE(unitsShown(), QStringList{"U4"});
    QVERIFY(dmMain->tblShusong->isFiltered());
    // The pending change was saved, not dropped.
    QCOMPARE(dbValue(s("select Duty from tblShusong where ShusongID='U4'")).toString(), s("主任"));
    // A refused post shows its error and nothing is re-read.
    QVERIFY(runQuery(0, {}));
    QVERIFY(dmMain->tblShusong->locateKey(s("ShusongID"), s("U1")));
    window()->Act_Modify->trigger();
    edit("ShusongID")->selectAll();
    typeText(edit("ShusongID"), s("U1X"));
    window()->Act_Refresh->trigger();
    QCOMPARE(f.rec->lastText(), SendingRules::renumberRefusal());
    QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Edit);
    QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='U1'")), 1);
}

void TestSending::fileListRoot()
{
    FileListRoot.clear();
    f.openAs(s("wang"));
    const QString root = FilesRoot + s("Shusong");
    QCOMPARE(FileListRoot, root);
    QVERIFY(QDir(root).exists());
    // One shared folder: no folder per unit, whichever unit is current.
    FileListRoot.clear();
    dmMain->tblShusong->last();
    QTest::mouseClick(window()->listGrid()->view()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(FileListRoot, root);
    QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{});
    FileListRoot.clear();
    window()->Act_Modify->trigger();
    QCOMPARE(FileListRoot, root);
}

void TestSending::mailAndHomepage_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("mail");
    QTest::newRow("web without scheme") << "U1" << "http://www.hb.example" << false;
    QTest::newRow("web with scheme") << "U3" << "https://off.example" << false;
    QTest::newRow("no home page") << "U2" << "" << false;
    QTest::newRow("mail") << "U1" << "mailto:hb@x.cn" << true;
    QTest::newRow("no address") << "U3" << "" << true;
}

void TestSending::mailAndHomepage()
{
    QFETCH(QString, unit);
    QFETCH(QString, opened);
    QFETCH(bool, mail);
    f.openAs(s("wang"), unit);
    QTest::mouseClick(mail ? window()->mailButton() : window()->homepageButton(), Qt::LeftButton);
    QCOMPARE(f.rec->opened, opened.isEmpty() ? QStringList{} : QStringList{opened});
}

void TestSending::remove_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("gone");
    QTest::newRow("with settlements") << "U1" << true << QStringList{"对不起，该输送单位包括佣金结算信息，不能删除！"} << false;
    QTest::newRow("named by a worker") << "U2" << true << QStringList{"您真的要删除该输送单位档案吗？"} << true;
    QTest::newRow("cancelled") << "U3" << false << QStringList{"您真的要删除该输送单位档案吗？"} << false;
}

void TestSending::remove()
{
    QFETCH(QString, unit);
    QFETCH(bool, confirm);
    QFETCH(QStringList, texts);
    QFETCH(bool, gone);
    f.openAs(s("wang"), unit);
    f.rec->answers << (confirm ? Messages::Answer::Ok : Messages::Answer::Cancel);
    const int settlements = count(s("select count(*) from tblShusongYJ"));
    window()->Act_Delete->trigger();
    QCOMPARE(f.rec->texts(), texts);
    QCOMPARE(logEntries().last(), s("内部管理-输送单位-删除"));
    QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='%1'").arg(unit)), gone ? 0 : 1);
    QCOMPARE(count(s("select count(*) from tblShusongYJ")), settlements);
    QCOMPARE(count(s("select count(*) from tblYuangong")), 1);
    if (unit == s("U2")) {
        // The worker keeps the number; its unit name shows nothing once the lookup re-reads.
        Dataset *w = dmMain->tblYuangong;
        dmMain->tblShusong1->close();
        OpenDatasets({dmMain->tblShusong1, w});
        QVERIFY(w->locateKey(s("YuangongID"), s("W1")));
        QCOMPARE(w->field(s("ShusongID")).asString(), s("U2"));
        QCOMPARE(w->field(s("ShusongName")).asString(), QString());
    }
}

void TestSending::queryFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("units");
    QTest::newRow("number") << 1 << " u1 " << "ShusongID Like '%u1%'" << QStringList{"U1"};
    QTest::newRow("name") << 2 << "中心" << "ShusongName Like '%中心%'" << QStringList{"U1", "U4", "U5"};
    QTest::newRow("manager") << 3 << "主任" << "Manager Like '%主任%'" << QStringList{"U1"};
    QTest::newRow("identity") << 4 << "4101" << "ID Like '%4101%'" << QStringList{"U4"};
    QTest::newRow("telephone") << 5 << "010" << "Telephone Like '%010%'" << QStringList{"U2"};
    QTest::newRow("fax") << 6 << "3333" << "Fax Like '%3333%'" << QStringList{"U3"};
    QTest::newRow("mobile") << 7 << "0002" << "Mobile Like '%0002%'" << QStringList{"U2"};
    QTest::newRow("home page") << 8 << "example" << "Homepage Like '%example%'" << QStringList{"U1", "U3"};
    QTest::newRow("email") << 9 << "@x.cn" << "Email Like '%@x.cn%'" << QStringList{"U1", "U2"};
    QTest::newRow("quote") << 2 << "O'Neil" << "ShusongName Like '%O''Neil%'" << QStringList{"U2"};
    QTest::newRow("bypass") << 2 << "' or ShusongName Like '" << "ShusongName Like '%'' or ShusongName Like ''%'"
                            << QStringList{};
    QTest::newRow("percent is any run") << 2 << "a%心" << "ShusongName Like '%a%心%'" << QStringList{"U4"};
    QTest::newRow("underscore is one character") << 2 << "5_%o" << "ShusongName Like '%5_%o%'" << QStringList{"U3"};
    QTest::newRow("underscore matches itself") << 2 << "a_b" << "ShusongName Like '%a_b%'" << QStringList{"U4"};
}

void TestSending::queryFilter()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, filter);
    QFETCH(QStringList, units);
    f.openAs(s("wang"));
    QCOMPARE(TfrmShusongQuery::condition(kind, text.trimmed()), filter);
    QVERIFY(runQuery(kind, text));
    QVERIFY(f.rec->messages.isEmpty());
    QCOMPARE(dmMain->tblShusong->filter(), filter);
    QVERIFY(dmMain->tblShusong->isFiltered());
    QCOMPARE(unitsShown(), units);
}

void TestSending::queryEmptyText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const char *const messages[] = {"请输入匹配的输送单位编号!", "请输入匹配的单位名称!", "请输入匹配的负责人!",
                                    "请输入匹配的身份证号码!",   "请输入匹配的电话号码!", "请输入匹配的传真号码!",
                                    "请输入匹配的手机号码!",     "请输入匹配的主页!",     "请输入匹配的Email地址!"};
    for (int k = 1; k <= 9; ++k) {
        QTest::addRow("kind %d empty", k) << k << "" << s(messages[k - 1]);
        QTest::addRow("kind %d blanks", k) << k << "   " << s(messages[k - 1]);
    }
}

void TestSending::queryEmptyText()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, message);
    f.openAs(s("wang"));
    QVERIFY(!runQuery(kind, text));
    QCOMPARE(f.rec->texts(), QStringList{message});
    QCOMPARE(f.rec->messages.last().caption, s("系统提示"));
    QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Warning);
    QVERIFY(!dmMain->tblShusong->isFiltered());
}

void TestSending::queryAllUnits()
{
    f.openAs(s("wang"));
    QVERIFY(runQuery(2, s("中心")));
    QCOMPARE(unitsShown().size(), 3);
    TfrmShusongQuery dialog;
    QCOMPARE(dialog.kindBox()->currentText(), s("所有输送单位"));
    QVERIFY(!dialog.textEdit()->isEnabled());
    QCOMPARE(dialog.windowTitle(), s("输送单位查询"));
    QVERIFY(runQuery(0, {}));
    QVERIFY(!dmMain->tblShusong->isFiltered());
    QCOMPARE(unitsShown().size(), 5);
}

void TestSending::renumber_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<bool>("refused");
    QTest::newRow("settlements, save") << "U1" << "U1X" << false << true;
    QTest::newRow("settlements, list click") << "U1" << "U1X" << true << true;
    QTest::newRow("settlements, case only") << "U1" << "u1" << false << false;
    QTest::newRow("no settlements") << "U3" << "U3X" << false << false;
    QTest::newRow("no settlements, list click") << "U3" << "U3X" << true << false;
}

void TestSending::renumber()
{
    QFETCH(QString, unit);
    QFETCH(QString, number);
    QFETCH(bool, byClick);
    QFETCH(bool, refused);
    f.openAs(s("wang"), unit);
    f.main->show();
    QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
    window()->Act_Modify->trigger();
    edit("ShusongID")->selectAll();
    typeText(edit("ShusongID"), number);
    QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Edit);
    if (byClick) {
        // Another unit is clicked: the move posts through the guard.
        window()->pages()->setCurrentIndex(0);
        DbGrid *grid = window()->listGrid();
        const QModelIndex other = grid->view()->model()->index(4, 0);
        QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, {}, grid->view()->visualRect(other).center());
    } else {
        ActionGate::instance()->evaluate();
        window()->Act_Save->trigger();
    }
    const int settlements = count(s("select count(*) from tblShusongYJ where ShusongID='%1'").arg(unit));
    if (refused) {
        QCOMPARE(f.rec->lastText(), s("对不起，该输送单位包括佣金结算信息，不能修改单位编号！"));
        QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Edit);
        QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='%1'").arg(unit)), 1);
        QCOMPARE(settlements, 2);
        if (!byClick)
            QCOMPARE(QApplication::focusWidget(), window()->editor(s("ShusongID")));
    } else {
        QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->texts().join(u'|')));
        QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Browse);
        QCOMPARE(dbValue(s("select ShusongID from tblShusong where ShusongName=(select ShusongName from tblShusong "
                           "where ShusongID='%1' collate nocase)").arg(number)).toString(), number);
    }
}

void TestSending::deleteAfterTypingANewNumber()
{
    f.openAs(s("wang"));
    window()->Act_Modify->trigger();
    edit("ShusongID")->selectAll();
    typeText(edit("ShusongID"), s("U9"));
    window()->Act_Delete->trigger();
    QCOMPARE(f.rec->texts(), QStringList{"对不起，该输送单位包括佣金结算信息，不能删除！"});
    QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='U1'")), 1);
    // A new row finds nothing and is discarded on OK.
    dmMain->tblShusong->cancel();
    window()->Act_Insert->trigger();
    typeText(edit("ShusongID"), s("U1"));
    f.rec->answers << Messages::Answer::Ok;
    window()->Act_Delete->trigger();
    QCOMPARE(f.rec->lastText(), s("您真的要删除该输送单位档案吗？"));
    QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblShusong")), 5);
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='U1'")), 2);
}

void TestSending::settlementTabNeedsASavedUnit()
{
    f.openAs(s("wang"));
    RelatedRecordsTab *tab = window()->settlements();
    // No unit: nothing opens.
    QVERIFY(runQuery(2, s("不存在")));
    QVERIFY(dmMain->tblShusong->isEmpty());
    for (const char *which : {"new", "modify"}) {
        tab->action(s(which))->trigger();
        QVERIFY(f.rec->modalWindows.isEmpty());
        QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Browse);
    }
    QVERIFY(runQuery(0, {}));
    // An unsaved unit runs its own checks first and stops when they fail.
    window()->Act_Insert->trigger();
    typeText(edit("ShusongID"), s("U7"));
    tab->action(s("new"))->trigger();
    QCOMPARE(f.rec->texts(), QStringList{"请输入输送单位名称！"});
    QVERIFY(f.rec->modalWindows.isEmpty());
    QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Insert);
    // Once it passes it is saved (and logged), then the editor opens on a row of that unit.
    typeText(edit("ShusongName"), s("新单位"));
    QString owner;
    f.rec->onModal = [&](QDialog *) {
        owner = dmMain->tblShusongYJ->field(s("ShusongID")).asString();
        dmMain->tblShusongYJ->cancel();
        return int(QDialog::Rejected);
    };
    tab->action(s("new"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmShusongYJ"});
    QCOMPARE(owner, s("U7"));
    QCOMPARE(logEntries().last(), s("内部管理-输送单位-保存"));
    QCOMPARE(count(s("select count(*) from tblShusong where ShusongID='U7'")), 1);
}

void TestSending::settlementDoubleClickEditsTheUnit()
{
    f.openAs(s("wang"));
    Q_EMIT window()->settlements()->grid()->rowDoubleClicked();
    QCOMPARE(dmMain->tblShusong->state(), Dataset::State::Edit);
    QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Browse);
    QCOMPARE(window()->pages()->currentIndex(), 1);
    QCOMPARE(logEntries().last(), s("内部管理-输送单位-修改"));
    QVERIFY(f.rec->modalWindows.isEmpty());
}

void TestSending::print_data()
{
    QTest::addColumn<bool>("settlements");
    QTest::newRow("units as filtered") << false;
    QTest::newRow("current unit's settlements") << true;
}

void TestSending::print()
{
    QFETCH(bool, settlements);
    f.openAs(s("wang"), s("U5"));
    QVERIFY(runQuery(2, s("中心")));
    QVERIFY(dmMain->tblShusong->locateKey(s("ShusongID"), s("U5")));
    const QString pdf = f.dir->file(s("printed.pdf"));
    f.rec->files << pdf;
    f.rec->onModal = [](QDialog *d) -> int {
        if (auto *r = qobject_cast<TfrmReport *>(d))
            r->exportPdf();
        return QDialog::Accepted;
    };
    (settlements ? window()->Act_Prt : window()->Act_Print)->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmReport"});
    QCOMPARE(logEntries().last(), s("内部管理-输送单位-打印"));
    QProcess p;
    p.start(s("pdftotext"), {pdf, s("-")});
    QVERIFY(p.waitForFinished(30000));
    // The extractor may give radicals' compatibility forms for some characters.
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    if (settlements) {
        QVERIFY2(text.contains(s("输送单位：U5 甘肃中心").normalized(QString::NormalizationForm_KC)), qPrintable(text));
        QVERIFY2(text.contains(s("陈静")), qPrintable(text));
        for (const char *other : {"张红", "刘芳", "合计", "总计"})
            QVERIFY2(!text.contains(s(other)), other);
    } else {
        for (const char *shown : {"河北劳务中心", "a_b中心", "甘肃中心"})
            QVERIFY2(text.contains(s(shown)), shown);
        for (const char *other : {"Neil", "50%_off"})
            QVERIFY2(!text.contains(s(other)), other);
    }
}

QTEST_MAIN(TestSending)
#include "tst_sending.moc"
