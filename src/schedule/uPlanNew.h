#pragma once

#include <QObject>
#include <QPointer>

class PlanEntryPanel;
class QAction;
class QWidget;

// The schedule editor: created once, its page PnMain hosted in the main window's client
// area by "新增" and "修改"; "关闭" returns to the schedule list.
class TfrmPlanNew : public QObject
{
    Q_OBJECT

public:
    explicit TfrmPlanNew(QObject *parent = nullptr);
    ~TfrmPlanNew() override;

    QWidget *PnMain = nullptr;
    PlanEntryPanel *entry() const { return m_entry; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Close = nullptr;

private:
    QPointer<QWidget> m_panel;
    PlanEntryPanel *m_entry = nullptr;
};

extern TfrmPlanNew *frmPlanNew;
