#include "settings/calldist.h"

#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <string>

namespace {

// One subscriber word per function, where the field rows put them; the words
// between them and bytes 48-49 (the global data dialog's) are not touched.
constexpr int Functions = 7;

std::uint32_t set[Functions]; // working copy while the dialog is open
FunctionMasks dists{"*grp", set};

// No bindings: the check boxes show one word of the working copy at a time,
// and the words are stored once the runner has seen "OK".
RecordDialog avarwsdlg{"calldist_dlg", {}, rufVertShare};

unsigned char *word(int k)
{
    const Field &f = fieldNamed(FileKind::Configuration, "calldist." + std::to_string(k));
    return recAt(rufVertShare() + offsetInBlock(f));
}

void showCallDist(Widget dialog)
{
    for (int k = 0; k < Functions; k++)
        set[k] = getLe32(word(k));
    labelSubscriberItems(dialog, "*grp");
    setChooserState(dialog, "*todo", 0);
    showFunctionMask(dists, dialog, 0);
    senseSubscriberGroups(dialog, "*grp");
}

void getNsetAVARWS() { keepFunctionMask(dists, avarwsdlg.shell); }

// The function chooser changed: keep the shown function's boxes, show the new one's.
void doCallDist(Widget, XtPointer, XtPointer call) { switchFunctionMask(dists, avarwsdlg.shell, call); }

} // namespace

void displayCallDist(Widget parent)
{
    if (!runRecordDialog(avarwsdlg, parent, showCallDist))
        return;
    getNsetAVARWS();
    for (int k = 0; k < Functions; k++)
        putLe32(word(k), set[k]);
}

void doSetupCallDist()
{
    XmtRegisterProcedures({{"doCallDist", doCallDist}});
}
