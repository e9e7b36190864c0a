#include "Calculator.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

Calculator::Calculator(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setFrameShape(QFrame::StyledPanel);
    setObjectName(QStringLiteral("calculator"));
    auto *grid = new QGridLayout(this);
    grid->setSpacing(3);
    m_display = new QLineEdit(QStringLiteral("0"), this);
    m_display->setReadOnly(true);
    m_display->setAlignment(Qt::AlignRight);
    m_display->setAccessibleName(QStringLiteral("计算结果"));
    grid->addWidget(m_display, 0, 0, 1, 4);
    const char *keys[5][4] = {{"C", "←", "÷", "×"}, {"7", "8", "9", "−"}, {"4", "5", "6", "+"},
                              {"1", "2", "3", "="}, {"0", ".", "±", "确定"}};
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            const QString key = QString::fromUtf8(keys[r][c]);
            auto *b = new QPushButton(key, this);
            b->setObjectName(QStringLiteral("key_") + key);
            b->setFocusPolicy(Qt::NoFocus);
            b->setMinimumWidth(36);
            connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
            grid->addWidget(b, r + 1, c);
        }
    }
}

void Calculator::setValue(double value)
{
    m_display->setText(QString::number(value, 'g', 15));
    m_accumulator = 0;
    m_pending.clear();
    m_fresh = true;
}

double Calculator::value() const
{
    return m_display->text().toDouble();
}

void Calculator::apply()
{
    const double right = value();
    double result = right;
    if (m_pending == u"+")
        result = m_accumulator + right;
    else if (m_pending == QStringLiteral("−"))
        result = m_accumulator - right;
    else if (m_pending == QStringLiteral("×"))
        result = m_accumulator * right;
    else if (m_pending == QStringLiteral("÷"))
        result = right == 0 ? 0 : m_accumulator / right;  // no infinity in a money field
    m_display->setText(QString::number(result, 'g', 15));
    m_pending.clear();
}

void Calculator::press(const QString &key)
{
    if (key.size() == 1 && key.at(0).isDigit()) {
        m_display->setText(m_fresh || m_display->text() == u"0" ? key : m_display->text() + key);
        m_fresh = false;
    } else if (key == u".") {
        if (m_fresh) {
            m_display->setText(QStringLiteral("0."));
            m_fresh = false;
        } else if (!m_display->text().contains(u'.')) {
            m_display->setText(m_display->text() + u'.');
        }
    } else if (key == u"C") {
        setValue(0);
    } else if (key == QStringLiteral("←")) {
        QString t = m_display->text();
        t.chop(1);
        m_display->setText(t.isEmpty() || t == u"-" ? QStringLiteral("0") : t);
    } else if (key == QStringLiteral("±")) {
        setValue(-value());
    } else if (key == u"=") {
        apply();
        m_fresh = true;
    } else if (key == QStringLiteral("确定")) {
        if (!m_pending.isEmpty())
            apply();
        Q_EMIT accepted(value());
        hide();
    } else {  // an operator
        if (!m_pending.isEmpty() && !m_fresh)
            apply();
        m_accumulator = value();
        m_pending = key;
        m_fresh = true;
    }
}

void Calculator::keyPressEvent(QKeyEvent *event)
{
    const QString t = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        press(QStringLiteral("确定"));
    else if (event->key() == Qt::Key_Escape)
        hide();
    else if (event->key() == Qt::Key_Backspace)
        press(QStringLiteral("←"));
    else if (t == u"*")
        press(QStringLiteral("×"));
    else if (t == u"/")
        press(QStringLiteral("÷"));
    else if (t == u"-")
        press(QStringLiteral("−"));
    else if (t.size() == 1 && QStringLiteral("0123456789.+=").contains(t))
        press(t);
    else
        QFrame::keyPressEvent(event);
}
