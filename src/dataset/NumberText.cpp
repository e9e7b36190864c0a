#include "NumberText.h"

#include <QLocale>
#include <algorithm>

namespace NumberText {

QString fixed(double value, int decimals)
{
    const QLocale locale;
    QString text = locale.toString(value, 'f', decimals);
    const QString minus = locale.negativeSign();
    if (value < 0 && text.startsWith(minus)) {
        const QStringView digits = QStringView(text).mid(minus.size());
        if (std::none_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit() && c != u'0'; }))
            text.remove(0, minus.size());
    }
    return text;
}

}  // namespace NumberText
