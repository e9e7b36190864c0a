#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;
class TfrmMain;

// One picture taken by qlmshots: `show` opens what to photograph (a page of the main
// window, a dialog shown without exec) and returns it; nullptr means the main window.
// After the grab `done`, when given, closes it again. The main window is shown and
// logged in as the system user over the demo database before the first shot.
struct Shot
{
    QString name;                          // file name without ".png"
    std::function<QWidget *(TfrmMain &)> show;
    std::function<void()> done = {};
    int settleMs = 400;                    // time for layouts, pictures and queries to settle
};

// Each window folder adds its pictures in its own file.
void addStartUpShots(QList<Shot> &shots);
void addCustomerShots(QList<Shot> &shots);
void addDocumentShots(QList<Shot> &shots);
void addRefdataShots(QList<Shot> &shots);
void addAdminShots(QList<Shot> &shots);
void addContactShots(QList<Shot> &shots);
void addAnalysisShots(QList<Shot> &shots);
void addSendingShots(QList<Shot> &shots);
void addFinanceShots(QList<Shot> &shots);
void addMailShots(QList<Shot> &shots);
void addWorkerShots(QList<Shot> &shots);
void addScheduleShots(QList<Shot> &shots);
void addOperationShots(QList<Shot> &shots);
void addStaffShots(QList<Shot> &shots);
