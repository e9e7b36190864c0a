// The worker list grouped by work type, the detail tab with a photo and each lower tab, the
// placed-worker dialog, the query, the photo viewer and the classification editors.
#include "Shots.h"

#include "DbGrid.h"
#include "WorkerCodeTables.h"
#include "uImage.h"
#include "uYuangong.h"
#include "uYuangongNew1.h"
#include "uYuangongQuery.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QPointer>
#include <QTabWidget>

namespace {

QPointer<QWidget> shown;

Shot editorShot(const QString &name, const QString &window)
{
    return {name, [window](TfrmMain &main) -> QWidget * {
                const CodeTable *table = workerCodeTable(window);
                OpenDatasets({(dmMain->*(table->source))->dataset()});
                auto *editor = new CodeTableEditor(*table, false, &main);
                editor->setAttribute(Qt::WA_DeleteOnClose);
                editor->show();
                shown = editor;
                return editor;
            },
            [] {
                if (shown)
                    shown->close();
            }};
}

}  // namespace

void addWorkerShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("workers"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Yuangong"))->trigger();
                      frmYuangong->listGrid()->groupBy(QStringLiteral("GongzhongName"));
                      frmYuangong->listGrid()->expandAll();
                      return nullptr;
                  }});
    for (int tab = 0; tab < 3; ++tab) {
        static const char *const names[] = {"workers-detail-status", "workers-detail-customer", "workers-detail-unit"};
        shots.append({QString::fromLatin1(names[tab]), [tab](TfrmMain &) -> QWidget * {
                          Dataset *w = dmMain->tblYuangong;
                          w->locate(QStringLiteral("YuangongID"), {QStringLiteral("Y00001")});
                          frmYuangong->pages()->setCurrentIndex(1);
                          frmYuangong->lowerTabs()->setCurrentIndex(tab);
                          return nullptr;
                      }});
    }
    const auto dialog = [&shots](const char *name, std::function<QDialog *(QWidget *)> make) {
        shots.append({QString::fromLatin1(name),
                      [make](TfrmMain &main) -> QWidget * {
                          QDialog *d = make(&main);
                          d->setAttribute(Qt::WA_DeleteOnClose);
                          d->show();
                          shown = d;
                          return d;
                      },
                      [] {
                          if (shown)
                              shown->close();
                      }});
    };
    dialog("workers-new1", [](QWidget *p) -> QDialog * {
        TfrmYuangongNew1::openDatasets();
        Dataset *c = dmMain->tblCustomers;
        OpenDatasets({c, dmMain->tblYuangong1});
        // A customer with a placed worker, so the dialog shows a filled record.
        Dataset *w = dmMain->tblYuangong;
        w->locate(QStringLiteral("YuangongID"), {QStringLiteral("Y00001")});
        c->locate(QStringLiteral("CustId"), {w->field(QStringLiteral("CustID")).value()});
        dmMain->tblYuangong1->locate(QStringLiteral("YuangongID"), {QStringLiteral("Y00001")});
        return new TfrmYuangongNew1(p);
    });
    dialog("workers-query", [](QWidget *p) -> QDialog * { return new TfrmYuangongQuery(p); });
    dialog("workers-image", [](QWidget *p) -> QDialog * {
        dmMain->tblYuangong->locate(QStringLiteral("YuangongID"), {QStringLiteral("Y00002")});
        PhotoViewCaller = QStringLiteral("Yuangong");
        return new TfrmImage(p);
    });
    shots.append(editorShot(QStringLiteral("workers-gongzhong"), QStringLiteral("TfrmGongzhong")));
    shots.append(editorShot(QStringLiteral("workers-jineng"), QStringLiteral("TfrmJineng")));
    shots.append(editorShot(QStringLiteral("workers-tijian"), QStringLiteral("TfrmTijian")));
}
