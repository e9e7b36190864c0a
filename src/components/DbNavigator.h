#pragma once

#include "DataSource.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QToolButton;

// First, prior, next and last buttons over a data source, enabled by position.
class DbNavigator : public QWidget
{
    Q_OBJECT

public:
    explicit DbNavigator(QWidget *parent = nullptr);
    void bind(DataSource *source);
    // Asked before each move; false keeps the row (a form checks a pending row first).
    void setBeforeMove(std::function<bool()> canMove) { m_beforeMove = std::move(canMove); }
    QToolButton *firstButton() const { return m_first; }
    QToolButton *priorButton() const { return m_prior; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *lastButton() const { return m_last; }

private:
    QToolButton *makeButton(const QString &name, const QString &tip, int icon);
    void updateButtons();

    QPointer<DataSource> m_source;
    std::function<bool()> m_beforeMove;
    QToolButton *m_first, *m_prior, *m_next, *m_last;
};
