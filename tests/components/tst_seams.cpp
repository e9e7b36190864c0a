// Message, shell and dialog seams, the default error handling and the action gate.
#include "ActionGate.h"
#include "DatasetError.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "SeamRecorder.h"
#include "Shell.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QUrl>
#include <QtTest>

class TestSeams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messagesAreRecorded_data();
    void messagesAreRecorded();
    void scriptedAnswers();
    void mailtoIsPercentEncoded_data();
    void mailtoIsPercentEncoded();
    void startFirstFindsNothingWhenAbsent();
    void modalAndFileDialogsGoThroughTheSeam();
    void errorHandlerShowsDataErrors();
    void gateFollowsPredicateAtIdle();
    void gateReChecksBeforeRunning();
};

void TestSeams::messagesAreRecorded_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::newRow("warning") << 0 << int(Messages::Icon::Warning) << int(Messages::Buttons::Ok);
    QTest::newRow("information") << 1 << int(Messages::Icon::Information) << int(Messages::Buttons::Ok);
    QTest::newRow("question") << 2 << int(Messages::Icon::Question) << int(Messages::Buttons::YesNo);
    QTest::newRow("confirm") << 3 << int(Messages::Icon::Question) << int(Messages::Buttons::OkCancel);
    QTest::newRow("error") << 4 << int(Messages::Icon::Critical) << int(Messages::Buttons::Ok);
}

void TestSeams::messagesAreRecorded()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    SeamRecorder rec;
    const QString text = QStringLiteral("真的要删除该条记录吗?");
    switch (kind) {
    case 0: Messages::warning(nullptr, text); break;
    case 1: Messages::information(nullptr, text); break;
    case 2: Messages::question(nullptr, text); break;
    case 3: Messages::confirm(nullptr, text); break;
    default: Messages::error(nullptr, text); break;
    }
    QCOMPARE(rec.messages.size(), 1);
    QCOMPARE(rec.messages.first().text, text);
    QCOMPARE(rec.messages.first().caption, QStringLiteral("系统提示"));
    QCOMPARE(int(rec.messages.first().icon), icon);
    QCOMPARE(int(rec.messages.first().buttons), buttons);
}

void TestSeams::scriptedAnswers()
{
    SeamRecorder rec;
    rec.answers << Messages::Answer::No << Messages::Answer::Cancel;
    QVERIFY(!Messages::question(nullptr, QStringLiteral("保存吗？")));
    QVERIFY(!Messages::confirm(nullptr, QStringLiteral("删除吗？")));
    // With nothing scripted the default button answers.
    QVERIFY(Messages::question(nullptr, QStringLiteral("保存吗？")));
    QVERIFY(!Messages::confirm(nullptr, QStringLiteral("删除吗？"), Messages::Answer::Cancel));
    QCOMPARE(rec.messages.last().defaultAnswer, Messages::Answer::Cancel);
    QCOMPARE(rec.messages.size(), 4);
}

void TestSeams::mailtoIsPercentEncoded_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::newRow("plain") << "问候" << "您好";
    QTest::newRow("ampersand and hash") << "A&B #1" << "价格 100% 合理?是";
    QTest::newRow("line breaks") << "通知" << "第一行\n第二行\r\n第三行";
    QTest::newRow("equals and plus") << "a=b+c" << "x=1&y=2";
}

void TestSeams::mailtoIsPercentEncoded()
{
    QFETCH(QString, subject);
    QFETCH(QString, body);
    const QString url = Shell::mailto(QStringLiteral("wang@example.com"), subject, body);
    QVERIFY(url.startsWith(QStringLiteral("mailto:wang@example.com?subject=")));
    // Exactly the two separators survive unencoded: the texts are whole when read back.
    QCOMPARE(url.count(u'&'), 1);
    QCOMPARE(url.count(u'?'), 1);
    QVERIFY(!url.contains(u'#'));
    QVERIFY(!url.contains(u'\n'));
    const QUrl parsed(url);
    QVERIFY(parsed.isValid());
    const QString query = url.section(u'?', 1);
    const QString gotSubject = QUrl::fromPercentEncoding(query.section(u'&', 0, 0).section(u'=', 1).toUtf8());
    const QString gotBody = QUrl::fromPercentEncoding(query.section(u'&', 1).section(u'=', 1).toUtf8());
    QCOMPARE(gotSubject, subject);
    QString expectedBody = body;
    expectedBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    QCOMPARE(gotBody, expectedBody);
}

