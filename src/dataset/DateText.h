#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The one place dates become text and back: the system's short date format for
// display, filters, titles and folder names, and "short date, blank, long time" for
// date-times. Filters read back exactly what shortDate() writes.
namespace DateText {

QString shortDateFormat();
QString longTimeFormat();  // the system's long time, without a time-zone name
// The formats are read from the locale once; call after changing the default locale.
void reloadFormats();

QString shortDate(const QDate &date);
QString dateTime(const QDateTime &dateTime);  // short date + " " + long time
QString now();                                // dateTime(current date-time)

// Accepts the short date format (and ISO yyyy-MM-dd); invalid on anything else.
QDate parseShortDate(const QString &text);

}  // namespace DateText
