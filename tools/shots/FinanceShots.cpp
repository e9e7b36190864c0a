// The receivables grouped by customer, the payables, their date dialog and the
// business-record query.
#include "Shots.h"

#include "DbGrid.h"
#include "uGathering.h"
#include "uInOutQuery.h"
#include "uMain.h"
#include "uOperateQuery1.h"
#include "uPublic.h"

#include <QAction>
#include <QComboBox>

void addFinanceShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("receivables"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Gathering"))->trigger();
                      frmGathering->grid()->groupBy(QStringLiteral("CustName"));
                      frmGathering->grid()->expandAll();
                      return nullptr;
                  }});
    shots.append({QStringLiteral("payables"), [](TfrmMain &main) -> QWidget * {
                      frmGathering->grid()->clearGrouping();
                      main.action(QStringLiteral("Act_Payment"))->trigger();
                      return nullptr;
                  }});
    static TfrmInOutQuery *range = nullptr;
    shots.append({QStringLiteral("inout-query"),
                  [](TfrmMain &main) -> QWidget * {
                      InOutQueryCaller = QStringLiteral("应付账款");
                      range = new TfrmInOutQuery(&main);
                      range->show();
                      return range;
                  },
                  [] {
                      range->close();
                      delete range;
                  }});
    static TfrmOperateQuery1 *query = nullptr;
    shots.append({QStringLiteral("operate-query"),
                  [](TfrmMain &main) -> QWidget * {
                      query = new TfrmOperateQuery1(&main);
                      query->show();
                      return query;
                  },
                  [] {
                      query->close();
                      delete query;
                  }});
}
