#include "DbMaskEdit.h"

DbMaskEdit::DbMaskEdit(const QString &mask, QWidget *parent) : DbEdit(parent)
{
    QString qtMask;
    for (const QChar c : mask) {
        if (c == u'#') {
            qtMask += u'0';  // a digit, not required
        } else {
            qtMask += u'\\';
            qtMask += c;
            m_literals += c;
        }
    }
    setInputMask(qtMask + QStringLiteral("; "));
    disconnect(this, &QLineEdit::textEdited, nullptr, nullptr);
    connect(this, &QLineEdit::textEdited, this, [this] {
        const QString t = maskedText();
        QString bare = t;
        for (const QChar c : std::as_const(m_literals))
            bare.remove(c);
        m_link->write(bare.trimmed().isEmpty() ? QVariant() : QVariant(t));
    });
}

QString DbMaskEdit::maskedText() const
{
    return displayText();
}

void DbMaskEdit::load()
{
    const QString t = m_link->text();
    if (t != displayText())
        setText(t);
    setEnabled(m_link->isLinked());
}
