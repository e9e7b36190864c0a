#include "DbHyperlinkEdit.h"

#include "Shell.h"

#include <QAction>
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
    const QString web = Shell::webAddress(t);
    // A bare address with "@" (no scheme, not a path) is an e-mail address.
    if (t.contains(u'@') && web == QStringLiteral("http://") + t)
        return Shell::mailto(t);
    return web;
}

bool DbHyperlinkEdit::openTarget() const
{
    const QString t = target();
    return !t.isEmpty() && Shell::open(t);
}
