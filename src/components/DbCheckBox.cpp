#include "DbCheckBox.h"

DbCheckBox::DbCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent), m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::refresh, this, &DbCheckBox::load);
    connect(this, &QCheckBox::clicked, this, [this](bool on) {
        if (m_readOnly) {
            load();
            return;
        }
        m_link->write(on);
    });
}

void DbCheckBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

void DbCheckBox::load()
{
    setChecked(m_link->value().toBool());
    setEnabled(m_link->isLinked());
}
