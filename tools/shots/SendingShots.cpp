// The sending-unit list, its detail tab with the settlements, the settlement editor and
// the unit query.
#include "Shots.h"

#include "Dataset.h"
#include "uMain.h"
#include "uShusong.h"
#include "uShusongQuery.h"
#include "uShusongYJ.h"
#include "udmMain.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>

void addSendingShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("sending-units"), [](TfrmMain &main) -> QWidget * {
                      main.action(QStringLiteral("Act_Shusong"))->trigger();
                      frmShusong->pages()->setCurrentIndex(0);
                      return nullptr;
                  }});
    shots.append({QStringLiteral("sending-detail"), [](TfrmMain &) -> QWidget * {
                      dmMain->tblShusong->first();
                      // The first unit with settlements.
                      while (!dmMain->tblShusong->isEof() && dmMain->tblShusongYJ->isEmpty())
                          dmMain->tblShusong->next();
                      frmShusong->pages()->setCurrentIndex(1);
                      return nullptr;
                  }});
    static TfrmShusongYJ *editor = nullptr;
    shots.append({QStringLiteral("sending-settlement"),
                  [](TfrmMain &main) -> QWidget * {
                      dmMain->tblShusongYJ->first();
                      dmMain->tblShusongYJ->edit();
                      editor = new TfrmShusongYJ(&main);
                      editor->show();
                      return editor;
                  },
                  [] {
                      dmMain->tblShusongYJ->cancel();
                      editor->hide();
                      delete editor;
                  }});
    static TfrmShusongQuery *query = nullptr;
    shots.append({QStringLiteral("sending-query"),
                  [](TfrmMain &main) -> QWidget * {
                      frmShusong->pages()->setCurrentIndex(0);
                      query = new TfrmShusongQuery(&main);
                      query->kindBox()->setCurrentIndex(2);
                      query->show();
                      return query;
                  },
                  [] {
                      query->hide();
                      delete query;
                  }});
}
