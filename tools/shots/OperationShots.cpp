// The business-record list grouped by state, the record tab with its items and with its
// customer, the customer-side record dialog and the item dialog.
#include "Shots.h"

#include "DbGrid.h"
#include "uMain.h"
#include "uOperateNew1.h"
#include "uOperateNewChild.h"
#include "uOperates.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QPointer>
#include <QTabWidget>

namespace {

QPointer<QWidget> shownDialog;

void showRecord(int lowerTab)
{
    Dataset *o = dmMain->tblOperates2;
    o->locate(QStringLiteral("OperateID"), {QStringLiteral("DEMO-KINDS")});
    frmOperates->pages()->setCurrentIndex(1);
    frmOperates->lowerTabs()->setCurrentIndex(lowerTab);
}

}  // namespace

void addOperationShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("operations"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_OperatesInfo"))->trigger();
                      frmOperates->pages()->setCurrentIndex(0);
                      frmOperates->listGrid()->groupBy(QStringLiteral("OperateStateName"));
                      frmOperates->listGrid()->expandAll();
                      return nullptr;
                  }});
    shots.append({QStringLiteral("operations-record-items"), [](TfrmMain &) -> QWidget * {
                      showRecord(0);
                      return nullptr;
                  }});
    shots.append({QStringLiteral("operations-record-customer"), [](TfrmMain &) -> QWidget * {
                      showRecord(1);
                      return nullptr;
                  }});
    const auto dialog = [&shots](const char *name, std::function<QDialog *(QWidget *)> make) {
        shots.append({QString::fromLatin1(name),
                      [make](TfrmMain &main) -> QWidget * {
                          QDialog *d = make(&main);
                          d->setAttribute(Qt::WA_DeleteOnClose);
                          d->show();
                          shownDialog = d;
                          return d;
                      },
                      [] {
                          if (shownDialog)
                              shownDialog->close();
                      }});
    };
    dialog("operations-new1", [](QWidget *p) -> QDialog * {
        Dataset *c = dmMain->tblCustomers;
        OpenDatasets({c});
        c->locate(QStringLiteral("CustId"), {QStringLiteral("C000001")});
        TfrmOperateNew1::prepare();
        dmMain->tblOperates->locate(QStringLiteral("OperateID"), {QStringLiteral("DEMO-HK01")});
        return new TfrmOperateNew1(p);
    });
    dialog("operations-item", [](QWidget *p) -> QDialog * {
        showRecord(0);
        OpenDatasets({dmMain->tblCurrencyRate, dmMain->tblOperateDetail});
        dmMain->tblOperateDetail->first();
        return new TfrmOperateNewChild(p);
    });
}
