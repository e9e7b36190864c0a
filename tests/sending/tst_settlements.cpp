// The settlement tab and editor: ownership, checks, item numbers, fees, the close procedure,
// deleting.
#include "SendingFixture.h"

#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "RelatedRecordsTab.h"
#include "uShusongYJ.h"

#include <QLineEdit>
#include <QToolButton>

class TestSettlements : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { f.start(*m_template); }
    void cleanup() { f.stop(); }

    void newBelongsToCurrentUnit_data();
    void newBelongsToCurrentUnit();
    void checks_data();
    void checks();
    void itemNumbers_data();
    void itemNumbers();
    void fees_data();
    void fees();
    void closeProcedure_data();
    void closeProcedure();
    void navigatorChecksBeforeMoving();
    void editorDelete();
    void tabDelete_data();
    void tabDelete();

private:
    // Appends a settlement to the current unit and opens the editor on it (not modally).
    std::unique_ptr<TfrmShusongYJ> newSettlement();
    static void typeNumber(TfrmShusongYJ &e, const char *field, const QString &text);
    static void fill(TfrmShusongYJ &e, const QString &number, bool date, const QString &handler);
    std::unique_ptr<TestAppDir> m_template;
    SendingFixture f;
};

void TestSettlements::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    SendingFixture::makeTemplate(*m_template);
}

std::unique_ptr<TfrmShusongYJ> TestSettlements::newSettlement()
{
    dmMain->tblShusongYJ->append();
    auto e = std::make_unique<TfrmShusongYJ>();
    e->show();
    if (!QTest::qWaitForWindowActive(e.get()))
        qWarning("the editor did not become active");
    return e;
}

void TestSettlements::typeNumber(TfrmShusongYJ &e, const char *field, const QString &text)
{
    auto *n = static_cast<DbNumberEdit *>(e.editor(s(field)));
    n->lineEdit()->selectAll();
    QTest::keyClick(n->lineEdit(), Qt::Key_Delete);
    typeText(n->lineEdit(), text);
}

void TestSettlements::fill(TfrmShusongYJ &e, const QString &number, bool date, const QString &handler)
{
    typeNumber(e, "sNo", number);
    auto *d = static_cast<DbDateEdit *>(e.editor(s("JDate")));
    if (date)
        d->setDate(QDate(2026, 4, 1));
    typeText(e.editor(s("Jingban")), handler);
}

void TestSettlements::newBelongsToCurrentUnit_data()
{
    QTest::addColumn<QString>("unit");
    QTest::newRow("unit with settlements") << "U1";
    QTest::newRow("unit without settlements") << "U3";
}

void TestSettlements::newBelongsToCurrentUnit()
{
    QFETCH(QString, unit);
    f.openAs(s("wang"), unit);
    const int before = count(s("select count(*) from tblShusongYJ"));
    f.rec->onModal = [](QDialog *d) {
        auto *e = static_cast<TfrmShusongYJ *>(d);
        fill(*e, s("7"), true, s("杨帆"));
        e->Act_Save->trigger();
        e->Act_Close->trigger();
        return int(QDialog::Accepted);
    };
    frmShusong->settlements()->action(s("new"))->trigger();
    QCOMPARE(f.rec->modalWindows, QStringList{"frmShusongYJ"});
    QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->texts().join(u'|')));
    QCOMPARE(count(s("select count(*) from tblShusongYJ")), before + 1);
    QCOMPARE(dbValue(s("select ShusongID from tblShusongYJ where sNo=7")).toString(), unit);
    QCOMPARE(dbValue(s("select Jingban from tblShusongYJ where sNo=7")).toString(), s("杨帆"));
    // The editor writes no log entry: the last is the window's own.
    QCOMPARE(logEntries().last(), s("内部管理-输送单位"));
}

void TestSettlements::checks_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("date");
    QTest::addColumn<bool>("clearDate");
    QTest::addColumn<QString>("handler");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("nothing") << "" << false << false << "" << "请输入子项编号！" << "sNo";
    QTest::newRow("letters are not taken") << "abc" << true << false << "张红" << "请输入子项编号！" << "sNo";
    QTest::newRow("no date") << "3" << false << false << "张红" << "请选择输入结算日期！" << "JDate";
    QTest::newRow("cleared date") << "3" << true << true << "张红" << "请选择输入结算日期！" << "JDate";
    QTest::newRow("no handler") << "3" << true << false << "" << "请输入经办人！" << "Jingban";
    QTest::newRow("blank handler") << "3" << true << false << "  " << "请输入经办人！" << "Jingban";
}

