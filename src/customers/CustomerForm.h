#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class DataSource;
class Dataset;
class DbDateEdit;
class DbEdit;
class DbLookupCombo;
class DbMemo;
class QPushButton;

// The customer record's fields, bound to one customer data source: the editor on the
// customer window's detail tab (dsCustomers) and the customer dialog (dsCustomers2).
// Holds what both do alike: the Enter order, the duplicate test, sending mail, the
// required checks, the folder step and the save.
class CustomerForm : public QWidget
{
    Q_OBJECT

public:
    explicit CustomerForm(DataSource *source, QWidget *parent = nullptr);

    Dataset *dataset() const;
    DbEdit *codeEdit() const { return m_code; }
    // The editor of a field of tblCustomers ("CustId", "VocationID", "CreateDate", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    // The fields in the order Enter moves through them.
    QList<QWidget *> enterOrder() const { return m_order; }
    QPushButton *duplicateButton() const { return m_duplicate; }
    QPushButton *sendButton() const { return m_send; }

    // The required fields, in their fixed order: the first one showing no text gets its
    // warning and the focus; false then.
    bool checkRequired();
    // A saved customer's code typed over while related records name the stored one:
    // warning and focus on the code; true then.
    bool refuseCodeChange();
    // The folder of the code as typed (nothing for a code that cannot name a folder);
    // the file tool lists it.
    void makeFolder();
    // The save after its log entry: code change, required checks, folder, then the post
    // of a pending row (SUser set to the current user when empty and `fillUser`).
    // False when a check stopped it; a refused post raises and the row stays in edit.
    bool save(bool fillUser);

    // The customer deletion (list, editor and dialog alike): its log entry, the checks of
    // the related records by the code as stored, the question, the delete.
    void remove();

    // "查重": warns when a customer with the typed code exists (the stored code included).
    void checkDuplicate();
    // "发送": the typed address to the mail program.
    void send();

private:
    DataSource *m_source;
    DbEdit *m_code = nullptr;
    DbEdit *m_email = nullptr;
    QPushButton *m_duplicate = nullptr;
    QPushButton *m_send = nullptr;
    QHash<QString, QWidget *> m_editors;  // by lower-case field name
    QList<QWidget *> m_order;
};
