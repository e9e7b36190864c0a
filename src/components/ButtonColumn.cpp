#include "ButtonColumn.h"

#include <QAction>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

namespace {

constexpr int Margin = 4;       // above the first and below the last button
constexpr int MinSpacing = 4;   // between two buttons
constexpr int IconSize = 28;

}  // namespace

ButtonColumn::ButtonColumn(QWidget *parent) : QWidget(parent), m_bar(new QScrollBar(Qt::Vertical, this))
{
    m_bar->setSingleStep(1);
    m_bar->hide();
    connect(m_bar, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != m_first) {
            m_first = value;
            arrange();
        }
    });
}

QToolButton *ButtonColumn::addButton(QAction *action)
{
    auto *button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setIconSize(QSize(IconSize, IconSize));
    button->setAccessibleName(action->text());
    button->installEventFilter(this);  // the wheel over a button scrolls the column too
    m_buttons << button;
    arrange();
    updateGeometry();
    return button;
}

int ButtonColumn::buttonHeight() const
{
    int height = 0;
    for (const QToolButton *b : m_buttons)
        height = qMax(height, b->sizeHint().height());
    return height;
}

QSize ButtonColumn::sizeHint() const
{
    const int count = int(m_buttons.size());
    return {100, 2 * Margin + count * buttonHeight() + qMax(0, count - 1) * MinSpacing};
}

QSize ButtonColumn::minimumSizeHint() const
{
    // One button: the column scrolls through the rest itself.
    return {60, 2 * Margin + buttonHeight()};
}

void ButtonColumn::arrange()
{
    const int count = int(m_buttons.size());
    const int height = buttonHeight();
    const int room = qMax(0, this->height() - 2 * Margin);
    const int fit = qMax(1, (room + MinSpacing) / qMax(1, height + MinSpacing));
    m_shown = qMin(count, fit);
    const bool scrolling = count > m_shown;
    m_first = scrolling ? qBound(0, m_first, count - m_shown) : 0;

    int width = this->width();
    if (scrolling) {
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_bar);
        m_bar->setGeometry(this->width() - barWidth, 0, barWidth, this->height());
        width -= barWidth;
        const QSignalBlocker quiet(m_bar);
        m_bar->setRange(0, count - m_shown);
        m_bar->setPageStep(m_shown);
        m_bar->setValue(m_first);
    }
    m_bar->setVisible(scrolling);

    // All fit: stacked from the top. Scrolling: the buttons shown share the height evenly.
    const int pitch = scrolling ? (room + MinSpacing) / m_shown : height + MinSpacing;
    const int top = Margin + (scrolling ? (pitch - MinSpacing - height) / 2 : 0);
    for (int i = 0; i < count; ++i) {
        QToolButton *b = m_buttons[i];
        const int slot = i - m_first;
        if (slot < 0 || slot >= m_shown) {
            b->hide();
            continue;
        }
        b->setGeometry(2, top + slot * pitch, width - 4, height);
        b->show();
    }
}

void ButtonColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void ButtonColumn::wheelEvent(QWheelEvent *event)
{
    // One notch (120) moves by one button; finer wheels add up to it.
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / 120;
    m_wheel -= steps * 120;
    if (steps)
        m_bar->setValue(m_bar->value() - steps);
    event->accept();
}

bool ButtonColumn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && m_buttons.contains(qobject_cast<QToolButton *>(watched))) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ButtonColumn::event(QEvent *event)
{
    // A new font or style changes the buttons' height.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LayoutRequest)
        arrange();
    return QWidget::event(event);
}
