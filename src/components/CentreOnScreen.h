#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Keeps a window's frame, title bar included, centred on the screen that holds the mouse
// pointer, from its showing until the window manager has framed it: only then is the frame's
// size known. Where the user moves it afterwards is left alone. Owned by the window.
class CentreOnScreen : public QObject
{
    Q_OBJECT

public:
    static CentreOnScreen *install(QWidget *window);

    // Where the frame's top-left corner goes for the window to be centred now.
    static QPoint framePosition(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CentreOnScreen(QWidget *window);
    // Moves the window where it belongs; false when it is there.
    bool centre();

    QPointer<QWidget> m_window;
    QTimer m_settle;  // looks again while the window manager frames the window
    int m_looks = 0;
    int m_steady = 0;
};
