#include "ColourValue.h"

#include <QPainter>
#include <QPixmap>

namespace ColourValue {

QColor toColour(qint64 value)
{
    if (value < 0 || value > 0xFFFFFF)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 fromColour(const QColor &colour)
{
    if (!colour.isValid())
        return -1;
    const QColor rgb = colour.toRgb();
    return qint64(rgb.red()) | (qint64(rgb.green()) << 8) | (qint64(rgb.blue()) << 16);
}

QIcon swatch(qint64 value)
{
    const QColor colour = toColour(value);
    if (!colour.isValid())
        return {};
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(colour);
    painter.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

}  // namespace ColourValue
