#pragma once

#include "WindowKit.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class DbGrid;
class DbPhoto;
class QAction;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class WorkerForm;

// The worker records window: created once, its panel PnMain hosted in the main window's
// client area. A list tab over tblYuangong and a detail tab with the current worker's
// fields, photo, status, hiring customer and sending unit.
class TfrmYuangong : public QObject
{
    Q_OBJECT

public:
    explicit TfrmYuangong(QObject *parent = nullptr);
    ~TfrmYuangong() override;

    QWidget *PnMain = nullptr;

    // What Act_Yuangong does after the main window has logged it and shown the panel.
    void open();

    // List tab.
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    // Detail tab.
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Prt = nullptr;
    QAction *Act_Qry = nullptr;

    QTabWidget *pages() const { return m_host.pages(); }
    QTabWidget *lowerTabs() const { return m_lower; }
    WorkerForm *form() const { return m_form; }
    DbGrid *listGrid() const { return m_list; }
    DbPhoto *photo() const { return m_photo; }
    QPushButton *zoomButton() const { return m_zoom; }
    QPushButton *pickButton() const { return m_pick; }
    QPushButton *stateModifyButton() const { return m_stateModify; }
    QPushButton *stateSaveButton() const { return m_stateSave; }
    // The edit of a worker field (case-insensitive); nullptr when none.
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    // The read-only edit of the customer tab ("CustId", ...) or the unit tab ("ShusongID", ...).
    QLineEdit *customerField(const QString &field) const { return m_customer.value(field.toLower()); }
    QLineEdit *unitField(const QString &field) const { return m_unit.value(field.toLower()); }

    // "保存" after its log entry: the checks, the folders, the post. False when stopped.
    bool save();
    // The status tab's "保存": the worker's folder becomes FilePath and the row is posted.
    bool saveStatus();
    // A row click in the list: the worker's folder becomes the file tool's list.
    void syncFolder();
    // Posts a pending worker edit before tblYuangong is read again; false when refused (told).
    bool postPending();
    // Shows the current worker's customer and unit in the lower tabs.
    void followRelated();

private:
    QWidget *buildListPage();
    QWidget *buildDetailPage();
    QWidget *buildStatusTab();
    QWidget *buildCustomerTab();
    QWidget *buildUnitTab();
    void insertOrModify(bool insert);
    void remove();
    void refresh();
    void query();
    void print();

    QTabWidget *m_lower = nullptr;
    WorkerForm *m_form = nullptr;
    DbGrid *m_list = nullptr;
    DbPhoto *m_photo = nullptr;
    QPushButton *m_zoom = nullptr;
    QPushButton *m_pick = nullptr;
    QPushButton *m_stateModify = nullptr;
    QPushButton *m_stateSave = nullptr;
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
    QHash<QString, QLineEdit *> m_customer;
    QHash<QString, QLineEdit *> m_unit;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmYuangong *frmYuangong;
