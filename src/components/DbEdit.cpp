#include "DbEdit.h"

DbEdit::DbEdit(QWidget *parent) : QLineEdit(parent), m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::refresh, this, &DbEdit::load);
    // Every keystroke goes to the field: the first one puts the dataset into edit.
    connect(this, &QLineEdit::textEdited, this, [this](const QString &t) { m_link->write(t); });
}

void DbEdit::load()
{
    const int width = m_link->width();
    setMaxLength(width > 0 ? width : 32767);
    const QString t = m_link->text();
    if (t != text())
        setText(t);
    setEnabled(m_link->isLinked());
}
