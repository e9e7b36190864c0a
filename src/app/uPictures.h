#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn here: the splash, the About picture and the top-bar
// banner. The commands' pictures come from an icon theme copied into the resources.
namespace Pictures {

QPixmap splash();          // 413 × 251
QPixmap about();           // 120 × 150
QPixmap banner(int width); // 41 high
// The picture of a command by its action name ("Act_Customers"); null for a command without one.
QIcon commandIcon(const QString &command);
// Where that picture lives in the resources; empty for a command without one.
QString commandIconResource(const QString &command);
// A picture of the icon theme by its own name ("folder", "text-plain"); null when not among the resources.
QIcon themeIcon(const QString &name);

}  // namespace Pictures
