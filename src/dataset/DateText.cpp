#include "DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace DateText {

namespace {

// The short date format split into parts once, so formatting a date is a few appends.
struct DateFormat
{
    QString pattern;
    struct Part
    {
        char16_t letter;  // 'd', 'M', 'y', or 0 for literal text
        int width;
        QString literal;
    };
    QList<Part> parts;
};

DateFormat compile(const QString &pattern)
{
    DateFormat f;
    f.pattern = pattern;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype j = i;
            while (j < pattern.size() && pattern.at(j) == c)
                ++j;
            // A two-digit year would read back in the wrong century: years always take four digits.
            const int width = (c == u'y') ? 4 : int(j - i);
            f.parts.append({c.unicode(), width, {}});
            i = j;
        } else {
            if (f.parts.isEmpty() || f.parts.last().letter != 0)
                f.parts.append({0, 0, {}});
            f.parts.last().literal += c;
            ++i;
        }
    }
    // The pattern text follows the widened parts, so parsing reads back what formatting writes.
    f.pattern.clear();
    for (const DateFormat::Part &p : f.parts)
        f.pattern += p.letter ? QString(p.width, QChar(p.letter)) : p.literal;
    return f;
}

// Filters and folder names need a date without blanks, quotes or names: such a
// system format is replaced by an unambiguous numeric one.
bool usable(const DateFormat &f)
{
    bool d = false, m = false, y = false;
    for (const DateFormat::Part &p : f.parts) {
        static const QRegularExpression unsafe(QStringLiteral("[\\s'()=]"));
        if (p.letter == 0 && p.literal.contains(unsafe))
            return false;
        if ((p.letter == u'd' || p.letter == u'M') && p.width > 2)
            return false;
        d |= p.letter == u'd';
        m |= p.letter == u'M';
        y |= p.letter == u'y';
    }
    return d && m && y;
}

struct Formats
{
    DateFormat date;           // the system's short date, years widened to four digits
    QString systemPattern;     // as the system gives it: reads dates typed with a two-digit year
    QString longTime;
};

Formats &formats()
{
    static Formats cached;
    if (cached.date.pattern.isEmpty()) {
        cached.date = compile(QLocale().dateFormat(QLocale::ShortFormat));
        cached.systemPattern = QLocale().dateFormat(QLocale::ShortFormat);
        if (!usable(cached.date))
            cached.date = compile(QStringLiteral("yyyy/M/d"));
        QString t = QLocale().timeFormat(QLocale::LongFormat);
        static const QRegularExpression zone(QStringLiteral("\\s*\\bt\\b\\s*"));
        t.replace(zone, QStringLiteral(" "));
        t = t.trimmed();
        cached.longTime = t.contains(QStringLiteral("ss")) ? t : QStringLiteral("HH:mm:ss");
    }
    return cached;
}

const DateFormat &format()
{
    return formats().date;
}

void appendNumber(QString &out, int value, int width)
{
    const QString n = QString::number(value);
    for (qsizetype i = n.size(); i < width; ++i)
        out += u'0';
    out += n;
}

}  // namespace

QString shortDateFormat()
{
    return format().pattern;
}

QString longTimeFormat()
{
    return formats().longTime;
}

void reloadFormats()
{
    formats() = Formats();
}

QString shortDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    QString out;
    out.reserve(12);
    for (const DateFormat::Part &p : format().parts) {
        switch (p.letter) {
        case u'd':
            appendNumber(out, date.day(), p.width);
            break;
        case u'M':
            appendNumber(out, date.month(), p.width);
            break;
        case u'y':
            appendNumber(out, date.year(), 4);
            break;
        default:
            out += p.literal;
        }
    }
    return out;
}

QString dateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    return shortDate(value.date()) + u' ' + QLocale().toString(value.time(), longTimeFormat());
}

QString now()
{
    return dateTime(QDateTime::currentDateTime());
}

namespace {

// The numeric short date read directly: filters of one term per day hold thousands of dates.
QDate parseNumeric(const QString &t)
{
    int day = -1, month = -1, year = -1;
    qsizetype at = 0;
    for (const DateFormat::Part &p : format().parts) {
        if (p.letter == 0) {
            if (!QStringView(t).mid(at).startsWith(p.literal))
                return {};
            at += p.literal.size();
            continue;
        }
        const int most = p.letter == u'y' ? 4 : 2;
        int value = 0;
        int digits = 0;
        while (at < t.size() && digits < most && t.at(at) >= u'0' && t.at(at) <= u'9') {
            value = value * 10 + (t.at(at).unicode() - u'0');
            ++at;
            ++digits;
        }
        if (digits == 0 || (p.letter == u'y' && digits != 4) || (p.letter != u'y' && digits < p.width))
            return {};
        (p.letter == u'd' ? day : p.letter == u'M' ? month : year) = value;
    }
    if (at != t.size() || day < 0 || month < 0 || year < 0)
        return {};
    return QDate(year, month, day);  // invalid for a day that does not exist
}

}  // namespace

QDate parseShortDate(const QString &text)
{
    const QString t = text.trimmed();
    QDate d = parseNumeric(t);
    if (d.isValid())
        return d;
    d = QLocale::c().toDate(t, shortDateFormat());
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    if (d.isValid())
        return d;
    // A date typed the system's way with a two-digit year: "26" is 2026, "95" is 1995.
    const QString system = formats().systemPattern;
    if (!system.contains(QStringLiteral("yyyy")) && system.contains(QStringLiteral("yy"))) {
        d = QLocale::c().toDate(t, system);
        if (d.isValid() && d.year() < 1930)
            d = d.addYears(100);
    }
    return d;
}

}  // namespace DateText
