#pragma once

#include <QObject>
#include <memory>
#include <optional>

class QKeyEvent;

// Whether Num Lock is on, for the status bar's NUM panel. Asked of the window system where it
// can tell (X11: the keyboard's "Num Lock" indicator through XKB), else read from the keyboard
// LED the kernel exposes, else followed from the key events the program receives.
class NumLockState : public QObject
{
    Q_OBJECT

public:
    explicit NumLockState(QObject *parent = nullptr);
    ~NumLockState() override;

    // Asks now, in the order above.
    bool isOn();
    // The X server's own state; none where the program does not run on X11 with XKB.
    static std::optional<bool> fromWindowSystem();
    // The first Num Lock LED under /sys/class/leds; none where there is none.
    static std::optional<bool> fromLed();

Q_SIGNALS:
    // Num Lock may have changed: a Num Lock key event, or the X server told of a lock change.
    void mayHaveChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keyEvent(const QKeyEvent *event);

    class XkbWatch;
    std::unique_ptr<XkbWatch> m_xkbWatch;
    bool m_fromKeys = false;
};
