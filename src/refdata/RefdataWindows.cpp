#include "RefdataWindows.h"

#include "CodeTables.h"
#include "uBoard.h"
#include "uColor.h"
#include "uMain.h"

#include <QString>

void installRefdataWindows(TfrmMain &main)
{
    for (const CodeTable &table : codeTables()) {
        const CodeTable *row = &table;
        // The command has written its log entry and tested its right; an opener by name does
        // neither, and the editor is read-only for a user without the table's right.
        main.registerCommand(table.actionName, [row, &main] { CodeTableEditor::execute(*row, &main); });
        main.registerOpener(table.windowName, [row](QWidget *parent) { CodeTableEditor::execute(*row, parent); });
    }
    main.registerOpener(QStringLiteral("TfrmColor"), [](QWidget *parent) { TfrmColor::execute(parent); });
    main.registerCommand(QStringLiteral("Act_Board"), [&main] { TfrmBoard::execute(&main); });
    CodeTableEditor::setPaletteOpener([](QWidget *parent) { TfrmColor::execute(parent); });
}
