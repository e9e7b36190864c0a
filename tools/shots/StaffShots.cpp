// The staff list grouped by department, the record tab with a photo over the operations and
// the status tabs, the staff query, the assignment window with both lists filled and the
// tracking window after a query.
#include "Shots.h"

#include "DbGrid.h"
#include "uAssign.h"
#include "uMain.h"
#include "uOperaterQuery.h"
#include "uOperaterTrack.h"
#include "uOperaters.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

QPointer<QWidget> shown;

void closeShown()
{
    if (shown)
        shown->close();
}

}  // namespace

void addStaffShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("staff"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Operaters"))->trigger();
                      frmOperaters->listGrid()->groupBy(QStringLiteral("Department"));
                      frmOperaters->listGrid()->expandAll();
                      return nullptr;
                  }});
    for (int tab = 0; tab < 2; ++tab) {
        static const char *const names[] = {"staff-detail-operations", "staff-detail-status"};
        shots.append({QString::fromLatin1(names[tab]),
                      [tab](TfrmMain &main) -> QWidget * {
                          main.action(QStringLiteral("Act_Operaters"))->trigger();
                          dmMain->tblOperaters->locate(QStringLiteral("OperaterID"), {QStringLiteral("S0001")});
                          frmOperaters->Act_Modify->trigger();
                          frmOperaters->lowerTabs()->setCurrentIndex(tab);
                          return nullptr;
                      },
                      [] {
                          if (dmMain->tblOperaters->state() == Dataset::State::Edit)
                              dmMain->tblOperaters->cancel();
                      }});
    }
    shots.append({QStringLiteral("staff-query"),
                  [](TfrmMain &main) -> QWidget * {
                      auto *d = new TfrmOperaterQuery(&main);
                      d->setAttribute(Qt::WA_DeleteOnClose);
                      d->kindBox()->setCurrentIndex(2);
                      d->show();
                      shown = d;
                      return d;
                  },
                  closeShown});
    shots.append({QStringLiteral("staff-assign"),
                  [](TfrmMain &main) -> QWidget * {
                      auto *d = new TfrmAssign(&main);
                      d->setAttribute(Qt::WA_DeleteOnClose);
                      d->sourceBox()->setCurrentText(QStringLiteral("wang"));
                      d->refreshList();
                      for (int i = 0; i < 4; ++i) {
                          d->leftList()->setCurrentRow(2 * i);
                          d->moveOne(true);
                      }
                      d->targetBox()->setCurrentText(QStringLiteral("li"));
                      d->show();
                      shown = d;
                      return d;
                  },
                  closeShown});
    shots.append({QStringLiteral("staff-track"),
                  [](TfrmMain &main) -> QWidget * {
                      auto *d = new TfrmOperaterTrack(&main);
                      d->setAttribute(Qt::WA_DeleteOnClose);
                      TfrmOpTrackQuery q(d);
                      q.otherButton()->setChecked(true);
                      q.run();
                      d->show();
                      shown = d;
                      return d;
                  },
                  closeShown, 800});
}
