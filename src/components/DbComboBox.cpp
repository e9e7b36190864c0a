#include "DbComboBox.h"

#include <QLineEdit>

DbComboBox::DbComboBox(QWidget *parent) : QComboBox(parent), m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::refresh, this, &DbComboBox::load);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (!m_loading && !m_readOnly)
            m_link->write(currentText());
    });
    connect(this, &QComboBox::editTextChanged, this, [this](const QString &t) {
        if (!m_loading && !m_readOnly && isEditable() && lineEdit() && lineEdit()->hasFocus())
            m_link->write(t);
    });
}

void DbComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
    if (lineEdit())
        lineEdit()->setReadOnly(readOnly);
}

void DbComboBox::load()
{
    m_loading = true;
    const QString t = m_link->text();
    const int i = findText(t);
    if (isEditable())
        setEditText(t);
    else
        setCurrentIndex(i);  // -1 shows nothing for a value not in the list
    if (isEditable() && i >= 0)
        setCurrentIndex(i);
    m_loading = false;
    setEnabled(m_link->isLinked());
}
