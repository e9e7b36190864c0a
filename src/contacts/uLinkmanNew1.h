#pragma once

#include "RecordDialog.h"

class ContactForm;
class QAction;

// The contact dialog: the contact form bound to dsLinkmans, the contacts of the customer
// window's current customer. The caller has appended a row (new) or put one into edit.
class TfrmLinkmanNew1 : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmLinkmanNew1(QWidget *parent = nullptr);

    // Creates the dialog on tblLinkmans's current row and shows it modally.
    static int execute(QWidget *parent);

    ContactForm *form() const { return m_form; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;
    QAction *Act_Copy = nullptr;  // "复制客户资料"

    // "复制客户资料": while a new contact is pending, the customer's telephone, fax,
    // address, e-mail and home page that are not null; nothing for a saved contact.
    void copyCustomer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ContactForm *m_form = nullptr;
};
