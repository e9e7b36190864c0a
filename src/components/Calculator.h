#pragma once

#include <QFrame>

class QLineEdit;

// A small pop-up calculator: digits, + − × ÷, =, C and ←. "确定" hands the result back.
class Calculator : public QFrame
{
    Q_OBJECT

public:
    explicit Calculator(QWidget *parent = nullptr);
    void setValue(double value);
    double value() const;
    // Feeds one key as a user would press it ("7", ".", "+", "=", "C", "←").
    void press(const QString &key);

Q_SIGNALS:
    void accepted(double value);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void apply();
    QLineEdit *m_display;
    double m_accumulator = 0;
    QString m_pending;  // the operator waiting for its right operand
    bool m_fresh = true;
};
