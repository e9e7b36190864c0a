#include "SqlValue.h"

namespace SqlValue {

QString dateToStorage(const QDate &date)
{
    return date.isValid() ? date.toString(u"yyyy-MM-dd") + QStringLiteral(" 00:00:00") : QString();
}

QString dateTimeToStorage(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QString::fromLatin1(StorageFormat)) : QString();
}

QDateTime dateTimeFromStorage(const QString &text)
{
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, u"yyyy-MM-dd");
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    return QDateTime::fromString(text, QString::fromLatin1(StorageFormat));
}

QVariant toStorage(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QDate:
        return dateToStorage(value.toDate());
    case QMetaType::QDateTime:
        return dateTimeToStorage(value.toDateTime());
    default:
        return value;
    }
}

}  // namespace SqlValue
