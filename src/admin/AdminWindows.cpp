#include "AdminWindows.h"

#include "Utf8.h"
#include "uMain.h"
#include "uPassword.h"
#include "uPublic.h"
#include "uRestore.h"
#include "uSysLog.h"
#include "uUser.h"
#include "uUserInfo.h"

#include <QDir>

void installAdminWindows(TfrmMain &main)
{
    // Each window is made afresh for every command; the main window has written the entry
    // and refused what the user may not do.
    TfrmMain *parent = &main;
    main.registerCommand(s("Act_Password"), [parent] { TfrmPassword::execute(parent); });
    main.registerCommand(s("Act_UserManage"), [parent] { TfrmUser::execute(parent); });
    main.registerCommand(s("Act_Backup"), [parent] {
        QDir().mkpath(AppDir + s("Backup"));
        TfrmBackup::execute(parent);
    });
    main.registerCommand(s("Act_Restore"), [parent] {
        QDir().mkpath(AppDir + s("Backup"));
        TfrmRestore::execute(parent);
    });
    main.registerCommand(s("Act_SysLog"), [parent] {
        QDir().mkpath(AppDir + s("Log"));
        TfrmSysLog::execute(parent);
    });
    main.registerCommand(s("Act_UserRegist"), [parent] { TfrmUserInfo::execute(parent); });
    main.registerOpener(s("TfrmUserInfo"), [](QWidget *over) { TfrmUserInfo::execute(over); });
}
