// Screenshots of the start-up windows over a demo database, for looking at them.
// qlmshots OUTDIR
#include "AppFont.h"
#include "ConnectionString.h"
#include "DemoData.h"
#include "ErrorHandler.h"
#include "NewDatabase.h"
#include "uAbout.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    AppFont::apply(app);
    const QString out = app.arguments().value(1, QStringLiteral("."));
    QTemporaryDir dir;
    SetAppDir(dir.path());
    QDir().mkpath(AppDir + QStringLiteral("Data"));
    {
        auto db = NewDatabase::create(AppDir + QStringLiteral("Data/QLM30.qdb"));
        DemoData::add(*db, 1, QDate::currentDate());
    }
    TdmMain dm;
    if (!dm.connectDatabase(AppDir))
        return 1;
    TfrmMain mainWindow;
    TfrmLogin login;
    login.show();
    QTimer::singleShot(400, [&] {
        login.userBox()->setCurrentIndex(0);
        login.passwordBox()->setText(QStringLiteral("482716"));
        login.grab().save(out + QStringLiteral("/login.png"));
        login.tryLogin();
        mainWindow.prepareAfterLogin();
        mainWindow.show();
        QTimer::singleShot(600, [&] {
            mainWindow.grab().save(out + QStringLiteral("/main.png"));
            auto *about = new TfrmAbout(&mainWindow);
            about->show();
            QTimer::singleShot(300, [&, about] {
                about->grab().save(out + QStringLiteral("/about.png"));
                QCoreApplication::exit(0);
            });
        });
    });
    return app.exec();
}
