#include "ReportLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace {

Qt::Alignment alignment(const QString &a, Qt::Alignment vertical)
{
    if (a == u"right")
        return Qt::AlignRight | vertical;
    if (a == u"center" || a == u"centre")
        return Qt::AlignHCenter | vertical;
    return Qt::AlignLeft | vertical;
}

QRectF rectOf(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    if (a.size() != 4)
        throw std::runtime_error("an item needs \"rect\": [x, y, w, h] in mm");
    return QRectF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble());
}

}  // namespace

ReportLayout ReportLayout::parse(const QByteArray &json, const QString &name)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (doc.isNull() || !doc.isObject())
        throw std::runtime_error(err.errorString().toStdString());
    const QJsonObject o = doc.object();
    ReportLayout l;
    l.name = name;
    l.title = o.value(u"title").toString();
    l.subtitle = o.value(u"subtitle").toString();
    l.kind = o.value(u"kind").toString() == u"cards" ? Kind::Cards : Kind::List;
    const QJsonObject page = o.value(u"page").toObject();
    const QJsonArray size = page.value(u"size").toArray();
    if (size.size() == 2)
        l.pageSize = QPageSize(QSizeF(size[0].toDouble(), size[1].toDouble()), QPageSize::Millimeter);
    l.orientation = page.value(u"orientation").toString() == u"landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QJsonArray m = page.value(u"margins").toArray();
    if (m.size() == 4)
        l.margins = QMarginsF(m[0].toDouble(), m[1].toDouble(), m[2].toDouble(), m[3].toDouble());
    l.fontSize = o.value(u"fontSize").toDouble(9);
    for (const QJsonValue &c : o.value(u"columns").toArray()) {
        const QJsonObject co = c.toObject();
        Column col;
        col.caption = co.value(u"caption").toString();
        col.field = co.value(u"field").toString();
        col.width = co.value(u"width").toDouble(25);
        col.align = alignment(co.value(u"align").toString(), Qt::AlignVCenter);
        col.sum = co.value(u"sum").toBool();
        if (col.field.isEmpty())
            throw std::runtime_error("a column without a field");
        l.columns << col;
    }
    l.countRows = o.value(u"count").toBool();
    l.totalLabel = o.value(u"totalLabel").toString(l.totalLabel);
    const QJsonObject card = o.value(u"card").toObject();
    l.cardHeight = card.value(u"height").toDouble(60);
    l.pagePerCard = card.value(u"pagePerCard").toBool();
    for (const QJsonValue &v : card.value(u"items").toArray()) {
        const QJsonObject io = v.toObject();
        Item it;
        const QString type = io.value(u"type").toString(QStringLiteral("text"));
        it.type = type == u"line"    ? Item::Type::Line
                : type == u"box"   ? Item::Type::Box
                : type == u"image" ? Item::Type::Image
                                   : Item::Type::Text;
        it.rect = rectOf(io.value(u"rect"));
        it.text = io.value(u"text").toString();
        it.fontSize = io.value(u"fontSize").toDouble(l.fontSize);
        it.bold = io.value(u"bold").toBool();
        it.align = alignment(io.value(u"align").toString(), Qt::AlignVCenter);
        it.boxes = io.value(u"boxes").toBool();
        l.items << it;
    }
    for (const QJsonValue &v : o.value(u"datasets").toArray())
        l.extraDatasets << v.toString();
    if (l.kind == Kind::List && l.columns.isEmpty())
        throw std::runtime_error("a list layout without columns");
    if (l.kind == Kind::Cards && l.items.isEmpty())
        throw std::runtime_error("a card layout without items");
    return l;
}

bool ReportLayout::load(const QString &path, ReportLayout *layout, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.exists() ? f.errorString() : QStringLiteral("文件不存在");
        return false;
    }
    try {
        *layout = parse(f.readAll(), QFileInfo(path).completeBaseName());
        return true;
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
}
