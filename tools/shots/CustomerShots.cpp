// The customer list grouped by level, its detail tab and a printed list's preview.
#include "Shots.h"

#include "DbGrid.h"
#include "ReportRenderer.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uPublic.h"
#include "uReport.h"
#include "udmMain.h"

#include <QAction>
#include <QTabWidget>

void addCustomerShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("customers"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Customers"))->trigger();
                      frmCustomers->listGrid()->groupBy(QStringLiteral("LevelName"));
                      return nullptr;
                  }});
    shots.append({QStringLiteral("customer-detail"), [](TfrmMain &) -> QWidget * {
                      frmCustomers->pages()->setCurrentIndex(1);
                      return nullptr;
                  }});
    static TfrmReport *preview = nullptr;
    shots.append({QStringLiteral("preview"),
                  [](TfrmMain &main) -> QWidget * {
                      frmCustomers->pages()->setCurrentIndex(0);
                      ReportLayout layout;
                      QString error;
                      ReportLayout::load(AppDir + QStringLiteral("Data/Report/frCustomers.frf"), &layout, &error);
                      preview = new TfrmReport(std::make_unique<ReportRenderer>(layout, dmMain->tblCustomers),
                                               layout.title, &main);
                      preview->resize(1100, 760);
                      preview->show();
                      return preview;
                  },
                  [] { preview->close(); }, 800});
}
