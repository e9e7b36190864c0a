#include "DbDateEdit.h"

#include "DateText.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {
// The day before any date a user enters; shown as blank.
const QDate EmptyDate(1752, 9, 14);
}

DbDateEdit::DbDateEdit(QWidget *parent) : QDateEdit(parent), m_link(new FieldLink(this))
{
    setCalendarPopup(true);
    setMinimumDate(EmptyDate);
    setMaximumDate(QDate(9999, 12, 31));
    setSpecialValueText(QStringLiteral(" "));
    QString format = DateText::shortDateFormat();
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    setDisplayFormat(format);
    setDate(EmptyDate);
    connect(m_link, &FieldLink::refresh, this, &DbDateEdit::load);
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &d) {
        if (m_loading || isReadOnly())
            return;
        m_link->write(d == EmptyDate ? QVariant() : QVariant(d));
    });
}

void DbDateEdit::clearDate()
{
    if (!isReadOnly())
        setDate(EmptyDate);
}

void DbDateEdit::keyPressEvent(QKeyEvent *event)
{
    const bool wipe = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    if (wipe && !isReadOnly() && (lineEdit()->selectedText() == lineEdit()->text() || isEmpty())) {
        clearDate();
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void DbDateEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *clear = menu.addAction(QStringLiteral("清除日期"));
    clear->setEnabled(!isReadOnly() && !isEmpty());
    QAction *today = menu.addAction(QStringLiteral("今天"));
    today->setEnabled(!isReadOnly());
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == clear)
        clearDate();
    else if (chosen == today)
        setDate(QDate::currentDate());
}

void DbDateEdit::load()
{
    m_loading = true;
    const QVariant v = m_link->value();
    QDate d;
    if (v.typeId() == QMetaType::QDate)
        d = v.toDate();
    else if (v.typeId() == QMetaType::QDateTime)
        d = v.toDateTime().date();
    setDate(d.isValid() ? d : EmptyDate);
    m_loading = false;
    setEnabled(m_link->isLinked());
}
