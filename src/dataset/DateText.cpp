#include "DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace DateText {

QString shortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString longTimeFormat()
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

QString shortDate(const QDate &date)
{
    return date.isValid() ? QLocale::system().toString(date, shortDateFormat()) : QString();
}

QString dateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    return shortDate(value.date()) + u' ' + QLocale::system().toString(value.time(), longTimeFormat());
}

QString now()
{
    return dateTime(QDateTime::currentDateTime());
}

QDate parseShortDate(const QString &text)
{
    const QString t = text.trimmed();
    QDate d = QLocale::system().toDate(t, shortDateFormat());
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    // Two-digit-year formats read "26" as 1926; keep dates in this century window.
    if (d.isValid() && d.year() < 1930 && !shortDateFormat().contains(QStringLiteral("yyyy")))
        d = d.addYears(100);
    return d;
}

}  // namespace DateText
