#pragma once

#include "WindowKit.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class DbGrid;
class OperationForm;
class QAction;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

// The business-record window: created once, its panel PnMain hosted in the main
// window's client area. A list tab over tblOperates2 and a record tab editing its
// current row, with the record's items and its customer in two lower tabs.
class TfrmOperates : public QObject
{
    Q_OBJECT

public:
    explicit TfrmOperates(QObject *parent = nullptr);
    ~TfrmOperates() override;

    QWidget *PnMain = nullptr;

    // What Act_OperatesInfo does after the main window has logged it and shown the panel.
    void open();

    // List tab.
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    // Record tab.
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Qry = nullptr;
    QAction *Act_Prt = nullptr;
    QAction *Act_Cancel = nullptr;
    // Items.
    QAction *Act_ItemAdd = nullptr;
    QAction *Act_ItemModify = nullptr;
    QAction *Act_ItemDelete = nullptr;
    QAction *Act_ItemRefresh = nullptr;

    QTabWidget *pages() const { return m_host.pages(); }
    QTabWidget *lowerTabs() const { return m_lower; }
    OperationForm *form() const { return m_form; }
    DbGrid *listGrid() const { return m_list; }
    DbGrid *itemGrid() const { return m_items; }
    QPushButton *customerMailButton() const { return m_mail; }
    // The read-only edit of the customer tab ("CustId", "Email", ...).
    QLineEdit *customerField(const QString &field) const { return m_customer.value(field.toLower()); }

    // A row click in the list: the record's customer folder becomes the file tool's list.
    void syncFolder();
    // Shows the current record's customer in the customer tab; tblCustomers2 follows it.
    void followCustomer();
    // Runs the record tab's save when the record is pending; true when nothing is pending
    // any more and a stored record is current (items can be added to it).
    bool storedRecordReady();

private:
    QWidget *buildListPage();
    QWidget *buildRecordPage();
    QWidget *buildItemsTab();
    QWidget *buildCustomerTab();
    void insertOrModify(bool insert);
    void refresh();
    void query();
    void openItem(bool insert);

    QTabWidget *m_lower = nullptr;
    OperationForm *m_form = nullptr;
    DbGrid *m_list = nullptr;
    DbGrid *m_items = nullptr;
    QPushButton *m_mail = nullptr;
    QHash<QString, QLineEdit *> m_customer;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmOperates *frmOperates;
