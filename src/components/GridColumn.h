#pragma once

#include <QString>
#include <Qt>

// One column of a DbGrid: caption, field, look.
struct GridColumn
{
    QString caption;
    QString field;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int width = 100;
    bool hidden = false;
    bool tick = false;   // a Boolean shown as a tick box
    int decimals = -1;   // numbers: fixed decimals with group separators; -1 the shortest form
    bool swatch = false; // a colour value (0x00BBGGRR): the number with a swatch of its colour

    static GridColumn text(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignLeft | Qt::AlignVCenter, width, false, false, -1, false};
    }
    static GridColumn centred(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignCenter, width, false, false, -1, false};
    }
    static GridColumn money(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignRight | Qt::AlignVCenter, width, false, false, 2, false};
    }
    static GridColumn check(const QString &caption, const QString &field, int width = 60)
    {
        return GridColumn{caption, field, Qt::AlignCenter, width, false, true, -1, false};
    }
    static GridColumn colour(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignCenter, width, false, false, -1, true};
    }
};
