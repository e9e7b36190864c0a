#pragma once

#include "WindowKit.h"

#include <QList>
#include <QObject>
#include <QPointer>

class ContactForm;
class DbEdit;
class DbGrid;
class QAction;
class QPushButton;
class QTabWidget;
class QWidget;

// The contact window: created once, its panel PnMain hosted in the main window's client
// area. A list tab over qryLinkmans1 (every contact, or the user's own) and an editor tab
// with the current contact's fields above its customer, read-only.
class TfrmLinkman : public QObject
{
    Q_OBJECT

public:
    explicit TfrmLinkman(QObject *parent = nullptr);
    ~TfrmLinkman() override;

    QWidget *PnMain = nullptr;

    // What Act_Linkman does after the main window has logged it and shown the panel.
    void open();
    // The current contact's customer folder becomes the file tool's list.
    void syncFolder();

    // List tab.
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Export = nullptr;  // "Email地址导出"
    void refresh();
    // "Email地址导出": the non-empty addresses of the listed contacts, one a line.
    void exportAddresses();

    // Editor tab.
    QAction *Act_Add = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Prt = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Cancel = nullptr;
    ContactForm *form() const { return m_form; }

    QTabWidget *pages() const { return m_host.pages(); }
    DbGrid *listGrid() const { return m_list; }
    // The customer tab's edit of a tblCustomers field ("CustId", "CustName", "Email", ...).
    DbEdit *customerEdit(const QString &field) const;
    QPushButton *customerMailButton() const { return m_customerMail; }
    // True while the customer tab shows tblCustomers2's current row.
    bool customerShown() const { return m_customerShown; }

private:
    QWidget *buildListPage();
    QWidget *buildDetailPage();
    QWidget *buildCustomerTab();
    void insertOrModify(bool insert);
    void followCustomer();
    void showCustomer(bool shown);

    DbGrid *m_list = nullptr;
    ContactForm *m_form = nullptr;
    QList<DbEdit *> m_customerEdits;
    QPushButton *m_customerMail = nullptr;
    bool m_customerShown = true;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmLinkman *frmLinkman;
