#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;

// Enables each gated action from its predicate (a right, a dataset state): again
// whenever the event loop has gone idle after a batch of events, and once more
// inside the action before its handler runs.
class ActionGate : public QObject
{
    Q_OBJECT

public:
    using Predicate = std::function<bool()>;

    static ActionGate *instance();

    // Gates the action; triggering it runs `handler` only while the predicate holds.
    void gate(QAction *action, Predicate predicate, std::function<void()> handler = {});
    void ungate(QAction *action);
    // Re-evaluates every predicate now.
    void evaluate();
    // Re-evaluates one action; true when it may run.
    bool check(QAction *action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ActionGate(QObject *parent = nullptr);
    void scheduleIdle();

    struct Entry
    {
        QPointer<QAction> action;
        Predicate predicate;
    };
    QHash<QAction *, Entry> m_entries;
    bool m_scheduled = false;
    bool m_evaluating = false;
};