void TestSettlements::checks()
{
    QFETCH(QString, number);
    QFETCH(bool, date);
    QFETCH(bool, clearDate);
    QFETCH(QString, handler);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    f.openAs(s("wang"), s("U3"));
    auto e = newSettlement();
    QCOMPARE(QApplication::focusWidget(), static_cast<DbNumberEdit *>(e->editor(s("sNo")))->lineEdit());
    fill(*e, number, date, handler);
    if (clearDate)
        static_cast<DbDateEdit *>(e->editor(s("JDate")))->clearDate();
    e->Act_Save->trigger();
    QCOMPARE(f.rec->texts(), QStringList{message});
    QCOMPARE(f.rec->messages.last().caption, s("系统提示"));
    QCOMPARE(f.rec->messages.last().icon, Messages::Icon::Warning);
    QWidget *expected = e->editor(focus);
    QVERIFY(QApplication::focusWidget() == expected || QApplication::focusWidget() == expected->focusProxy());
    QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Insert);
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='U3'")), 0);
}

void TestSettlements::itemNumbers_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("stored");
    QTest::newRow("negative") << "U3" << "-1" << true;
    QTest::newRow("largest") << "U3" << "2147483647" << true;
    QTest::newRow("out of range") << "U3" << "2147483648" << false;
    QTest::newRow("fraction") << "U3" << "1.5" << false;
    QTest::newRow("duplicate within the unit") << "U1" << "1" << false;
    QTest::newRow("same number in another unit") << "U3" << "1" << true;
}

void TestSettlements::itemNumbers()
{
    QFETCH(QString, unit);
    QFETCH(QString, number);
    QFETCH(bool, stored);
    f.openAs(s("wang"), unit);
    const int before = count(s("select count(*) from tblShusongYJ where ShusongID='%1'").arg(unit));
    auto e = newSettlement();
    // A lone "-" on the way to "-1" is not written, so nothing complains while typing.
    fill(*e, number, true, s("张红"));
    QVERIFY(f.rec->messages.isEmpty());
    e->Act_Save->trigger();
    if (stored) {
        QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->texts().join(u'|')));
        QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Browse);
        QCOMPARE(dbValue(s("select sNo from tblShusongYJ where ShusongID='%1' and Jingban='张红'").arg(unit)).toLongLong(),
                 number.toLongLong());
    } else {
        QCOMPARE(f.rec->messages.size(), 1);
        QVERIFY(!f.rec->lastText().isEmpty());
        QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='%1'").arg(unit)), before);
    }
}

void TestSettlements::fees_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("empty") << "" << QVariant();
    QTest::newRow("letters are not taken") << "x" << QVariant();
    QTest::newRow("negative") << "-50" << QVariant(-50.0);
    QTest::newRow("fraction") << "1234.5" << QVariant(1234.5);
}

void TestSettlements::fees()
{
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    f.openAs(s("wang"), s("U3"));
    auto e = newSettlement();
    fill(*e, s("4"), true, s("刘芳"));
    typeNumber(*e, "Jieshao", typed);
    typeNumber(*e, "Qita", typed);
    e->Act_Save->trigger();
    QVERIFY2(f.rec->messages.isEmpty(), qPrintable(f.rec->texts().join(u'|')));
    for (const char *field : {"Jieshao", "Qita"}) {
        const QVariant v = dbValue(s("select %1 from tblShusongYJ where ShusongID='U3'").arg(s(field)));
        QCOMPARE(v.isNull(), stored.isNull());
        if (!stored.isNull())
            QCOMPARE(v.toDouble(), stored.toDouble());
    }
}

void TestSettlements::closeProcedure_data()
{
    QTest::addColumn<bool>("escape");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("rows");
    QTest::newRow("close box, no") << false << false << true << true << 0;
    QTest::newRow("close box, yes, failed check") << false << true << false << false << 0;
    QTest::newRow("close box, yes, complete") << false << true << true << true << 1;
    QTest::newRow("escape, no") << true << false << true << true << 0;
    QTest::newRow("escape, yes, failed check") << true << true << false << false << 0;
}

