#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class Dataset;
class QAction;
class QObject;
class QTabWidget;
class QToolBar;
class QWidget;

// What the record windows repeat around their datasets: gated toolbar actions,
// the delete command with its checks, the print command.
namespace WindowKit {

// One toolbar action: its object name, caption, the right it needs and its shortcut.
struct ActionSetup
{
    QString objectName;
    QString text;
    QString rightCode;  // the window's right code, e.g. "301"
    QString subRight;   // "Insert", "Modify", "Delete", "Query", "Print"; empty: always enabled
    QString shortcut;   // active on the owner and its children; empty: none
    std::function<bool()> enabledWhen{};  // a further condition (a dataset state); empty: none
};

// An action of `owner` whose trigger runs `run` through the default error handling.
// With a sub-right it is enabled, and runs, only while the current user holds it, and
// with enabledWhen only while that holds too.
QAction *gatedAction(QWidget *owner, const ActionSetup &setup, std::function<void()> run);

// The gated actions of one tool row of a window: each belongs to `owner` (where its
// shortcut works) and shows on `bar`, all under the window's right code.
class ToolRow
{
public:
    ToolRow(QToolBar *bar, QWidget *owner, const QString &rightCode);

    QAction *add(const char *objectName, const QString &text, const char *subRight, const char *shortcut,
                 std::function<bool()> enabledWhen, std::function<void()> run);
    QAction *add(const char *objectName, const QString &text, const char *subRight, const char *shortcut,
                 std::function<void()> run)
    {
        return add(objectName, text, subRight, shortcut, {}, std::move(run));
    }

private:
    QToolBar *m_bar;
    QWidget *m_owner;
    QString m_rightCode;
};

// A reason not to delete a record: a query for rows that still name it, each
// parameter bound to the record's key field; a row coming back refuses with the message.
struct DeleteCheck
{
    QString sql;
    QStringList params;
    QString keyField;
    QString message;
};

// Runs the checks in order over the current row of `record` through the data module's
// shared query; the first that finds a row shows its message (warning) and gives true.
bool refusedBy(QWidget *parent, Dataset *record, const QList<DeleteCheck> &checks);

// The delete command after its log entry: nothing on a closed or empty dataset;
// otherwise the checks, then `question` (OK/Cancel), and on OK the current row goes.
void deleteCurrent(QWidget *parent, Dataset *record, const QList<DeleteCheck> &checks, const QString &question);

// True while the dataset holds a pending edit or a new row.
bool isEditing(const Dataset *record);

// The print command: the log entry first, then `layoutName` over `data` as it stands in a preview.
// `extras` are the further datasets the layout names ("tblShusong.ShusongName"), read at their current row.
void print(QWidget *parent, const QString &logText, const QString &layoutName, Dataset *data,
           const QMap<QString, Dataset *> &extras = {});

// Calls `follow` (in `context`) whenever what the tabs showing the current row of `rows`
// depend on may have changed: a row move, a re-read, a return to browse (a cancel may bring
// back other values), a change of one of `keyFields`, a re-read of one of `sources`.
void followCurrentRow(QObject *context, Dataset *rows, const QStringList &keyFields, const QList<Dataset *> &sources,
                      const std::function<void()> &follow);

// The panel a record window hosts in the main window's client area ("PnMain"): its
// pages (a list tab, a record tab) in one tab widget filling it. The main window may
// delete the panel first; otherwise it goes with its owner. Declare it as the owner's last
// member so the panel goes before the rest of the owner.
class HostedPanel
{
public:
    explicit HostedPanel(const QString &title);
    ~HostedPanel();
    HostedPanel(const HostedPanel &) = delete;
    HostedPanel &operator=(const HostedPanel &) = delete;

    QWidget *widget() const { return m_panel; }
    QTabWidget *pages() const { return m_pages; }
    void addPage(QWidget *page, const QString &caption);

private:
    QPointer<QWidget> m_panel;  // null once its host window has deleted it
    QTabWidget *m_pages = nullptr;
};

}  // namespace WindowKit
