// Screenshots of the start-up windows over a demo database, for looking at them: the login,
// the main window (also with each navigation tab open), About, the customer window, a preview.
// qlmshots OUTDIR
#include "AppFont.h"
#include "ConnectionString.h"
#include "CustomerWindows.h"
#include "DemoData.h"
#include "ErrorHandler.h"
#include "NewDatabase.h"
#include "DbGrid.h"
#include "ReportRenderer.h"
#include "uAbout.h"
#include "uCustomers.h"
#include "uReport.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBox>

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
    QDir().mkpath(AppDir + QStringLiteral("Data/Report"));
    for (const QString &f : QDir(QStringLiteral(QLM_LAYOUT_DIR)).entryList({QStringLiteral("*.frf")}))
        QFile::copy(QStringLiteral(QLM_LAYOUT_DIR "/") + f, AppDir + QStringLiteral("Data/Report/") + f);
    TdmMain dm;
    if (!dm.connectDatabase(AppDir))
        return 1;
    TfrmMain mainWindow;
    installCustomerWindows(mainWindow);
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
            // The main window with each navigation tab open.
            auto *navigation = mainWindow.findChild<QToolBox *>(QStringLiteral("navigation"));
            const char *const tabs[] = {"system", "base", "business", "charts", "internal"};
            for (int i = 0; i < navigation->count() && i < 5; ++i) {
                navigation->setCurrentIndex(i);
                QCoreApplication::sendPostedEvents();
                QCoreApplication::processEvents();
                mainWindow.grab().save(out + QStringLiteral("/main-") + QLatin1String(tabs[i]) + QStringLiteral(".png"));
            }
            navigation->setCurrentIndex(0);
            auto *about = new TfrmAbout(&mainWindow);
            about->show();
            QTimer::singleShot(300, [&, about] {
                about->grab().save(out + QStringLiteral("/about.png"));
                about->close();
                mainWindow.action(QStringLiteral("Act_Customers"))->trigger();
                frmCustomers->listGrid()->groupBy(QStringLiteral("LevelName"));
                QTimer::singleShot(400, [&] {
                    mainWindow.grab().save(out + QStringLiteral("/customers.png"));
                    frmCustomers->pages()->setCurrentIndex(1);
                    QTimer::singleShot(400, [&] {
                        mainWindow.grab().save(out + QStringLiteral("/customer-detail.png"));
                        ReportLayout layout;
                        QString error;
                        ReportLayout::load(AppDir + QStringLiteral("Data/Report/frCustomers.frf"), &layout, &error);
                        auto *preview = new TfrmReport(std::make_unique<ReportRenderer>(layout, dmMain->tblCustomers),
                                                       layout.title, &mainWindow);
                        preview->resize(1100, 760);
                        preview->show();
                        QTimer::singleShot(800, [&, preview] {
                            preview->grab().save(out + QStringLiteral("/preview.png"));
                            QCoreApplication::exit(0);
                        });
                    });
                });
            });
        });
    });
    return app.exec();
}
