#pragma once

#include "WindowKit.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QTabWidget;
class QWidget;
class CustomerForm;
class CustomerOtherTab;
class DbGrid;
class RelatedRecordsTab;

// The customer window: created once, its panel PnMain hosted in the main window's
// client area. A list tab over tblCustomers and a detail tab with the current
// customer's editor above its contacts, business records, placed workers and contact history.
class TfrmCustomers : public QObject
{
    Q_OBJECT

public:
    explicit TfrmCustomers(QObject *parent = nullptr);
    ~TfrmCustomers() override;

    QWidget *PnMain = nullptr;

    // What Act_Customers does after the main window has logged it and shown the panel.
    void open();
    void syncFolder(bool fromClick = false);

    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    void refresh();

    // The editor on the detail tab, bound to dsCustomers, and its toolbar.
    CustomerForm *form() const { return m_form; }
    // The fifth related tab, "其他资料".
    CustomerOtherTab *otherTab() const { return m_other; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Prt = nullptr;
    QAction *Act_Cancel = nullptr;

    QTabWidget *pages() const { return m_host.pages(); }
    DbGrid *listGrid() const { return m_list; }
    // The related-record tabs, in order: contacts, business records, workers, contact history.
    DbGrid *relatedGrid(int tab) const;
    QAction *relatedAction(int tab, const QString &which) const;  // "new", "modify", "delete", "refresh", "print"

    // Dialogs of later windows attach here (contact, business record, worker, contact history).
    void setRelatedDialog(int tab, std::function<void()> show);

private:
    QWidget *buildListPage();
    QWidget *buildDetailPage();
    void insertOrModify(bool insert);
    void remove();
    void print();

    DbGrid *m_list = nullptr;
    CustomerForm *m_form = nullptr;
    CustomerOtherTab *m_other = nullptr;
    QList<RelatedRecordsTab *> m_related;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmCustomers *frmCustomers;
