// Every analysis page after "刷新", and the time page after each of its three dialogs.
#include "Shots.h"

#include "AnalysisPage.h"
#include "AnalysisWindows.h"
#include "PeriodQuery.h"
#include "uMain.h"

#include <QAction>
#include <QComboBox>
#include <QTimer>

namespace {

// Opens a page through its command and refreshes it with the given choices.
Shot pageShot(const QString &name, const char *page, int kind = 0, int direction = 0)
{
    return {name, [page, kind, direction](TfrmMain &main) -> QWidget * {
                AnalysisPage *p = analysisPage(page);
                main.action(QString::fromLatin1(p->member().action))->trigger();
                if (p->kindBox())
                    p->kindBox()->setCurrentIndex(kind);
                if (p->financeBox())
                    p->financeBox()->setCurrentIndex(kind);
                if (p->directionBox())
                    p->directionBox()->setCurrentIndex(direction);
                p->refresh();
                return nullptr;
            },
            {}, 600};
}

// The time page's dialog of `kind`, shown for its own picture, then confirmed.
void addPeriodShots(QList<Shot> &shots, const QString &name, int kind)
{
    static TfrmPeriodQuery *dialog = nullptr;
    shots.append({QStringLiteral("analysis-dialog-") + name,
                  [kind](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_TimeAnalyse"))->trigger();
                      frmTimeAnalyse->timeKindBox()->setCurrentIndex(kind);
                      if (kind == 0)
                          dialog = new TfrmYearQuery(frmTimeAnalyse, &main);
                      else if (kind == 1)
                          dialog = new TfrmSeasonQuery(frmTimeAnalyse, &main);
                      else
                          dialog = new TfrmTimeSectQuery(frmTimeAnalyse, &main);
                      if (dialog->seasonBox())
                          dialog->seasonBox()->setCurrentIndex(3);
                      dialog->show();
                      return dialog;
                  },
                  [] {
                      dialog->confirm();
                      dialog->deleteLater();
                      dialog = nullptr;
                  }});
    shots.append({QStringLiteral("analysis-time-") + name, [](TfrmMain &) -> QWidget * { return nullptr; }, {}, 600});
}

}  // namespace

void addAnalysisShots(QList<Shot> &shots)
{
    shots.append(pageShot(QStringLiteral("analysis-level-customers"), "frmCustLevelAnalyse", 0));
    shots.append(pageShot(QStringLiteral("analysis-level-amounts"), "frmCustLevelAnalyse", 2, 0));
    shots.append(pageShot(QStringLiteral("analysis-origin"), "frmCustOriginAnalyse", 1));
    shots.append(pageShot(QStringLiteral("analysis-state"), "frmCustStateAnalyse"));
    shots.append(pageShot(QStringLiteral("analysis-vocation"), "frmCustVocationAnalyse"));
    shots.append(pageShot(QStringLiteral("analysis-operate-origin"), "frmOperateOriginAnalyse"));
    shots.append(pageShot(QStringLiteral("analysis-operate-type"), "frmOperateStyleAnalyse"));
    shots.append(pageShot(QStringLiteral("analysis-operate-sort"), "frmOperateSortAnalyse", 0, 0));
    shots.append(pageShot(QStringLiteral("analysis-customer-sort"), "frmCustomerSortAnalyse", 0, 1));
    shots.append(pageShot(QStringLiteral("analysis-operater-sort"), "frmOperaterSortAnalyse"));
    shots.append(pageShot(QStringLiteral("analysis-finance-receivables"), "frmFinanceAnalyse", 0));
    shots.append(pageShot(QStringLiteral("analysis-finance-payables"), "frmFinanceAnalyse", 1));
    addPeriodShots(shots, QStringLiteral("year"), 0);
    addPeriodShots(shots, QStringLiteral("season"), 1);
    addPeriodShots(shots, QStringLiteral("span"), 2);
}
