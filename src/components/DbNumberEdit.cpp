#include "DbNumberEdit.h"

#include "Calculator.h"

#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

DbNumberEdit::DbNumberEdit(QWidget *parent) : QWidget(parent), m_link(new FieldLink(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    m_edit = new QLineEdit(this);
    m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *validator = new QDoubleValidator(this);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    m_edit->setValidator(validator);
    m_button = new QToolButton(this);
    m_button->setText(QStringLiteral("…"));
    m_button->setToolTip(QStringLiteral("计算器"));
    m_button->setAccessibleName(QStringLiteral("计算器"));
    m_button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_edit, 1);
    row->addWidget(m_button);
    setFocusProxy(m_edit);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_link, &FieldLink::refresh, this, &DbNumberEdit::load);
    connect(m_link, &FieldLink::flush, this, &DbNumberEdit::store);
    connect(m_edit, &QLineEdit::textEdited, this, [this] {
        m_dirty = true;
        // The first keystroke puts the dataset into edit, as in every other bound control.
        if (Dataset *d = m_link->dataset(); d && d->isActive() && d->state() == Dataset::State::Browse)
            m_link->write(m_link->value());
    });
    connect(m_edit, &QLineEdit::editingFinished, this, &DbNumberEdit::store);
    connect(m_button, &QToolButton::clicked, this, &DbNumberEdit::showCalculator);
}

QString DbNumberEdit::text() const
{
    return m_edit->text();
}

void DbNumberEdit::setReadOnly(bool readOnly)
{
    m_edit->setReadOnly(readOnly);
    m_button->setEnabled(!readOnly);
}

void DbNumberEdit::setDecimals(int decimals)
{
    m_decimals = decimals;
    load();
}

void DbNumberEdit::setCalculatorVisible(bool visible)
{
    m_button->setVisible(visible);
}

void DbNumberEdit::showCalculator()
{
    if (m_edit->isReadOnly())
        return;
    if (!m_calculator) {
        m_calculator = new Calculator(this);
        connect(m_calculator, &Calculator::accepted, this, [this](double v) {
            m_edit->setText(QString::number(v, 'g', 15));
            m_dirty = true;
            store();
        });
    }
    m_calculator->setValue(m_edit->text().toDouble());
    m_calculator->move(mapToGlobal(QPoint(0, height())));
    m_calculator->show();
}

void DbNumberEdit::store()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    const QString t = m_edit->text().trimmed();
    // A refused value stays on screen and unwritten: the next post refuses it again.
    if (!m_link->write(t.isEmpty() ? QVariant() : QVariant(t)))
        m_dirty = true;
}

void DbNumberEdit::load()
{
    m_dirty = false;
    const QVariant v = m_link->value();
    QString t;
    if (v.isValid() && !v.isNull()) {
        t = m_decimals >= 0 ? QString::number(v.toDouble(), 'f', m_decimals) : m_link->text();
        // A value that rounds to zero shows without a sign, never "-0.00".
        if (m_decimals >= 0 && t.startsWith(QLatin1Char('-')) && t.toDouble() == 0.0)
            t = t.mid(1);
    }
    m_edit->setText(t);
    setEnabled(m_link->isLinked());
}
