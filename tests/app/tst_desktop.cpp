// The program on a real X server (Xvfb, xcb platform): the NUM panel against the server's
// Num Lock switched from outside with xdotool, window frames under a window manager
// (openbox, started here), and the navigation panel under a real mouse wheel.
#include "AppFont.h"
#include "ButtonColumn.h"
#include "SeamRecorder.h"
#include "TestDb.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QCursor>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

#include <xcb/xcb.h>
#include <cstdlib>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(10000))
        return s("<") + program + s(" did not finish>");
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The X server's own word on Num Lock, asked by a program of its own.
QString serverNumLock()
{
    const QRegularExpressionMatch m = QRegularExpression(s("Num Lock:\\s+(on|off)")).match(run(s("xset"), {s("q")}));
    return m.hasMatch() ? m.captured(1) : s("unknown");
}

// A key on the X server's keyboard, as from another program.
void pressNumLock()
{
    run(s("xdotool"), {s("key"), s("Num_Lock")});
}

// A window manager has taken the screen: it names its check window on the root window.
bool windowManagerRunning()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    static const char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t *property = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool running = property && xcb_get_property_value_length(property) > 0;
    std::free(property);
    std::free(atom);
    return running;
}

// How far a window's frame, title bar included, is from the centre of the screen with the pointer.
QPointF offCentre(const QWidget *w)
{
    const QRect area = QGuiApplication::screenAt(QCursor::pos())->availableGeometry();
    const QRect frame = w->windowHandle()->frameGeometry();
    return QPointF(frame.left() + frame.width() / 2.0 - (area.left() + area.width() / 2.0),
                   frame.top() + frame.height() / 2.0 - (area.top() + area.height() / 2.0));
}

}  // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void numPanelReadsTheServerAtStart_data();
    void numPanelReadsTheServerAtStart();
    void numPanelFollowsOutsideChanges_data();
    void numPanelFollowsOutsideChanges();
    void framesCentred_data();
    void framesCentred();
    void wheelScrollsNavigationByWholeButtons();

private:
    void setServerNumLock(bool on);

    QProcess m_windowManager;
    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestDesktop::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == u"xcb", "runs on an X server: xvfb-run with QT_QPA_PLATFORM=xcb");
    for (const char *tool : {"xdotool", "xset", "openbox"})
        QVERIFY2(!QStandardPaths::findExecutable(s(tool)).isEmpty(), tool);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    AppFont::apply(*qApp);
    // A window manager frames the windows shown from now on, as on a desktop.
    QVERIFY(!windowManagerRunning());
    m_windowManager.start(s("openbox"), {s("--sm-disable")});
    QVERIFY(m_windowManager.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(windowManagerRunning(), 10000);
}

void TestDesktop::cleanupTestCase()
{
    m_windowManager.terminate();
    m_windowManager.waitForFinished(5000);
}

void TestDesktop::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
}

void TestDesktop::cleanup()
{
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
}

void TestDesktop::setServerNumLock(bool on)
{
    if (serverNumLock() != (on ? u"on" : u"off"))
        pressNumLock();
    QCOMPARE(serverNumLock(), on ? s("on") : s("off"));
}

void TestDesktop::numPanelReadsTheServerAtStart_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("already on") << true;
    QTest::newRow("off") << false;
}

void TestDesktop::numPanelReadsTheServerAtStart()
{
    QFETCH(bool, on);
    setServerNumLock(on);
    TfrmMain main;
    QCOMPARE(main.statusText(4), on ? s("NUM") : QString());
}

void TestDesktop::numPanelFollowsOutsideChanges_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("the program has the keyboard") << true;
    QTest::newRow("the keys go elsewhere") << false;
}

void TestDesktop::numPanelFollowsOutsideChanges()
{
    QFETCH(bool, shown);
    setServerNumLock(false);
    TfrmMain main;
    if (shown) {
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
    }
    QCOMPARE(main.statusText(4), QString());
    for (const bool on : {true, false, true, false}) {
        pressNumLock();
        QCOMPARE(serverNumLock(), on ? s("on") : s("off"));
        QTRY_COMPARE_WITH_TIMEOUT(main.statusText(4), on ? s("NUM") : QString(), 1000);
    }
}

void TestDesktop::framesCentred_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("login") << "login";
    QTest::newRow("main window") << "main";
}

void TestDesktop::framesCentred()
{
    QFETCH(QString, window);
    std::unique_ptr<QWidget> w;
    if (window == u"login")
        w = std::make_unique<TfrmLogin>();
    else
        w = std::make_unique<TfrmMain>();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // Framed by the window manager, with a title bar, and that frame centred.
    QTRY_VERIFY_WITH_TIMEOUT(w->windowHandle()->frameMargins().top() > 0, 5000);
    const auto centred = [&] {
        const QPointF off = offCentre(w.get());
        return qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(centred(), qPrintable(QDebug::toString(offCentre(w.get()))), 3000);
}

void TestDesktop::wheelScrollsNavigationByWholeButtons()
{
    TfrmMain main;
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(offCentre(&main).y()) <= 2, 3000);  // settled where it stays
    auto *box = main.findChild<QToolBox *>(s("navigation"));
    box->setCurrentIndex(1);  // 基础资料: seven buttons
    auto *column = qobject_cast<ButtonColumn *>(box->currentWidget());
    QVERIFY(column);
    QTRY_VERIFY(column->isVisible() && column->shownCount() < int(column->buttons().size()));
    QToolButton *over = column->buttons().first();
    const QPoint at = over->mapToGlobal(over->rect().center());
    run(s("xdotool"), {s("mousemove"), QString::number(at.x()), QString::number(at.y())});
    QTRY_COMPARE(QCursor::pos(), at);
    run(s("xdotool"), {s("click"), s("5")});  // one notch down
    QTRY_COMPARE(column->firstShown(), 1);
    run(s("xdotool"), {s("click"), s("5")});
    QTRY_COMPARE(column->firstShown(), 2);
    run(s("xdotool"), {s("click"), s("4")});  // and one back up
    QTRY_COMPARE(column->firstShown(), 1);
    for (QToolButton *b : column->buttons())
        if (b->isVisible())
            QVERIFY2(column->rect().contains(b->geometry()), qPrintable(b->text()));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
