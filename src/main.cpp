// Start-up: splash, main window, data module, login, main loop.
#include "AdminWindows.h"
#include "AnalysisWindows.h"
#include "AppFont.h"
#include "ContactWindows.h"
#include "CustomerWindows.h"
#include "DatabaseConnector.h"
#include "DocumentWindows.h"
#include "ErrorHandler.h"
#include "FinanceWindows.h"
#include "MailWindows.h"
#include "Messages.h"
#include "OperationWindows.h"
#include "RefdataWindows.h"
#include "ScheduleWindows.h"
#include "SendingWindows.h"
#include "StaffWindows.h"
#include "StartUp.h"
#include "WorkerWindows.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "uSplash.h"
#include "udmMain.h"

#include <QLocale>
#include <cstdio>

namespace {

// "--check": start as usual up to the login dialog, then end. Scripts and administrators use
// it to test Server.txt and the database file; what would be a message box goes to stderr.
class StderrMessages : public Messages::Handler
{
public:
    Messages::Answer show(QWidget *, const Messages::Request &request) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.caption), qPrintable(request.text));
        return request.defaultAnswer;
    }
};

}  // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    const bool checkOnly = app.arguments().contains(QStringLiteral("--check"));
    StderrMessages toStderr;
    if (checkOnly)
        Messages::setHandler(&toStderr);
    app.setApplicationName(QStringLiteral("Brimwell2003"));
    AppFont::apply(app);

    auto splash = std::make_unique<TfrmSplash>();
    if (!checkOnly)
        splash->showForAtLeastOneSecond();

    // The main window first: it fixes AppDir, which the data module needs.
    SetAppDir(QCoreApplication::applicationDirPath());
    DatabaseConnector::createWorkingFolders(AppDir);
    TdmMain dm;
    if (const int failed = StartUp::connect(dm, AppDir)) {
        splash.reset();
        return failed;
    }
    TfrmMain mainWindow;
    // The long-lived windows of each folder, owned by the main window that hosts them; the
    // file tool window first.
    installDocumentWindows(mainWindow);
    installCustomerWindows(mainWindow);
    installRefdataWindows(mainWindow);
    installAdminWindows(mainWindow);
    installContactWindows(mainWindow);
    installChartWindows(mainWindow);
    installSendingWindows(mainWindow);
    installFinanceWindows(mainWindow);
    installMailWindows(mainWindow);
    installWorkerWindows(mainWindow);
    installScheduleWindows(mainWindow);
    installOperationWindows(mainWindow);
    installStaffWindows(mainWindow);
    splash.reset();
    if (checkOnly)
        return 0;

    TfrmLogin login;
    // The today view, once the user is known and before the main window shows.
    login.setOnSuccess([&mainWindow] { mainWindow.openWindow(QStringLiteral("TfrmToday")); });
    login.exec();
    if (login.outcome() != TfrmLogin::Outcome::LoggedIn)
        return login.outcome() == TfrmLogin::Outcome::TooManyFailures ? 3 : 0;

    if (!mainWindow.prepareAfterLogin())
        return 4;
    mainWindow.show();
    return app.exec();
}
