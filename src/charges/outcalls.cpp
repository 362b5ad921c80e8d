#include "charges/outcalls.h"

#include "charges/incalls.h"
#include "config/record.h"
#include "charges/calltransfer.h"
#include "toolkit/toolkit.h"
#include "ui/transferwindow.h"

namespace {

CallList outcalls{.dialogName = "gebOlist_dlg",
                  .listName = "*gebOtext",
                  .read = outgoingCalls,
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
    if (!XmtAskIrreversible(outcalls.dialog, "gebkitdel", "Wollen Sie wirklich den Gebührenspeicher löschen?",
                            "No Help!"))
        return;
    WindowObserver observer(outcalls.dialog);
    eraseOutgoingCalls(observer);
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
