#include "charges/incalls.h"

#include "link/protocol.h"

namespace {

CallList incalls{.dialogName = "gebIlist_dlg",
                 .listName = "*gebItext",
                 .readMessage = "Eingegangene Gespräche auslesen...",
                 .traceLabel = "K_READ_IN_GEB_LIST",
                 .command = K_READ_IN_GEB_LIST,
                 .wideIndex = false,
                 .recordSize = InCallSize,
                 .capacity = InCallCount,
                 .line = printIncallbuf,
                 .dialog = nullptr,
                 .store = {}};

} // namespace

void doKitIn(Widget parent)
{
    runCallList(incalls, parent);
}

void doKitGetIn(Widget, XtPointer, XtPointer)
{
    readCallList(incalls);
}

void saveInCalls(Widget, XtPointer, XtPointer)
{
    saveCallList(incalls, "txt_dlg", "Text sichern:", "*.txt", CallForm::Text);
}

void printInCalls(Widget, XtPointer, XtPointer)
{
    printCallList(incalls);
}

CallList &inCallList()
{
    return incalls;
}
