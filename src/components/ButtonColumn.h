#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QScrollBar;
class QToolButton;

// A column of picture buttons with their captions under the pictures, as the navigation panel
// shows them. Only whole buttons are shown: when not all fit, the column shows as many as its
// height holds, spread evenly, and scrolls by whole buttons with the wheel and its scroll bar.
class ButtonColumn : public QWidget
{
    Q_OBJECT

public:
    explicit ButtonColumn(QWidget *parent = nullptr);

    QToolButton *addButton(QAction *action);
    QList<QToolButton *> buttons() const { return m_buttons; }
    // The first button shown and how many are shown at once.
    int firstShown() const { return m_first; }
    int shownCount() const { return m_shown; }
    QScrollBar *scrollBar() const { return m_bar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int buttonHeight() const;
    void arrange();

    QList<QToolButton *> m_buttons;
    QScrollBar *m_bar;
    int m_first = 0;
    int m_shown = 0;
    int m_wheel = 0;  // wheel turn not yet worth a whole button
};
