// Screenshots of the program's windows over a demo database, for looking at them:
// the login, then every shot the window folders add (tools/shots), one after another.
// qlmshots OUTDIR [NAME-PREFIX]   (with a prefix, only the shots whose names start with it)
#include "AdminWindows.h"
#include "AnalysisWindows.h"
#include "AppFont.h"
#include "ErrorHandler.h"
#include "FinanceWindows.h"
#include "ContactWindows.h"
#include "CustomerWindows.h"
#include "DemoData.h"
#include "DocumentWindows.h"
#include "MailWindows.h"
#include "NewDatabase.h"
#include "OperationWindows.h"
#include "RefdataWindows.h"
#include "ScheduleWindows.h"
#include "SendingWindows.h"
#include "StaffWindows.h"
#include "WorkerWindows.h"
#include "uLogin.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"
#include "shots/Shots.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Takes the shots one by one: show, let it settle, grab, close, next.
void takeFrom(QList<Shot> *shots, int index, TfrmMain *main, const QString &out)
{
    if (index >= shots->size()) {
        QCoreApplication::exit(0);
        return;
    }
    const Shot &shot = shots->at(index);
    QWidget *target = shot.show(*main);
    QTimer::singleShot(shot.settleMs, main, [=] {
        QWidget *grabbed = target ? target : main;
        grabbed->grab().save(out + QLatin1Char('/') + shot.name + QStringLiteral(".png"));
        if (shot.done)
            shot.done();
        takeFrom(shots, index + 1, main, out);
    });
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    AppFont::apply(app);
    const QString out = app.arguments().value(1, QStringLiteral("."));
    const QString prefix = app.arguments().value(2);
    QTemporaryDir dir;
    SetAppDir(dir.path());
    QDir().mkpath(AppDir + QStringLiteral("Data"));
    {
        auto db = NewDatabase::create(AppDir + QStringLiteral("Data/QLM30.qdb"));
        DemoData::add(*db, 1, QDate::currentDate());
        DemoData::addWorkerPhotos(*db, FilesRoot);
        DemoData::addStaffPhotos(*db, FilesRoot);
    }
    DemoData::addDocuments(FilesRoot);
    QDir().mkpath(AppDir + QStringLiteral("Data/Report"));
    for (const QString &f : QDir(QStringLiteral(QLM_LAYOUT_DIR)).entryList({QStringLiteral("*.frf")}))
        QFile::copy(QStringLiteral(QLM_LAYOUT_DIR "/") + f, AppDir + QStringLiteral("Data/Report/") + f);
    TdmMain dm;
    if (!dm.connectDatabase(AppDir))
        return 1;
    TfrmMain mainWindow;
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

    QList<Shot> all;
    addStartUpShots(all);
    addCustomerShots(all);
    addDocumentShots(all);
    addRefdataShots(all);
    addAdminShots(all);
    addContactShots(all);
    addAnalysisShots(all);
    addSendingShots(all);
    addFinanceShots(all);
    addMailShots(all);
    addWorkerShots(all);
    addScheduleShots(all);
    addOperationShots(all);
    addStaffShots(all);
    QList<Shot> shots;
    for (const Shot &shot : all)
        if (shot.name.startsWith(prefix))
            shots.append(shot);

    TfrmLogin login;
    login.show();
    QTimer::singleShot(400, [&] {
        login.userBox()->setCurrentIndex(0);
        login.passwordBox()->setText(QStringLiteral("482716"));
        login.grab().save(out + QStringLiteral("/login.png"));
        login.tryLogin();
        mainWindow.prepareAfterLogin();
        mainWindow.show();
        QTimer::singleShot(600, [&] { takeFrom(&shots, 0, &mainWindow, out); });
    });
    return app.exec();
}
