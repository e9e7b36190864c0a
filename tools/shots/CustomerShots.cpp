// The customer list grouped by level, its detail tab with the editor and "其他资料", the
// customer dialog, the query, the pick dialog, the contact history, a printed list's preview.
#include "Shots.h"

#include "CustomerPick.h"
#include "uCustStateNew.h"
#include "uCustomerNew1.h"
#include "uCustomerQuery3.h"

#include "DbGrid.h"
#include "ReportRenderer.h"
#include "uCustomers.h"
#include "uMain.h"
#include "uPublic.h"
#include "uReport.h"
#include "udmMain.h"

#include <QAction>
#include <QDialog>
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
    shots.append({QStringLiteral("customer-other"), [](TfrmMain &) -> QWidget * {
                      auto *tabs = frmCustomers->pages()->findChild<QTabWidget *>(QStringLiteral("relatedTabs"));
                      tabs->setCurrentIndex(tabs->count() - 1);
                      return nullptr;
                  }});
    // The dialogs, shown without their modal loop.
    const auto dialog = [&shots](const char *name, std::function<QDialog *(QWidget *)> make) {
        static QDialog *shown = nullptr;
        shots.append({QString::fromLatin1(name),
                      [make](TfrmMain &main) -> QWidget * {
                          shown = make(&main);
                          shown->show();
                          return shown;
                      },
                      [] { delete shown; shown = nullptr; }});
    };
    dialog("customer-new1", [](QWidget *p) { return new TfrmCustomerNew1(p); });
    dialog("customer-query3", [](QWidget *p) { return new TfrmCustomerQuery3(p); });
    dialog("customer-pick", [](QWidget *p) { return new CustomerPickDialog(p); });
    dialog("customer-state", [](QWidget *p) { return new TfrmCustStateNew(p); });
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
