#pragma once

class QApplication;

// The application's look for Chinese text: "Noto Sans CJK SC" first in the font
// family list, and Qt's own Chinese translations for standard buttons and dialogs.
namespace AppFont {

void apply(QApplication &app);

}  // namespace AppFont
