#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace {

Shell::Handler *g_handler = nullptr;

QString encode(const QString &text)
{
    // Everything but unreserved characters is escaped, CR LF for line breaks as mail programs expect.
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    return QString::fromLatin1(QUrl::toPercentEncoding(normalised));
}

}  // namespace

void Shell::setHandler(Handler *handler)
{
    g_handler = handler;
}

bool Shell::open(const QString &target)
{
    if (g_handler)
        return g_handler->open(target);
    const QFileInfo file(target);
    const QUrl url = file.isAbsolute() && file.exists() ? QUrl::fromLocalFile(target) : QUrl(target, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

QString Shell::mailto(const QString &address, const QString &subject, const QString &body)
{
    QString url = QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(address.trimmed(), "@"));
    QStringList query;
    if (!subject.isEmpty())
        query << QStringLiteral("subject=") + encode(subject);
    if (!body.isEmpty())
        query << QStringLiteral("body=") + encode(body);
    if (!query.isEmpty())
        url += u'?' + query.join(u'&');
    return url;
}

QString Shell::webAddress(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"));
    if (t.contains(scheme)) {
        const bool web = t.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive)
            || t.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
        return web ? t : QString();
    }
    if (t.startsWith(u'/') || t.startsWith(u'\\') || t.startsWith(u'.') || t.startsWith(u'~'))
        return {};
    return QStringLiteral("http://") + t;
}

bool Shell::start(const QString &program, const QStringList &arguments)
{
    if (g_handler)
        return g_handler->start(program, arguments);
    return QProcess::startDetached(program, arguments);
}

bool Shell::startFirst(const QStringList &candidates, const QStringList &arguments)
{
    for (const QString &c : candidates) {
        const QString path = QStandardPaths::findExecutable(c);
        if (!path.isEmpty())
            return start(path, arguments);
    }
    return false;
}
