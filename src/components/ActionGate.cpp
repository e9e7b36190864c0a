#include "ActionGate.h"

#include "ErrorHandler.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

ActionGate::ActionGate(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ActionGate *ActionGate::instance()
{
    static QPointer<ActionGate> gate;
    if (!gate)
        gate = new ActionGate(qApp);
    return gate;
}

void ActionGate::gate(QAction *action, Predicate predicate, std::function<void()> handler)
{
    m_entries.insert(action, Entry{action, std::move(predicate)});
    connect(action, &QObject::destroyed, this, [this, action] { m_entries.remove(action); });
    if (handler) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            auto *parent = qobject_cast<QWidget *>(action->parent());
            if (check(action))
                ErrorHandler::run(parent, handler);
        });
    }
    check(action);
}

void ActionGate::ungate(QAction *action)
{
    m_entries.remove(action);
}

bool ActionGate::check(QAction *action)
{
    auto it = m_entries.find(action);
    if (it == m_entries.end() || !it->action)
        return action && action->isEnabled();
    bool allowed = false;
    try {
        allowed = it->predicate();
    } catch (...) {
        allowed = false;  // a predicate over a closed dataset simply disables
    }
    if (it->action->isEnabled() != allowed)
        it->action->setEnabled(allowed);
    return allowed;
}

void ActionGate::evaluate()
{
    if (m_evaluating)
        return;
    m_evaluating = true;
    const QList<QAction *> actions = m_entries.keys();
    for (QAction *a : actions)
        check(a);
    m_evaluating = false;
}

void ActionGate::scheduleIdle()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    // A zero timer fires once the events queued now are processed: the loop is idle.
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        evaluate();
    });
}

bool ActionGate::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::KeyPress:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Show:
        if (!m_entries.isEmpty())
            scheduleIdle();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
