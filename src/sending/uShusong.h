#pragma once

#include "WindowKit.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class DbGrid;
class DbNavigator;
class QAction;
class QPushButton;
class QTabWidget;
class QWidget;
class RelatedRecordsTab;

// The sending-unit window: created once, its panel PnMain hosted in the main window's
// client area. A list tab over tblShusong and a detail tab with the current unit's
// fields above its commission settlements.
class TfrmShusong : public QObject
{
    Q_OBJECT

public:
    explicit TfrmShusong(QObject *parent = nullptr);
    ~TfrmShusong() override;

    QWidget *PnMain = nullptr;

    // What Act_Shusong does after the main window has logged it and shown the panel.
    void open();
    // The units' one shared folder becomes the file tool's list.
    void syncFolder();

    // List tab; the detail tab shows Act_Insert and Act_Delete too.
    QAction *Act_Insert = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Delete = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    // Detail tab.
    QAction *Act_Save = nullptr;
    QAction *Act_Qry = nullptr;
    QAction *Act_Prt = nullptr;

    // "保存" after its log entry: the checks, then the post; true when nothing is pending.
    bool save();
    void remove();
    void refresh();

    QTabWidget *pages() const { return m_host.pages(); }
    DbGrid *listGrid() const { return m_list; }
    DbNavigator *navigator() const { return m_navigator; }
    RelatedRecordsTab *settlements() const { return m_settlements; }
    // The detail edit of a field ("ShusongID", "Email", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QPushButton *homepageButton() const { return m_openHome; }
    QPushButton *mailButton() const { return m_mail; }

private:
    QWidget *buildListPage();
    QWidget *buildDetailPage();
    void insertOrModify(bool insert);
    // Runs before the settlement tab's new and modify: a pending unit is saved first.
    bool unitReady();

    DbGrid *m_list = nullptr;
    DbNavigator *m_navigator = nullptr;
    RelatedRecordsTab *m_settlements = nullptr;
    QHash<QString, QWidget *> m_editors;
    QPushButton *m_openHome = nullptr;
    QPushButton *m_mail = nullptr;
    WindowKit::HostedPanel m_host;  // last: the panel goes before the other members
};

extern TfrmShusong *frmShusong;