void TestSettlements::closeProcedure()
{
    QFETCH(bool, escape);
    QFETCH(bool, yes);
    QFETCH(bool, complete);
    QFETCH(bool, closed);
    QFETCH(int, rows);
    f.openAs(s("wang"), s("U3"));
    auto e = newSettlement();
    fill(*e, s("9"), complete, s("陈静"));
    f.rec->answers << (yes ? Messages::Answer::Yes : Messages::Answer::No);
    if (escape)
        QTest::keyClick(e.get(), Qt::Key_Escape);
    else
        e->close();
    QCOMPARE(f.rec->messages.first().text, s("输送单位佣金结算资料尚未保存，保存吗？"));
    QCOMPARE(f.rec->messages.first().icon, Messages::Icon::Question);
    QCOMPARE(e->isVisible(), !closed);
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='U3'")), rows);
    if (!closed) {
        QCOMPARE(f.rec->lastText(), s("请选择输入结算日期！"));
        QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Insert);
    } else {
        QCOMPARE(dmMain->tblShusongYJ->state(), Dataset::State::Browse);
    }
    // Nothing pending: "关闭" closes without asking.
    if (closed) {
        f.rec->messages.clear();
        e->show();
        e->Act_Close->trigger();
        QVERIFY(!e->isVisible());
        QVERIFY(f.rec->messages.isEmpty());
    }
}

void TestSettlements::navigatorChecksBeforeMoving()
{
    f.openAs(s("wang"), s("U1"));
    Dataset *d = dmMain->tblShusongYJ;
    d->first();
    TfrmShusongYJ e;
    e.show();
    QVERIFY(QTest::qWaitForWindowActive(&e));
    auto *handler = static_cast<QLineEdit *>(e.editor(s("Jingban")));
    handler->selectAll();
    QTest::keyClick(handler, Qt::Key_Delete);
    QCOMPARE(d->state(), Dataset::State::Edit);
    auto *next = e.navigator()->findChild<QToolButton *>(s("next"));
    QVERIFY(next);
    // The move would post the row unchecked: the checks run first and stop it.
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(f.rec->texts(), QStringList{"请输入经办人！"});
    QCOMPARE(d->state(), Dataset::State::Edit);
    QCOMPARE(d->currentRow(), 0);
    typeText(handler, s("杨帆"));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(d->currentRow(), 1);
    QCOMPARE(dbValue(s("select count(*) from tblShusongYJ where Jingban='杨帆'")).toInt(), 1);
}

void TestSettlements::editorDelete()
{
    f.openAs(s("wang"), s("U1"));
    dmMain->tblShusongYJ->first();
    TfrmShusongYJ e;
    e.show();
    f.rec->answers << Messages::Answer::Cancel << Messages::Answer::Ok;
    e.Act_Del->trigger();
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='U1'")), 2);
    e.Act_Del->trigger();
    QCOMPARE(f.rec->texts(), QStringList({"您真的要删除该佣金结算记录吗？", "您真的要删除该佣金结算记录吗？"}));
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='U1'")), 1);
    QCOMPARE(count(s("select count(*) from tblShusongYJ")), 2);
}

void TestSettlements::tabDelete_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("left");
    QTest::newRow("empty list") << "U3" << true << 0;
    QTest::newRow("cancelled") << "U5" << false << 1;
    QTest::newRow("confirmed") << "U5" << true << 0;
}

void TestSettlements::tabDelete()
{
    QFETCH(QString, unit);
    QFETCH(bool, confirm);
    QFETCH(int, left);
    f.openAs(s("wang"), unit);
    const int others = count(s("select count(*) from tblShusongYJ where ShusongID<>'%1'").arg(unit));
    f.rec->answers << (confirm ? Messages::Answer::Ok : Messages::Answer::Cancel);
    frmShusong->settlements()->action(s("delete"))->trigger();
    if (unit != s("U3"))
        QCOMPARE(f.rec->texts(), QStringList{"您真的要删除该佣金结算资料吗？"});
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID='%1'").arg(unit)), left);
    QCOMPARE(count(s("select count(*) from tblShusongYJ where ShusongID<>'%1'").arg(unit)), others);
    QCOMPARE(count(s("select count(*) from tblShusong")), 5);
}

QTEST_MAIN(TestSettlements)
#include "tst_settlements.moc"
