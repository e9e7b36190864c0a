#pragma once

#include "RecordDialog.h"

class OperationForm;
class QAction;

// The customer-side business-record dialog: the record form bound to dsOperates, the
// records of the customer window's current customer. The caller has appended a row
// (new) or put one into edit.
class TfrmOperateNew1 : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmOperateNew1(QWidget *parent = nullptr);

    // The openings of both callers: the customers read again, the lists the drop-downs
    // show; for a change the customer list sits on the record's customer.
    static void prepare();
    // Creates the dialog on tblOperates's current row and shows it modally.
    static int execute(QWidget *parent);
    // The opener by name (the schedule): the current record of tblOperates put into
    // edit and shown; nothing while the customer has no record.
    static void openCurrent(QWidget *parent);

    OperationForm *form() const { return m_form; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Close = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    OperationForm *m_form = nullptr;
};
