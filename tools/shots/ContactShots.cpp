// The contact list grouped by customer, its editor tab with the customer below, the
// contact dialog and the contact query.
#include "Shots.h"

#include "DbGrid.h"
#include "uCustomers.h"
#include "uLinkman.h"
#include "uLinkmanNew1.h"
#include "uLinkmanQuery1.h"
#include "uMain.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>

void addContactShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("contacts"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Linkman"))->trigger();
                      frmLinkman->listGrid()->groupBy(QStringLiteral("CustName"));
                      return nullptr;
                  }});
    shots.append({QStringLiteral("contact-detail"), [](TfrmMain &) -> QWidget * {
                      frmLinkman->listGrid()->clearGrouping();
                      dmMain->qryLinkmans1->first();
                      frmLinkman->pages()->setCurrentIndex(1);
                      return nullptr;
                  }});
    static TfrmLinkmanNew1 *dialog = nullptr;
    shots.append({QStringLiteral("contact-dialog"),
                  [](TfrmMain &main) -> QWidget * {
                      frmLinkman->pages()->setCurrentIndex(0);
                      main.action(QStringLiteral("Act_Customers"))->trigger();
                      dmMain->tblLinkmans->first();
                      dmMain->tblLinkmans->edit();
                      dialog = new TfrmLinkmanNew1(&main);
                      dialog->show();
                      return dialog;
                  },
                  [] {
                      dmMain->tblLinkmans->cancel();
                      dialog->close();
                      delete dialog;
                  }});
    static TfrmLinkmanQuery1 *query = nullptr;
    shots.append({QStringLiteral("contact-query"),
                  [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Linkman"))->trigger();
                      query = new TfrmLinkmanQuery1(&main);
                      query->kindBox()->setCurrentIndex(3);
                      query->show();
                      return query;
                  },
                  [] {
                      query->close();
                      delete query;
                  }});
}
