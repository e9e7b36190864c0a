#pragma once

#include "WindowKit.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class DbGrid;
class DbPhoto;
class QAction;
class QPushButton;
class QTabWidget;
class QWidget;

// The staff window: created once, its panel PnMain hosted in the main window's client
// area. A list tab over tblOperaters and a record tab editing the current member in place,
// with the photo, the member's operations (tblOperates2) and the employment status.
class TfrmOperaters : public QObject
{
    Q_OBJECT

public:
    explicit TfrmOperaters(QObject *parent = nullptr);
    ~TfrmOperaters() override;

    QWidget *PnMain = nullptr;

    // What Act_Operaters does after the main window has logged it and shown the panel.
    void open();

    // The photo viewer "放大" opens (PhotoViewCaller is set first); none: the button does nothing.
    void setPhotoViewer(std::function<void(QWidget *parent)> viewer) { m_viewer = std::move(viewer); }

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

    QTabWidget *pages() const { return m_host.pages(); }
    QTabWidget *lowerTabs() const { return m_lower; }
    DbGrid *listGrid() const { return m_list; }
    DbGrid *operationsGrid() const { return m_operations; }
    DbPhoto *photo() const { return m_photo; }
    QPushButton *zoomButton() const { return m_zoom; }
    QPushButton *mailButton() const { return m_mail; }
    QPushButton *homeButton() const { return m_home; }
    QPushButton *stateModifyButton() const { return m_stateModify; }
    QPushButton *stateSaveButton() const { return m_stateSave; }
    // The edit of a staff field (case-insensitive); nullptr when none.
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }

    // "保存" after its log entry: the checks, the member's folder, the post. False when stopped.
    bool save();
    // The status tab's "保存": the member's folder becomes FilePath and the row is posted.
    bool saveStatus();
    // A row click in the list: the member's folder becomes the file tool's list.
    void syncFolder();

private:
    QWidget *buildListPage();
    QWidget *buildRecordPage();
    QWidget *buildFields(QWidget *parent);
    QWidget *buildOperationsTab();
    QWidget *buildStatusTab();
    void insert();
    void modify();
    void remove();
    void refresh();
    void query();
    bool postPending();
    bool releaseOperations();
    QString typedCode() const;
    // Tells that the shown photo's file gave no picture (the commands that show load errors).
    void reportPhotoFailure();

    QTabWidget *m_lower = nullptr;
    DbGrid *m_list = nullptr;
    DbGrid *m_operations = nullptr;
    DbPhoto *m_photo = nullptr;
    QPushButton *m_zoom = nullptr;
    QPushButton *m_mail = nullptr;
    QPushButton *m_home = nullptr;
    QPushButton *m_stateModify = nullptr;
    QPushButton *m_stateSave = nullptr;
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
    std::function<void(QWidget *)> m_viewer;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmOperaters *frmOperaters;
