#include "DbNavigator.h"

#include "ErrorHandler.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

DbNavigator::DbNavigator(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_first = makeButton(QStringLiteral("first"), QStringLiteral("第一条"), QStyle::SP_MediaSkipBackward);
    m_prior = makeButton(QStringLiteral("prior"), QStringLiteral("上一条"), QStyle::SP_MediaSeekBackward);
    m_next = makeButton(QStringLiteral("next"), QStringLiteral("下一条"), QStyle::SP_MediaSeekForward);
    m_last = makeButton(QStringLiteral("last"), QStringLiteral("最后一条"), QStyle::SP_MediaSkipForward);
    for (QToolButton *b : {m_first, m_prior, m_next, m_last})
        row->addWidget(b);
    row->addStretch();
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    const auto move = [this](void (Dataset::*step)()) {
        return [this, step] {
            Dataset *d = m_source ? m_source->dataset() : nullptr;
            if (d)
                ErrorHandler::run(this, [this, d, step] {
                    if (!m_beforeMove || m_beforeMove())
                        (d->*step)();
                });
            updateButtons();
        };
    };
    connect(m_first, &QToolButton::clicked, this, move(&Dataset::first));
    connect(m_prior, &QToolButton::clicked, this, move(&Dataset::prior));
    connect(m_next, &QToolButton::clicked, this, move(&Dataset::next));
    connect(m_last, &QToolButton::clicked, this, move(&Dataset::last));
    updateButtons();
}

QToolButton *DbNavigator::makeButton(const QString &name, const QString &tip, int icon)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setAutoRaise(true);
    return b;
}

void DbNavigator::bind(DataSource *source)
{
    if (m_source && m_source->dataset())
        disconnect(m_source->dataset(), nullptr, this, nullptr);
    m_source = source;
    if (Dataset *d = source ? source->dataset() : nullptr) {
        connect(d, &Dataset::currentChanged, this, &DbNavigator::updateButtons);
        connect(d, &Dataset::dataReset, this, &DbNavigator::updateButtons);
        connect(d, &Dataset::stateChanged, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::updateButtons()
{
    Dataset *d = m_source ? m_source->dataset() : nullptr;
    bool atFirst = true, atLast = true;
    if (d && d->isActive()) {
        try {
            const int row = d->currentRow();
            const int count = d->recordCount();
            const bool editing = d->state() != Dataset::State::Browse;
            atFirst = count == 0 || (row <= 0 && !editing);
            atLast = count == 0 || (row >= count - 1 && !editing);
        } catch (const DatasetError &) {
        }
    }
    m_first->setEnabled(!atFirst);
    m_prior->setEnabled(!atFirst);
    m_next->setEnabled(!atLast);
    m_last->setEnabled(!atLast);
}
