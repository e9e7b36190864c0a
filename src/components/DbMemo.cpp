#include "DbMemo.h"

#include "Messages.h"

#include <QTextCursor>

namespace {

qsizetype codePoints(const QString &s)
{
    qsizetype n = 0;
    for (const QChar c : s)
        if (!c.isLowSurrogate())
            ++n;
    return n;
}

// The first `width` characters, never splitting a surrogate pair.
QString firstCodePoints(const QString &s, int width)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i).isLowSurrogate())
            continue;
        if (n++ == width)
            return s.left(i);
    }
    return s;
}

}  // namespace

DbMemo::DbMemo(QWidget *parent) : QPlainTextEdit(parent), m_link(new FieldLink(this))
{
    setTabChangesFocus(true);
    connect(m_link, &FieldLink::refresh, this, &DbMemo::load);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_loading || isReadOnly())
            return;
        QString text = toPlainText();
        const int width = m_link->width();
        if (width > 0 && codePoints(text) > width) {
            // Like a one-line edit, the memo holds no more than the field: a longer paste is cut.
            const qsizetype typed = codePoints(text);
            text = firstCodePoints(text, width);
            m_loading = true;
            setPlainText(text);
            moveCursor(QTextCursor::End);
            m_loading = false;
            // Told once: further keystrokes at the limit are simply not taken.
            if (!m_toldTooLong)
                Messages::warning(this, Dataset::tooLongMessage(m_link->dataset()->field(m_link->fieldName()).name(), width, typed));
            m_toldTooLong = true;
        } else if (width > 0 && codePoints(text) < width) {
            m_toldTooLong = false;
        }
        m_link->write(text);
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
