#include "DbHyperlinkEdit.h"

#include "Shell.h"

#include <QAction>
#include <QRegularExpression>
#include <QStyle>

DbHyperlinkEdit::DbHyperlinkEdit(QWidget *parent) : DbEdit(parent)
{
    QAction *open = addAction(style()->standardIcon(QStyle::SP_ArrowRight), QLineEdit::TrailingPosition);
    open->setToolTip(QStringLiteral("打开链接"));
    open->setObjectName(QStringLiteral("openLink"));
    connect(open, &QAction::triggered, this, &DbHyperlinkEdit::openTarget);
}

QString DbHyperlinkEdit::target() const
{
    const QString t = text().trimmed();
    if (t.isEmpty())
        return {};
    if (t.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive))
        return Shell::mailto(t.mid(7));
    // Web addresses only: a path or any other scheme (file:, javascript:, a program's own) opens nothing.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"));
    if (t.contains(scheme)) {
        const bool web = t.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive)
            || t.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
        return web ? t : QString();
    }
    if (t.startsWith(u'/') || t.startsWith(u'\\') || t.startsWith(u'.'))
        return {};
    if (t.contains(u'@'))
        return Shell::mailto(t);
    return QStringLiteral("http://") + t;
}

bool DbHyperlinkEdit::openTarget() const
{
    const QString t = target();
    return !t.isEmpty() && Shell::open(t);
}
