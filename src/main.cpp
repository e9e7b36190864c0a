// Start-up: splash, main window, data module, login, main loop.
#include "AppFont.h"
#include "CustomerWindows.h"
#include "DatabaseConnector.h"
#include "ErrorHandler.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "uSplash.h"
#include "udmMain.h"

#include <QLocale>
#include <cstdio>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Brimwell2003"));
    AppFont::apply(app);

    auto splash = std::make_unique<TfrmSplash>();
    splash->showForAtLeastOneSecond();

    // The main window first: it fixes AppDir, which the data module needs.
    SetAppDir(QCoreApplication::applicationDirPath());
    DatabaseConnector::createWorkingFolders(AppDir);
    TdmMain dm;
    if (!dm.connectDatabase(AppDir)) {
        splash.reset();
        std::fprintf(stderr, "brimwell: cannot open the database: %s\n", qPrintable(dm.failure()));
        return 2;
    }
    TfrmMain mainWindow;
    // The long-lived windows of each folder, owned by the main window that hosts them.
    installCustomerWindows(mainWindow);
    splash.reset();

    TfrmLogin login;
    login.exec();
    if (login.outcome() != TfrmLogin::Outcome::LoggedIn)
        return login.outcome() == TfrmLogin::Outcome::TooManyFailures ? 3 : 0;

    if (!mainWindow.prepareAfterLogin())
        return 4;
    mainWindow.show();
    return app.exec();
}