void TestSeams::startFirstFindsNothingWhenAbsent()
{
    SeamRecorder rec;
    QVERIFY(!Shell::startFirst({QStringLiteral("no-such-calculator-qlm"), QStringLiteral("nor-this-one-qlm")}));
    QVERIFY(rec.started.isEmpty());
    QVERIFY(Shell::startFirst({QStringLiteral("no-such-calculator-qlm"), QStringLiteral("sh")}, {QStringLiteral("-c")}));
    QCOMPARE(rec.started.size(), 1);
    QVERIFY(rec.started.first().first().endsWith(QStringLiteral("/sh")));
}

void TestSeams::modalAndFileDialogsGoThroughTheSeam()
{
    SeamRecorder rec;
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmPassword"));
    QCOMPARE(Dialogs::showModal(&dialog), int(QDialog::Rejected));
    rec.onModal = [](QDialog *d) {
        d->setWindowTitle(QStringLiteral("seen"));
        return int(QDialog::Accepted);
    };
    QCOMPARE(Dialogs::showModal(&dialog), int(QDialog::Accepted));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("seen"));
    QCOMPARE(rec.modalWindows, (QStringList{"frmPassword", "frmPassword"}));
    rec.files << QStringLiteral("/tmp/a.txt");
    QCOMPARE(Dialogs::openFile(nullptr, QStringLiteral("打开")), QStringLiteral("/tmp/a.txt"));
    QCOMPARE(Dialogs::saveFile(nullptr, QStringLiteral("保存")), QString());
    rec.colours << QColor(Qt::red);
    QCOMPARE(Dialogs::colour(nullptr), QColor(Qt::red));
    QVERIFY(!Dialogs::colour(nullptr).isValid());
}

void TestSeams::errorHandlerShowsDataErrors()
{
    SeamRecorder rec;
    QVERIFY(ErrorHandler::run(nullptr, [] {}));
    QVERIFY(rec.messages.isEmpty());
    QVERIFY(!ErrorHandler::run(nullptr, [] { throw DatasetError(QStringLiteral("“CustName”最多只能输入 50 个字符")); }));
    QCOMPARE(rec.lastText(), QStringLiteral("“CustName”最多只能输入 50 个字符"));
    QCOMPARE(rec.messages.last().icon, Messages::Icon::Warning);
    QVERIFY(!ErrorHandler::run(nullptr, [] { throw 42; }));
    QVERIFY(!rec.lastText().isEmpty());
}

void TestSeams::gateFollowsPredicateAtIdle()
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAction action(QStringLiteral("新增"), &window);
    bool allowed = false;
    ActionGate::instance()->gate(&action, [&] { return allowed; });
    QVERIFY(!action.isEnabled());
    allowed = true;
    QVERIFY(!action.isEnabled());  // not before the loop goes idle
    QTest::keyClick(edit, Qt::Key_A);
    QCoreApplication::processEvents();
    QVERIFY(action.isEnabled());
    allowed = false;
    QTest::mouseClick(edit, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(!action.isEnabled());
}

void TestSeams::gateReChecksBeforeRunning()
{
    QWidget window;
    QAction action(QStringLiteral("删除"), &window);
    bool allowed = true;
    int runs = 0;
    ActionGate::instance()->gate(&action, [&] { return allowed; }, [&] { ++runs; });
    QVERIFY(action.isEnabled());
    action.trigger();
    QCOMPARE(runs, 1);
    allowed = false;  // the right was revoked, and no idle moment came in between
    action.trigger();
    QCOMPARE(runs, 1);
    QVERIFY(!action.isEnabled());
}

QTEST_MAIN(TestSeams)
#include "tst_seams.moc"
