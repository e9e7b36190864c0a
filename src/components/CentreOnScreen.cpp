#include "CentreOnScreen.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int LookEveryMs = 25;
constexpr int Looks = 120;       // three seconds at most for the window manager to frame the window
constexpr int SteadyLooks = 8;  // and a fifth of a second where it stays

// The window manager's frame around the window, as the window system tells it now; none
// before the window is framed. (QWidget::frameGeometry can lag behind a frame that came
// without a move.)
QMargins frameMargins(const QWidget *w)
{
    const QWindow *handle = w->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QPoint frameTopLeft(const QWidget *w)
{
    const QMargins m = frameMargins(w);
    return w->geometry().topLeft() - QPoint(m.left(), m.top());
}

}  // namespace

CentreOnScreen::CentreOnScreen(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    m_settle.setInterval(LookEveryMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        // Done once framed and centred for a while: the window manager may place a window
        // itself after granting a move. Without a window manager there is never a frame.
        const bool moved = centre();
        const bool settled = !frameMargins(m_window).isNull() && !moved;
        m_steady = settled ? m_steady + 1 : 0;
        if (!m_window || ++m_looks >= Looks || m_steady >= SteadyLooks)
            m_settle.stop();
    });
}

CentreOnScreen *CentreOnScreen::install(QWidget *window)
{
    return new CentreOnScreen(window);
}

QPoint CentreOnScreen::framePosition(const QWidget *window)
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return frameTopLeft(window);
    const QRect area = screen->availableGeometry();
    const QSize frame = window->size().grownBy(frameMargins(window));
    return {area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2};
}

bool CentreOnScreen::centre()
{
    if (!m_window || !m_window->isWindow())
        return false;
    const QPoint to = framePosition(m_window);
    if (frameTopLeft(m_window) == to)
        return false;
    m_window->move(to);  // a window's position is its frame's
    return true;
}

bool CentreOnScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show) {
        centre();
        m_looks = 0;
        m_steady = 0;
        m_settle.start();
    }
    return QObject::eventFilter(watched, event);
}
