#include "DocumentWindows.h"

#include "Utf8.h"
#include "uMain.h"
#include "uNewFile.h"
#include "uPasteFile.h"
#include "uPublic.h"
#include "uTools.h"

void installDocumentWindows(TfrmMain &main)
{
    auto *tools = new TfrmTools(main);
    main.setToolsWindow(tools);
    // Each acts on FileListRoot, whether the tool window is shown or not.
    main.registerCommand(s("File_New"), [tools] {
        TfrmNewFile::execute(tools->dialogParent());
        tools->showListRoot();
    });
    const auto paste = [tools](const char *mode) {
        return [tools, mode] {
            FileClipboardMode = s(mode);
            TfrmPasteFile::execute(tools->dialogParent());
            tools->showListRoot();
        };
    };
    main.registerCommand(s("File_Cut"), paste("Cut"));
    // The envelope picture runs the envelope window's own opener for the tool window.
    tools->setEnvelopeOpener([&main, tools] { main.openWindow(s("EnvelopFromTools"), tools->dialogParent()); });
    main.registerCommand(s("File_Copy"), paste("Copy"));
}
