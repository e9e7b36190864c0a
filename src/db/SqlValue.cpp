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

namespace {

// Reads `count` digits at `at`; -1 when one is not a digit.
int digits(const QString &text, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

bool splitStorage(const QString &text, QDate *date, QTime *time)
{
    // Read by hand: grids format thousands of these.
    if (text.size() != 10 && text.size() != 19)
        return false;
    if (text.at(4) != u'-' || text.at(7) != u'-')
        return false;
    *date = QDate(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    if (!date->isValid())
        return false;
    if (text.size() == 10) {
        *time = QTime(0, 0);
        return true;
    }
    if (text.at(10) != u' ' || text.at(13) != u':' || text.at(16) != u':')
        return false;
    *time = QTime(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    return time->isValid();
}

QDateTime dateTimeFromStorage(const QString &text)
{
    QDate d;
    QTime t;
    return splitStorage(text, &d, &t) ? QDateTime(d, t) : QDateTime();
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
