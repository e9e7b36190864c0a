#include "MailWindows.h"

#include "Utf8.h"
#include "uEnvelop.h"
#include "uMail.h"
#include "uMain.h"

void installMailWindows(TfrmMain &main)
{
    auto *mail = new TfrmMail(&main);
    main.registerPage(s("Act_Mail"), mail->PnMain);
    main.registerCommand(s("Act_Mail"), [mail] { mail->open(); });
    // The main window has logged the command and tested right 503; the query stays as it is.
    main.registerCommand(s("Act_Envelop"), [&main] { TfrmEnvelop::execute(&main); });
    // The tool window's envelope picture: its own right test, log entry and all contacts.
    main.registerOpener(s("EnvelopFromTools"), [](QWidget *parent) { openEnvelopeFromTools(parent); });
}
