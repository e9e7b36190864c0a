#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

// A printed layout, read from a .frf file (JSON): a list (column header, one line per
// record, totals) or cards (one block of placed items per record, optionally a page
// each, as envelopes are). Texts hold [Field] expressions.
struct ReportLayout
{
    enum class Kind { List, Cards };

    struct Column
    {
        QString caption;
        QString field;
        double width = 25;  // mm
        Qt::Alignment align = Qt::AlignLeft;
        bool sum = false;   // a total under the column
    };

    struct Item
    {
        enum class Type { Text, Line, Box, Image } type = Type::Text;
        QRectF rect;        // mm, relative to the card
        QString text;       // with [Field] expressions; for an image, the picture file's path
        double fontSize = 10;
        bool bold = false;
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
        bool boxes = false; // one box per character (post codes on envelopes)
    };

    QString name;
    QString title;
    QString subtitle;                  // under the title, with expressions ("[CustName]")
    Kind kind = Kind::List;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{15, 15, 15, 15};  // mm
    double fontSize = 9;
    QList<Column> columns;
    bool countRows = false;
    QString totalLabel = QStringLiteral("合计");
    QList<Item> items;                 // cards
    double cardHeight = 60;            // mm
    bool pagePerCard = false;
    QStringList extraDatasets;         // other datasets read by [Name.Field]

    // Throws std::runtime_error with a message when the text is not a layout.
    static ReportLayout parse(const QByteArray &json, const QString &name);
    // Empty layout and false when the file is missing or unreadable.
    static bool load(const QString &path, ReportLayout *layout, QString *error);
};
