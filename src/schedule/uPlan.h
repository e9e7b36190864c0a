#pragma once

#include <QObject>
#include <QPointer>

class PlanEntryPanel;
class PlanListPanel;
class QAction;
class QTabWidget;
class QWidget;

// The schedule list: created once, its page PnMain hosted in the main window's client
// area; the editor page closes back to it. Its shortcuts work on this page only.
class TfrmPlan : public QObject
{
    Q_OBJECT

public:
    explicit TfrmPlan(QObject *parent = nullptr);
    ~TfrmPlan() override;

    QWidget *PnMain = nullptr;
    PlanListPanel *list() const { return m_list; }
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;

private:
    QPointer<QWidget> m_panel;  // null once its host window has deleted it
    PlanListPanel *m_list = nullptr;
};

extern TfrmPlan *frmPlan;

// The main window's schedule page: the list tab "日程安排列表" and the detail tab
// "日程详细安排" in the main window's tab set, sharing one set of actions (no shortcuts).
class PlanShell : public QObject
{
    Q_OBJECT

public:
    // Fills `tabs` (the main window's schedule tab set).
    PlanShell(QTabWidget *tabs, QObject *parent = nullptr);

    PlanListPanel *list() const { return m_list; }
    PlanEntryPanel *detail() const { return m_detail; }
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Cancel = nullptr;

private:
    PlanListPanel *m_list = nullptr;
    PlanEntryPanel *m_detail = nullptr;
};

extern PlanShell *planShell;
