#pragma once

#include <QColor>
#include <QIcon>
#include <QtGlobal>

// The stored colour value of the code tables and the charts: red in the lowest byte,
// then green, then blue (0x00BBGGRR).
namespace ColourValue {

// The colour a stored value stands for; invalid for a value outside 0 .. 0x00FFFFFF
// (a system colour or garbage), which then paints nothing.
QColor toColour(qint64 value);
// The value to store for a colour (its alpha is dropped); -1 for an invalid colour.
qint64 fromColour(const QColor &colour);
// A small framed swatch of the value for lists and grids; a null icon for an invalid value.
QIcon swatch(qint64 value);

}  // namespace ColourValue
