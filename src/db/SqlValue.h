#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// How values are kept in the database file: dates and date-times as text
// "yyyy-MM-dd HH:mm:ss" (a date is a date-time at midnight), Booleans as 0/1.
namespace SqlValue {

inline constexpr const char *StorageFormat = "yyyy-MM-dd HH:mm:ss";

QString dateToStorage(const QDate &date);
QString dateTimeToStorage(const QDateTime &dateTime);

// Reads a stored date-time text; also accepts a bare "yyyy-MM-dd". Invalid on anything else.
QDateTime dateTimeFromStorage(const QString &text);
// The same without building a QDateTime (which looks up the time zone): false when invalid.
bool splitStorage(const QString &text, QDate *date, QTime *time);

// A bindable value as the engine will store it (dates as text, bools as 0/1).
QVariant toStorage(const QVariant &value);

}  // namespace SqlValue
