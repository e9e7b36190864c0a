// The main window with each navigation tab open, and About.
#include "Shots.h"

#include "uAbout.h"
#include "uMain.h"

#include <QCoreApplication>
#include <QToolBox>

void addStartUpShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("main"), [](TfrmMain &) -> QWidget * { return nullptr; }});
    const char *const tabs[] = {"system", "base", "business", "charts", "internal"};
    for (int i = 0; i < 5; ++i) {
        shots.append({QStringLiteral("main-") + QLatin1String(tabs[i]), [i](TfrmMain &main) -> QWidget * {
                          main.findChild<QToolBox *>(QStringLiteral("navigation"))->setCurrentIndex(i);
                          return nullptr;
                      }, {}, 100});
    }
    static TfrmAbout *about = nullptr;
    shots.append({QStringLiteral("about"),
                  [](TfrmMain &main) -> QWidget * {
                      main.findChild<QToolBox *>(QStringLiteral("navigation"))->setCurrentIndex(0);
                      about = new TfrmAbout(&main);
                      about->show();
                      return about;
                  },
                  [] { about->close(); }});
}
