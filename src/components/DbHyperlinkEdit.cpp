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
    if (t.contains(u"://") || t.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive))
        return t;
    if (t.contains(u'@'))
        return Shell::mailto(t);
    return QStringLiteral("http://") + t;
}

bool DbHyperlinkEdit::openTarget() const
{
    const QString t = target();
    return !t.isEmpty() && Shell::open(t);
}
