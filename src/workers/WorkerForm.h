#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class DataSource;
class DbPhoto;
class QPushButton;

// The fields of one worker record in Enter order beside its photo box and "放大" button,
// bound to a worker data source: the worker window's detail tab and the placed-worker
// dialog show it.
class WorkerForm : public QWidget
{
    Q_OBJECT

public:
    enum class Host {
        Window,  // the hiring customer with its "查询..." picker
        Dialog   // the hiring customer read-only
    };
    WorkerForm(DataSource *source, Host host, QWidget *parent = nullptr);

    // The edit of a field (case-insensitive); nullptr when none.
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    DbPhoto *photo() const { return m_photo; }
    QPushButton *zoomButton() const { return m_zoom; }
    QPushButton *pickButton() const { return m_pick; }  // nullptr in the dialog

    // The typed worker number and name (blanks only count as empty).
    QString code() const;
    QString name() const;
    // The two checks of "保存": false after the message, the focus on the field.
    bool check();

private:
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
    DbPhoto *m_photo = nullptr;
    QPushButton *m_zoom = nullptr;
    QPushButton *m_pick = nullptr;
};
