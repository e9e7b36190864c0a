#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class DataSource;
class Dataset;
class DbEdit;
class DbHyperlinkEdit;
class QPushButton;

// The contact record's fields, bound to one contact data source with its host's labels:
// the editor tab of the contact window (dsLinkmans1, the customer chosen in a drop-down
// with "查询...") and the contact dialog (dsLinkmans, the customer's name shown).
// Holds what both do alike: the Enter order, the checks, mail and home page, the folder
// step, the save and the delete.
class ContactForm : public QWidget
{
    Q_OBJECT

public:
    enum class Host { Window, Dialog };

    ContactForm(DataSource *source, Host host, QWidget *parent = nullptr);

    Dataset *dataset() const;
    Host host() const { return m_host; }
    DbEdit *codeEdit() const { return m_code; }
    // The editor of a field of tblLinkmans ("LinkmanID", "CustID", "SpecialDate", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    QPushButton *sendButton() const { return m_send; }
    QPushButton *openButton() const { return m_open; }
    QPushButton *pickButton() const { return m_pick; }  // "查询..."; the window only

    // A saved contact's code typed over while business records name the stored one:
    // warning and focus on the code; true then.
    bool refuseCodeChange();
    // The code, the name (with `nameMessage`) and, in the window, the customer: the first
    // one showing no text gets its warning and the focus; false then.
    bool checkRequired(const QString &nameMessage);
    // The customer's folder (FilesRoot without a customer); the file tool lists it.
    void makeFolder();
    // The save after its log entry: code change, checks, folder, then the post of a
    // pending row (SUser set to the current user when empty and `fillUser`). False when a
    // check stopped it; a refused post raises and the row stays in edit.
    bool save(bool fillUser, const QString &nameMessage);

    // The contact deletion: its log entry, the check of the business records by the code
    // as stored, `question`, the delete.
    void remove(const QString &question);

    // "发送邮件": the typed address to the mail program.
    void send();
    // "打开...": the typed home page as a web address; anything else opens nothing.
    void openHomePage();

private:
    void pickCustomer();

    DataSource *m_source;
    Host m_host;
    DbEdit *m_code = nullptr;
    DbEdit *m_name = nullptr;
    DbHyperlinkEdit *m_email = nullptr;
    DbHyperlinkEdit *m_homePage = nullptr;
    QWidget *m_customer = nullptr;
    QPushButton *m_send = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_pick = nullptr;
    QHash<QString, QWidget *> m_editors;  // by lower-case field name
    QList<QWidget *> m_order;
};
