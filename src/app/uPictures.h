#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn here: the splash, the About picture, the top-bar
// banner and the picture buttons (a coloured tile with the command's first character).
namespace Pictures {

QPixmap splash();          // 413 × 251
QPixmap about();           // 120 × 150
QPixmap banner(int width); // 41 high
QIcon commandIcon(const QString &caption, const QColor &colour);

}  // namespace Pictures
