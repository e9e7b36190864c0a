#include "AnalysisText.h"

#include <algorithm>
#include <cmath>

namespace AnalysisText {

namespace {

// "12.500" -> "12.5", "100.000" -> "100"
QString withoutTrailingZeros(QString text)
{
    if (!text.contains(u'.'))
        return text;
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

std::optional<double> asNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

}  // namespace

QString number(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Long:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return QString::number(d);
        if (d == 0)
            return QStringLiteral("0");
        const int exponent = int(std::floor(std::log10(std::fabs(d))));
        const int decimals = std::clamp(14 - exponent, 0, 40);
        QString text = withoutTrailingZeros(QString::number(d, 'f', decimals));
        return text == u"-0" ? QStringLiteral("0") : text;
    }
    default:
        return value.toString();
    }
}

std::optional<QString> share(const QVariant &part, const QVariant &total, int characters)
{
    const auto p = asNumber(part);
    const auto t = asNumber(total);
    if (!p || !t || *t == 0)
        return std::nullopt;
    const double percent = *p * 100.0 / *t;
    QString text = withoutTrailingZeros(QString::number(percent, 'f', 15)).left(characters);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

std::optional<int> year(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : trimmed) {
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)  // full-width digits
            digit = c.unicode() - 0xFF10;
        if (digit < 0)
            return std::nullopt;
        value = value * 10 + digit;
        if (value > 9999)
            return std::nullopt;
    }
    if (value < 1 || value > 9999)
        return std::nullopt;
    return value;
}

}  // namespace AnalysisText
