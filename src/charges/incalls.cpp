#include "charges/incalls.h"

#include "charges/calltransfer.h"

namespace {

CallList incalls{.dialogName = "gebIlist_dlg",
                 .listName = "*gebItext",
                 .read = incomingCalls,
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
