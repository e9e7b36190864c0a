// The schedule page's two tabs, the editor page, the query dialog, the three tabs of the
// today view and the notice board.
#include "Shots.h"

#include "DbGrid.h"
#include "PlanPanels.h"
#include "uBoard.h"
#include "uMain.h"
#include "uPlan.h"
#include "uPlanNew.h"
#include "uPlanQuery.h"
#include "uToday.h"
#include "udmMain.h"

#include <QAction>
#include <QTabWidget>

void addScheduleShots(QList<Shot> &shots)
{
    static TfrmToday *today = nullptr;
    // A view for each of its three tabs.
    const auto todayTab = [&shots](const char *name, int tab) {
        shots.append({QString::fromLatin1(name),
                      [tab](TfrmMain &main) -> QWidget * {
                          if (!today) {
                              TfrmToday::prepare();
                              today = new TfrmToday(&main);
                              today->show();
                          }
                          today->tabs()->setCurrentIndex(tab);
                          return today;
                      },
                      [] {
                          delete today;
                          today = nullptr;
                      }});
    };
    todayTab("schedule-today-operates", 0);
    todayTab("schedule-today-plans", 1);
    todayTab("schedule-today-board", 2);
    shots.append({QStringLiteral("schedule-list"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Plan"))->trigger();
                      main.scheduleTabs()->setCurrentIndex(0);
                      return nullptr;
                  }});
    shots.append({QStringLiteral("schedule-detail"), [](TfrmMain &main) -> QWidget * {
                      main.scheduleTabs()->setCurrentIndex(1);
                      return nullptr;
                  }});
    shots.append({QStringLiteral("schedule-editor"), [](TfrmMain &) -> QWidget * {
                      planShell->Act_Modify->trigger();
                      return nullptr;
                  },
                  [] { dmMain->qryPlan->cancel(); }});
    shots.append({QStringLiteral("schedule-planlist"), [](TfrmMain &) -> QWidget * {
                      frmPlanNew->Act_Close->trigger();
                      return nullptr;
                  }});
    static QDialog *shown = nullptr;
    shots.append({QStringLiteral("schedule-query"),
                  [](TfrmMain &main) -> QWidget * {
                      shown = new TfrmPlanQuery(&main);
                      shown->show();
                      return shown;
                  },
                  [] { delete shown; shown = nullptr; }});
    shots.append({QStringLiteral("schedule-board"),
                  [](TfrmMain &main) -> QWidget * {
                      shown = new TfrmBoard(&main);
                      shown->show();
                      return shown;
                  },
                  [] { delete shown; shown = nullptr; }});
}
