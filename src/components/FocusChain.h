#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Enter (and the keypad's Enter) moves the focus along a form's fixed order of fields.
// On the last field Enter runs `onLast` when given, else stays.
class FocusChain : public QObject
{
    Q_OBJECT

public:
    FocusChain(const QList<QWidget *> &order, QObject *parent, std::function<void()> onLast = {});
    static FocusChain *install(const QList<QWidget *> &order, QObject *parent, std::function<void()> onLast = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QWidget>> m_order;
    std::function<void()> m_onLast;
};
