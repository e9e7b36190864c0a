// The bulk-mail window with its dialogs, the envelope window with its settings, an
// envelope page and the agency's particulars.
#include "Shots.h"

#include "Dataset.h"
#include "ReportLayout.h"
#include "ReportRenderer.h"
#include "ReportService.h"
#include "Utf8.h"
#include "uEnvelop.h"
#include "uMail.h"
#include "uMailDialogs.h"
#include "uReport.h"
#include "uMain.h"
#include "uUserInfo.h"
#include "udmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

namespace {

QWidget *s_dialog = nullptr;

std::function<void()> closeDialog()
{
    return [] {
        if (s_dialog) {
            s_dialog->hide();
            s_dialog->deleteLater();
            s_dialog = nullptr;
        }
    };
}

template <typename T>
T *showDialog(T *d)
{
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->show();
    s_dialog = d;
    return d;
}

// The preview window over the envelopes with the sender block.
QWidget *envelopePage(TfrmMain &main)
{
    ReportLayout layout;
    QString error;
    if (!ReportLayout::load(ReportService::layoutPath(s("frEnvelop6")), &layout, &error))
        return nullptr;
    dmMain->tblUserInfo->open();
    auto renderer = std::make_unique<ReportRenderer>(layout, dmMain->qryLinkmans3,
                                                     QMap<QString, Dataset *>{{s("tblUserInfo"), dmMain->tblUserInfo}});
    auto *preview = new TfrmReport(std::move(renderer), layout.title, &main);
    preview->resize(1100, 700);
    return preview;
}

}  // namespace

void addMailShots(QList<Shot> &shots)
{
    shots.append({s("mail-window"), [](TfrmMain &main) -> QWidget * {
                      main.action(s("Act_Mail"))->trigger();
                      frmMail->addAll();
                      while (frmMail->lstPending->count() > 12)
                          delete frmMail->lstPending->takeItem(12);
                      frmMail->lstFailed->addItem(s("wang@@example  —  不是有效的邮件地址"));
                      frmMail->lstFailed->addItem(s("li@example.com  —  550 mailbox unavailable"));
                      frmMail->lblProgress->setText(s("正在发送 第 5 封，共 12 封"));
                      frmMail->barProgress->setRange(0, 12);
                      frmMail->barProgress->setValue(4);
                      for (QWidget *w : {static_cast<QWidget *>(frmMail->lblProgress),
                                         static_cast<QWidget *>(frmMail->barProgress),
                                         static_cast<QWidget *>(frmMail->btnCancel)})
                          w->show();
                      return nullptr;
                  }});
    shots.append({s("mail-memo"), [](TfrmMain &) -> QWidget * {
                      auto *d = showDialog(new TfrmMailMemo(frmMail->message(), frmMail->attachmentPaths(),
                                                            frmMail->PnMain));
                      d->edSubject->setText(s("新春家政服务优惠通知"));
                      d->edCc->setText(s("office@anxin-jiazheng.example"));
                      d->memContent->setPlainText(s("尊敬的客户：\n\n春节期间保洁、保姆服务九折优惠，欢迎垂询。\n\n安心家政服务中心"));
                      d->lstAttach->addItem(s("/home/office/价目表.pdf"));
                      return d;
                  },
                  closeDialog()});
    shots.append({s("mail-server"), [](TfrmMain &) -> QWidget * {
                      auto *d = showDialog(new TfrmMailServer(*frmMail->smtp(), frmMail->message(), frmMail->PnMain));
                      d->cbHost->setEditText(s("smtp.163.com"));
                      d->edSender->setText(s("anxin@163.com"));
                      d->edUser->setText(s("anxin"));
                      d->edPassword->setText(s("secret"));
                      d->lblStatus->setText(s("已经连接到服务器 smtp.163.com"));
                      return d;
                  },
                  closeDialog()});
    shots.append({s("mail-envelope"), [](TfrmMain &main) -> QWidget * {
                      auto *d = showDialog(new TfrmEnvelop(&main));
                      d->resize(1200, 720);
                      return d;
                  },
                  closeDialog()});
    shots.append({s("mail-envelope-set"), [](TfrmMain &main) -> QWidget * {
                      auto *d = showDialog(new TfrmEnvelopSet(&main));
                      d->chkUserInfo->setChecked(true);
                      return d;
                  },
                  closeDialog()});
    shots.append({s("mail-envelope-page"), [](TfrmMain &main) -> QWidget * {
                      QWidget *page = envelopePage(main);
                      if (page)
                          showDialog(page);
                      return page;
                  },
                  closeDialog()});
    shots.append({s("mail-userinfo"), [](TfrmMain &main) -> QWidget * { return showDialog(new TfrmUserInfo(&main)); },
                  closeDialog()});
}
