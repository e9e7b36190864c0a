#pragma once

#include "RecordDialog.h"

class QAction;
class WorkerForm;

// The placed-worker dialog: the worker form bound to dsYuangong1, the workers of the
// customer window's current customer. The caller has appended a row (new) or put one
// into edit.
class TfrmYuangongNew1 : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmYuangongNew1(QWidget *parent = nullptr);

    // Opens the datasets its drop-downs read (re-reading the units), creates the dialog on
    // tblYuangong1's current row and shows it modally.
    static int execute(QWidget *parent);
    static void openDatasets();

    WorkerForm *form() const { return m_form; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Close = nullptr;

    // "保存": the checks, the folders, the post; false when stopped (told).
    bool save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    WorkerForm *m_form = nullptr;
};
