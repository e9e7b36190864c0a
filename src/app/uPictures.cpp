#include "uPictures.h"

#include "uConstants.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {

namespace {

void drawHouse(QPainter &p, const QRectF &r, const QColor &colour)
{
    // A small house: the agency's mark.
    QPainterPath roof;
    roof.moveTo(r.left(), r.top() + r.height() * 0.45);
    roof.lineTo(r.center().x(), r.top());
    roof.lineTo(r.right(), r.top() + r.height() * 0.45);
    roof.closeSubpath();
    p.fillPath(roof, colour);
    const QRectF body(r.left() + r.width() * 0.15, r.top() + r.height() * 0.42, r.width() * 0.7, r.height() * 0.58);
    p.fillRect(body, colour.lighter(130));
    p.fillRect(QRectF(body.center().x() - body.width() * 0.12, body.top() + body.height() * 0.35, body.width() * 0.24,
                      body.height() * 0.65),
               colour.darker(150));
}

}  // namespace

QPixmap splash()
{
    QPixmap pm(413, 251);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 413, 251);
    g.setColorAt(0, QColor(0x1f, 0x5f, 0x9f));
    g.setColorAt(1, QColor(0x6f, 0xb3, 0xe0));
    p.fillRect(pm.rect(), g);
    drawHouse(p, QRectF(30, 40, 90, 90), QColor(0xff, 0xd0, 0x60));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(140, 50, 260, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("家政服务管理系统"));
    f.setPixelSize(18);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(140, 95, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(Maker::ProductName));
    f.setPixelSize(13);
    p.setFont(f);
    p.drawText(QRect(20, 200, 373, 24), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("正在启动，请稍候……"));
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(QRect(20, 222, 373, 20), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(Maker::Name));
    return pm;
}

QPixmap about()
{
    QPixmap pm(120, 150);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 150);
    g.setColorAt(0, QColor(0x2a, 0x6f, 0xb0));
    g.setColorAt(1, QColor(0x9c, 0xcb, 0xef));
    p.fillRect(pm.rect(), g);
    drawHouse(p, QRectF(20, 25, 80, 80), QColor(0xff, 0xd0, 0x60));
    return pm;
}

QPixmap banner(int width)
{
    QPixmap pm(qMax(1, width), 41);
    QPainter p(&pm);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, QColor(0xdd, 0xea, 0xf7));
    g.setColorAt(1, QColor(0xf7, 0xfa, 0xfd));
    p.fillRect(pm.rect(), g);
    p.setPen(QColor(0xb8, 0xcc, 0xe4));
    p.drawLine(0, 40, width, 40);
    return pm;
}

QIcon commandIcon(const QString &caption, const QColor &colour)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(130));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, caption.left(1));
    return QIcon(pm);
}

}  // namespace Pictures
