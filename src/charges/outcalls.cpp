#include "charges/outcalls.h"

#include "charges/incalls.h"
#include "config/record.h"
#include "link/protocol.h"
#include "link/transfer.h"
#include "toolkit/toolkit.h"

namespace {

CallList outcalls{.dialogName = "gebOlist_dlg",
                  .listName = "*gebOtext",
                  .readMessage = "Ausgehende Gespräche lesen...",
                  .traceLabel = "K_READ_TLN_GEB_LIST",
                  .command = K_READ_OUT_GEB_LIST,
                  .wideIndex = true,
                  .recordSize = OutCallSize,
                  .capacity = OutCallCount,
                  .line = printOutcallbuf,
                  .dialog = nullptr,
                  .store = {}};

} // namespace

void doKitOut(Widget parent)
{
    runCallList(outcalls, parent);
}

void doKitGetOut(Widget, XtPointer, XtPointer)
{
    readCallList(outcalls);
}

void saveOutCalls(Widget, XtPointer, XtPointer)
{
    saveCallList(outcalls, "txt_dlg", "Text sichern:", "*.tab", CallForm::Text);
}

void saveCvsOutCalls(Widget, XtPointer, XtPointer)
{
    saveCallList(outcalls, "cvs_dlg", "CVS-Tabelle sichern:", "*.cvs", CallForm::Spreadsheet);
}

void printOutCalls(Widget, XtPointer, XtPointer)
{
    printCallList(outcalls);
}

// Erases the PBX's memory; the store and the list stay until the next read.
// Nothing brings the calls back, so Return must not erase them: "Nein" is the default.
void doKitDelOut(Widget, XtPointer, XtPointer)
{
    if (!XmtDisplayWarningAndAsk(outcalls.dialog, "gebkitdel", "Wollen Sie wirklich den Gebührenspeicher löschen?",
                                 "Ja", "Nein", False, "No Help!"))
        return;
    TransferPlan transfer{devicePath(), outcalls.dialog, "gebkitdlg", "Gebührenspeicher löschen...", false, 1, {},
                          false};
    runTransfer(transfer, [](TransferContext &t) {
        static const unsigned char nothing[1] = {0};
        t.send(K_CLEAR_OUT_GEB_LIST, NoSubCode, nothing, sizeof nothing);
    });
}

CallList &outCallList()
{
    return outcalls;
}

void doSetupKit()
{
    XmtRegisterProcedures({{"doKitGetOut", doKitGetOut},
                           {"doKitGetIn", doKitGetIn},
                           {"printInCalls", printInCalls},
                           {"saveInCalls", saveInCalls},
                           {"printOutCalls", printOutCalls},
                           {"saveOutCalls", saveOutCalls},
                           {"saveCvsOutCalls", saveCvsOutCalls},
                           {"doKitDelOut", doKitDelOut}});
}
