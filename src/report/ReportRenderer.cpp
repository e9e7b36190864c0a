#include "ReportRenderer.h"

#include "Dataset.h"
#include "DateText.h"
#include "JpegLoader.h"
#include "NumberText.h"

#include <QFile>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr double TitleHeight = 12;     // mm
constexpr double SubtitleHeight = 7;
constexpr double HeaderHeight = 8;     // column captions
constexpr double RowHeight = 6.5;
constexpr double FooterHeight = 8;

QRectF mm(const QRectF &r, double k)
{
    return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
}

}  // namespace

ReportRenderer::ReportRenderer(const ReportLayout &layout, Dataset *data, const QMap<QString, Dataset *> &extras)
    : m_layout(layout), m_data(data)
{
    for (auto it = extras.begin(); it != extras.end(); ++it)
        m_extras.insert(it.key().toLower(), it.value());
    m_printDate = DateText::shortDate(QDate::currentDate());
    readRows();
    paginate();
}

void ReportRenderer::readRows()
{
    m_rows = (m_data && m_data->isActive()) ? m_data->recordCount() : 0;
    if (m_layout.kind != ReportLayout::Kind::List)
        return;
    QList<int> idx;
    for (const ReportLayout::Column &c : std::as_const(m_layout.columns)) {
        idx << (m_data && m_data->isActive() ? m_data->fieldIndex(c.field) : -1);
        m_totals << 0.0;
    }
    m_cells.reserve(m_rows);
    for (int r = 0; r < m_rows; ++r) {
        QStringList row;
        for (int i = 0; i < idx.size(); ++i) {
            const ReportLayout::Column &c = m_layout.columns.at(i);
            if (idx.at(i) < 0) {
                row << QString();
                continue;
            }
            if (c.sum) {
                const QVariant v = m_data->valueAt(r, idx.at(i));
                if (v.isValid() && !v.isNull()) {
                    m_totals[i] += v.toDouble();
                    row << NumberText::fixed(v.toDouble());
                } else {
                    row << QString();
                }
                continue;
            }
            row << m_data->textAt(r, idx.at(i));
        }
        m_cells << row;
    }
}

void ReportRenderer::paginate()
{
    const QSizeF page = m_layout.pageSize.size(QPageSize::Millimeter);
    const QSizeF oriented = m_layout.orientation == QPageLayout::Landscape ? page.transposed() : page;
    const double usable = oriented.height() - m_layout.margins.top() - m_layout.margins.bottom() - FooterHeight;
    const bool hasSummary = m_layout.kind == ReportLayout::Kind::List
        && (m_layout.countRows || std::any_of(m_layout.columns.cbegin(), m_layout.columns.cend(),
                                              [](const ReportLayout::Column &c) { return c.sum; }));
    if (m_layout.kind == ReportLayout::Kind::Cards) {
        const double top = m_layout.pagePerCard ? 0 : TitleHeight + (m_layout.subtitle.isEmpty() ? 0 : SubtitleHeight);
        const int perPage = m_layout.pagePerCard ? 1 : qMax(1, int((usable - top) / m_layout.cardHeight));
        for (int first = 0; first < m_rows; first += perPage)
            m_pages << Page{first, qMin(perPage, m_rows - first), false};
    } else {
        const double top = TitleHeight + (m_layout.subtitle.isEmpty() ? 0 : SubtitleHeight) + HeaderHeight;
        const int perPage = qMax(1, int((usable - top) / RowHeight));
        for (int first = 0; first < m_rows; first += perPage)
            m_pages << Page{first, qMin(perPage, m_rows - first), false};
        if (hasSummary) {
            if (!m_pages.isEmpty() && m_pages.last().count < perPage)
                m_pages.last().summary = true;
            else
                m_pages << Page{m_rows, 0, true};
        }
    }
    if (m_pages.isEmpty())
        m_pages << Page{0, 0, hasSummary};  // an empty report still has its page and title
}

QString ReportRenderer::cell(int row, const QString &field) const
{
    if (!m_data || !m_data->isActive() || row < 0 || row >= m_rows)
        return {};
    const int f = m_data->fieldIndex(field);
    return f < 0 ? QString() : m_data->textAt(row, f);
}

