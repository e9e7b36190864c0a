#include "DbMemo.h"

DbMemo::DbMemo(QWidget *parent) : QPlainTextEdit(parent), m_link(new FieldLink(this))
{
    setTabChangesFocus(true);
    connect(m_link, &FieldLink::refresh, this, &DbMemo::load);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading && !isReadOnly())
            m_link->write(toPlainText());
    });
}

void DbMemo::load()
{
    const QString t = m_link->text();
    if (t == toPlainText())
        return;
    m_loading = true;
    setPlainText(t);
    m_loading = false;
    setEnabled(m_link->isLinked());
}
