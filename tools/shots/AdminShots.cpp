// The administration windows: users, a rights tab, password, backup and the log.
#include "Shots.h"

#include "uBackup.h"
#include "uMain.h"
#include "uPassword.h"
#include "uRight.h"
#include "uSysLog.h"
#include "uUser.h"

#include <QTabWidget>

namespace {

// A dialog of the shot: shown without its modal loop, closed after the grab.
template <typename T>
Shot dialogShot(const char *name, std::function<void(T &)> prepare = {})
{
    static T *dialog = nullptr;
    return Shot{QString::fromLatin1(name),
                [prepare](TfrmMain &main) -> QWidget * {
                    dialog = new T(&main);
                    dialog->setAttribute(Qt::WA_DeleteOnClose);
                    dialog->show();
                    if (prepare)
                        prepare(*dialog);
                    return dialog;
                },
                [] {
                    dialog->hide();
                    dialog->deleteLater();
                    dialog = nullptr;
                }};
}

}  // namespace

void addAdminShots(QList<Shot> &shots)
{
    shots.append(dialogShot<TfrmUser>("admin-users"));
    shots.append(dialogShot<TfrmRight>("admin-rights", [](TfrmRight &r) { r.tabs()->setCurrentIndex(1); }));
    shots.append(dialogShot<TfrmRight>("admin-rights-charts", [](TfrmRight &r) { r.tabs()->setCurrentIndex(4); }));
    shots.append(dialogShot<TfrmPassword>("admin-password"));
    shots.append(dialogShot<TfrmBackup>("admin-backup"));
    shots.append(dialogShot<TfrmSysLog>("admin-log"));
}