QString ReportRenderer::expand(const QString &text, int row, int page) const
{
    static const QRegularExpression expr(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    QString out;
    qsizetype last = 0;
    auto it = expr.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString name = m.captured(1).trimmed();
        if (name == u"Date")
            out += m_printDate;
        else if (name == u"Page")
            out += QString::number(page + 1);
        else if (name == u"Pages")
            out += QString::number(m_pages.size());
        else if (name == u"Count")
            out += QString::number(m_rows);
        else if (name.contains(u'.')) {
            Dataset *d = m_extras.value(name.section(u'.', 0, 0).toLower());
            if (d && d->isActive() && d->recordCount() > 0) {
                // The row the window shows: a one-row table's only row, a master's current one.
                const int f = d->fieldIndex(name.section(u'.', 1));
                const int r = d->currentRow();
                if (f >= 0)
                    out += d->textAt(r >= 0 ? r : 0, f);
            }
        } else {
            out += cell(row, name);
        }
    }
    out += text.mid(last);
    return out;
}

void ReportRenderer::render(QPagedPaintDevice *device) const
{
    device->setPageLayout(QPageLayout(m_layout.pageSize, m_layout.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter p(device);
    const double k = device->logicalDpiX() / 25.4;  // device units per mm
    for (int i = 0; i < m_pages.size(); ++i) {
        if (i > 0)
            device->newPage();
        paintPage(p, k, i);
    }
}

bool ReportRenderer::writePdf(const QString &path) const
{
    QPdfWriter pdf(path);
    pdf.setResolution(300);
    pdf.setTitle(m_layout.title);
    pdf.setCreator(QStringLiteral("Brimwell2003"));
    render(&pdf);
    return QFile::exists(path);
}

void ReportRenderer::paintPage(QPainter &p, double k, int index) const
{
    const Page &page = m_pages.at(index);
    const QSizeF size = (m_layout.orientation == QPageLayout::Landscape ? m_layout.pageSize.size(QPageSize::Millimeter).transposed()
                                                                          : m_layout.pageSize.size(QPageSize::Millimeter));
    const QMarginsF mg = m_layout.margins;
    const double left = mg.left();
    const double width = size.width() - mg.left() - mg.right();
    double y = mg.top();
    QFont base(QStringLiteral("Noto Sans CJK SC"));
    base.setPointSizeF(m_layout.fontSize);
    const auto text = [&](const QRectF &r, const QString &t, Qt::Alignment a, double pt, bool bold) {
        QFont f = base;
        f.setPointSizeF(pt);
        f.setBold(bold);
        p.setFont(f);
        // A text longer than its cell is cut with an ellipsis rather than running into the next one.
        const QRectF box = mm(r, k);
        p.drawText(box, int(a) | Qt::TextSingleLine, p.fontMetrics().elidedText(t, Qt::ElideRight, int(box.width())));
    };
    const bool envelope = m_layout.kind == ReportLayout::Kind::Cards && m_layout.pagePerCard;
    if (!envelope) {
        text(QRectF(left, y, width, TitleHeight - 2), m_layout.title, Qt::AlignCenter, m_layout.fontSize + 7, true);
        text(QRectF(left, y, width, TitleHeight - 2), QStringLiteral("打印日期：") + m_printDate,
             Qt::AlignRight | Qt::AlignBottom, m_layout.fontSize - 1, false);
        y += TitleHeight;
        if (!m_layout.subtitle.isEmpty()) {
            text(QRectF(left, y, width, SubtitleHeight), expand(m_layout.subtitle, page.first, index),
                 Qt::AlignLeft | Qt::AlignVCenter, m_layout.fontSize + 1, false);
            y += SubtitleHeight;
        }
    }
    p.setPen(QPen(Qt::black, 0.2 * k));
    if (m_layout.kind == ReportLayout::Kind::List) {
        // Column captions, then one line per record.
        double x = left;
        const double scale = [&] {
            double total = 0;
            for (const ReportLayout::Column &c : m_layout.columns)
                total += c.width;
            return total > width ? width / total : 1.0;
        }();
        p.fillRect(mm(QRectF(left, y, width, HeaderHeight), k), QColor(0xe8, 0xee, 0xf6));
        for (const ReportLayout::Column &c : m_layout.columns) {
            text(QRectF(x + 1, y, c.width * scale - 2, HeaderHeight), c.caption, Qt::AlignCenter, m_layout.fontSize, true);
            x += c.width * scale;
        }
        p.drawLine(mm(QRectF(left, y + HeaderHeight, width, 0), k).topLeft(), mm(QRectF(left + width, y + HeaderHeight, 0, 0), k).topLeft());
        y += HeaderHeight;
        for (int r = page.first; r < page.first + page.count; ++r) {
            x = left;
            const QStringList &row = m_cells.at(r);
            for (int c = 0; c < m_layout.columns.size(); ++c) {
                const ReportLayout::Column &col = m_layout.columns.at(c);
                text(QRectF(x + 1, y, col.width * scale - 2, RowHeight), row.at(c), col.align | Qt::AlignVCenter,
                     m_layout.fontSize, false);
                x += col.width * scale;
            }
            y += RowHeight;
        }
        if (page.summary) {
            p.drawLine(mm(QRectF(left, y, 0, 0), k).topLeft(), mm(QRectF(left + width, y, 0, 0), k).topLeft());
            x = left;
            QStringList parts;
            for (int c = 0; c < m_layout.columns.size(); ++c) {
                const ReportLayout::Column &col = m_layout.columns.at(c);
                if (col.sum)
                    text(QRectF(x + 1, y, col.width * scale - 2, RowHeight), NumberText::fixed(m_totals.at(c)),
                         col.align | Qt::AlignVCenter, m_layout.fontSize, true);
                x += col.width * scale;
            }
            QString label = m_layout.countRows ? QStringLiteral("共 %1 条记录").arg(m_rows) : QString();
            if (std::any_of(m_layout.columns.cbegin(), m_layout.columns.cend(), [](const auto &c) { return c.sum; }))
                label = m_layout.totalLabel + (label.isEmpty() ? QString() : QStringLiteral("（") + label + QStringLiteral("）"));
            text(QRectF(left + 1, y, m_layout.columns.first().width * scale * 2, RowHeight), label,
                 Qt::AlignLeft | Qt::AlignVCenter, m_layout.fontSize, true);
        }
    } else {
        for (int r = page.first; r < page.first + page.count; ++r) {
            const double top = y;
            for (const ReportLayout::Item &it : m_layout.items) {
                const QRectF rect = it.rect.translated(left, top);
                if (it.type == ReportLayout::Item::Type::Line) {
                    p.drawLine(mm(rect, k).topLeft(), mm(rect, k).bottomRight());
                } else if (it.type == ReportLayout::Item::Type::Box) {
                    p.drawRect(mm(rect, k));
                } else if (it.type == ReportLayout::Item::Type::Image) {
                    // A photo when its file loads; an empty frame otherwise.
                    const QImage picture = Picture::load(expand(it.text, r, index));
                    p.drawRect(mm(rect, k));
                    if (!picture.isNull()) {
                        const QSizeF fitted = QSizeF(picture.size()).scaled(mm(rect, k).size(), Qt::KeepAspectRatio);
                        const QRectF target(mm(rect, k).center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
                        p.drawImage(target, picture);
                    }
                } else if (it.boxes) {
                    // One box per character, as post codes are written on envelopes.
                    const QString t = expand(it.text, r, index);
                    const double side = rect.height();
                    for (int c = 0; c < qMax(6, int(t.size())); ++c) {
                        const QRectF cellRect(rect.x() + c * (side + 1), rect.y(), side, side);
                        p.drawRect(mm(cellRect, k));
                        if (c < t.size())
                            text(cellRect, t.mid(c, 1), Qt::AlignCenter, it.fontSize, it.bold);
                    }
                } else {
                    text(rect, expand(it.text, r, index), it.align, it.fontSize, it.bold);
                }
            }
            y += m_layout.cardHeight;
            if (!m_layout.pagePerCard && r + 1 < page.first + page.count)
                p.drawLine(mm(QRectF(left, y - 2, 0, 0), k).topLeft(), mm(QRectF(left + width, y - 2, 0, 0), k).topLeft());
        }
    }
    if (!envelope)
        text(QRectF(left, size.height() - mg.bottom() - FooterHeight + 2, width, FooterHeight - 2),
             QStringLiteral("第 %1 页 / 共 %2 页").arg(index + 1).arg(m_pages.size()), Qt::AlignCenter,
             m_layout.fontSize - 1, false);
}
