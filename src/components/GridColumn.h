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

    static GridColumn text(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignLeft | Qt::AlignVCenter, width, false, false, -1};
    }
    static GridColumn centred(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignCenter, width, false, false, -1};
    }
    static GridColumn money(const QString &caption, const QString &field, int width = 100)
    {
        return GridColumn{caption, field, Qt::AlignRight | Qt::AlignVCenter, width, false, false, 2};
    }
    static GridColumn check(const QString &caption, const QString &field, int width = 60)
    {
        return GridColumn{caption, field, Qt::AlignCenter, width, false, true, -1};
    }
};
