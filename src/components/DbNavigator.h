#pragma once

#include "DataSource.h"

#include <QPointer>
#include <QWidget>

class QToolButton;

// First, prior, next and last buttons over a data source, enabled by position.
class DbNavigator : public QWidget
{
    Q_OBJECT

public:
    explicit DbNavigator(QWidget *parent = nullptr);
    void bind(DataSource *source);
    QToolButton *firstButton() const { return m_first; }
    QToolButton *priorButton() const { return m_prior; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *lastButton() const { return m_last; }

private:
    QToolButton *makeButton(const QString &name, const QString &tip, int icon);
    void updateButtons();

    QPointer<DataSource> m_source;
    QToolButton *m_first, *m_prior, *m_next, *m_last;
};
