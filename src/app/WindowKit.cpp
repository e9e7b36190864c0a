#include "WindowKit.h"

#include "ActionGate.h"
#include "Dataset.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "ReportService.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

namespace WindowKit {

QAction *gatedAction(QWidget *owner, const ActionSetup &setup, std::function<void()> run)
{
    auto *a = new QAction(setup.text, owner);
    a->setObjectName(setup.objectName);
    if (!setup.shortcut.isEmpty()) {
        a->setShortcut(QKeySequence(setup.shortcut));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    owner->addAction(a);
    if (setup.subRight.isEmpty() && !setup.enabledWhen) {
        QObject::connect(a, &QAction::triggered, owner, [owner, run = std::move(run)] { ErrorHandler::run(owner, run); });
    } else {
        const QString code = setup.rightCode;
        const QString subRight = setup.subRight;
        const std::function<bool()> when = setup.enabledWhen;
        ActionGate::instance()->gate(
            a, [code, subRight, when] { return (subRight.isEmpty() || HasSubRight(code, subRight)) && (!when || when()); },
            std::move(run));
    }
    return a;
}

ToolRow::ToolRow(QToolBar *bar, QWidget *owner, const QString &rightCode)
    : m_bar(bar), m_owner(owner), m_rightCode(rightCode)
{
}

QAction *ToolRow::add(const char *objectName, const QString &text, const char *subRight, const char *shortcut,
                      std::function<bool()> enabledWhen, std::function<void()> run)
{
    QAction *a = gatedAction(m_owner,
                             {QString::fromUtf8(objectName), text, m_rightCode, QString::fromUtf8(subRight),
                              QString::fromUtf8(shortcut), std::move(enabledWhen)},
                             std::move(run));
    m_bar->addAction(a);
    return a;
}

bool refusedBy(QWidget *parent, Dataset *record, const QList<DeleteCheck> &checks)
{
    for (const DeleteCheck &check : checks) {
        // The code as stored: a code typed into a pending edit is not what other records name.
        if (PubQueryFinds(check.sql, check.params, record->field(check.keyField).oldValue())) {
            Messages::warning(parent, check.message);
            return true;
        }
    }
    return false;
}

void deleteCurrent(QWidget *parent, Dataset *record, const QList<DeleteCheck> &checks, const QString &question)
{
    if (!record->isActive() || record->isEmpty())
        return;
    if (refusedBy(parent, record, checks))
        return;
    if (Messages::confirmDelete(parent, question))
        record->remove();
}

bool isEditing(const Dataset *record)
{
    return record->state() == Dataset::State::Edit || record->state() == Dataset::State::Insert;
}

void print(QWidget *parent, const QString &logText, const QString &layoutName, Dataset *data,
           const QMap<QString, Dataset *> &extras)
{
    WriteLog(logText);
    ReportService::preview(parent, layoutName, data, extras);
}

void followCurrentRow(QObject *context, Dataset *rows, const QStringList &keyFields, const QList<Dataset *> &sources,
                      const std::function<void()> &follow)
{
    QObject::connect(rows, &Dataset::currentChanged, context, follow);
    QObject::connect(rows, &Dataset::dataReset, context, follow);
    QObject::connect(rows, &Dataset::stateChanged, context, [follow](Dataset::State state) {
        if (state == Dataset::State::Browse)
            follow();
    });
    QObject::connect(rows, &Dataset::fieldChanged, context, [rows, keyFields, follow](int field) {
        if (!rows->isActive())
            return;
        for (const QString &key : keyFields)
            if (field == rows->fieldIndex(key)) {
                follow();
                return;
            }
    });
    for (Dataset *source : sources)
        QObject::connect(source, &Dataset::dataReset, context, follow);
    follow();
}

HostedPanel::HostedPanel(const QString &title) : m_panel(new QWidget)
{
    m_panel->setObjectName(QStringLiteral("PnMain"));
    m_panel->setWindowTitle(title);
    auto *layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QTabWidget(m_panel);
    layout->addWidget(m_pages);
}

HostedPanel::~HostedPanel()
{
    if (m_panel && !m_panel->parent())
        delete m_panel;
}

void HostedPanel::addPage(QWidget *page, const QString &caption)
{
    m_pages->addTab(page, caption);
}

}  // namespace WindowKit
