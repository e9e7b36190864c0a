#include "FocusChain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

FocusChain::FocusChain(const QList<QWidget *> &order, QObject *parent, std::function<void()> onLast)
    : QObject(parent), m_onLast(std::move(onLast))
{
    for (QWidget *w : order) {
        m_order.append(w);
        w->installEventFilter(this);
        // Composite controls take their keys in an inner editor.
        for (QWidget *inner : w->findChildren<QLineEdit *>())
            inner->installEventFilter(this);
    }
}

FocusChain *FocusChain::install(const QList<QWidget *> &order, QObject *parent, std::function<void()> onLast)
{
    return new FocusChain(order, parent, std::move(onLast));
}

bool FocusChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->modifiers() & ~Qt::KeypadModifier)
        return QObject::eventFilter(watched, event);
    // An open drop-down takes Enter itself to choose its entry.
    if (auto *combo = qobject_cast<QComboBox *>(watched); combo && combo->view() && combo->view()->isVisible())
        return false;
    int index = -1;
    for (int i = 0; i < m_order.size(); ++i) {
        QWidget *w = m_order.at(i);
        if (w && (w == watched || w->isAncestorOf(qobject_cast<QWidget *>(watched)))) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return false;
    for (int j = index + 1; j < m_order.size(); ++j) {
        QWidget *next = m_order.at(j);
        if (next && next->isEnabled() && next->isVisibleTo(next->window())) {
            next->setFocus(Qt::TabFocusReason);
            if (auto *edit = qobject_cast<QLineEdit *>(next))
                edit->selectAll();
            return true;
        }
    }
    if (m_onLast)
        m_onLast();
    return true;
}
