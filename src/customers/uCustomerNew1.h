#pragma once

#include "RecordDialog.h"

class CustomerForm;
class QAction;

// The customer dialog: the customer form bound to dsCustomers2, opened by the pick
// dialogs to add a customer (after appending a row) or to show the current one.
class TfrmCustomerNew1 : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmCustomerNew1(QWidget *parent = nullptr);

    // Creates the dialog on tblCustomers2's current row and shows it modally.
    static int execute(QWidget *parent);

    CustomerForm *form() const { return m_form; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    CustomerForm *m_form = nullptr;
};
