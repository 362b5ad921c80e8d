#include "settings/tlnperm.h"

#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <string>

namespace {

// One subscriber word per function, where the field rows put them.
constexpr int Functions = 3;

std::uint32_t set[Functions]; // working copy while the dialog is open
FunctionMasks perms{"*set", set};

// No bindings: the check boxes show one word of the working copy at a time,
// and the words are stored once the runner has seen "OK".
RecordDialog masadlg{"tlnperm_dlg", {}, berShare};

unsigned char *word(int k)
{
    const Field &f = fieldNamed(FileKind::Configuration, "tlnperm." + std::to_string(k));
    return recAt(berShare() + offsetInBlock(f));
}

void showPerm(Widget dialog)
{
    for (int k = 0; k < Functions; k++)
        set[k] = getLe32(word(k));
    labelSubscriberItems(dialog, "*set");
    setChooserState(dialog, "*funk", 0);
    showFunctionMask(perms, dialog, 0);
    senseSubscriberGroups(dialog, "*set");
}

void getNsetPerm() { keepFunctionMask(perms, masadlg.shell); }

// The function chooser changed: keep the shown function's boxes, show the new one's.
void doFunkPerm(Widget, XtPointer, XtPointer call) { switchFunctionMask(perms, masadlg.shell, call); }

} // namespace

void displayTlnPerm(Widget parent)
{
    if (!runRecordDialog(masadlg, parent, showPerm))
        return;
    getNsetPerm();
    for (int k = 0; k < Functions; k++)
        putLe32(word(k), set[k]);
}

void doSetupPerm()
{
    XmtRegisterProcedures({{"doFunkPerm", doFunkPerm}});
}
