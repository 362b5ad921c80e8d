#include "settings/tlnperm.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

// One subscriber word per function at the start of the permission block.
constexpr int Functions = 3;

std::uint32_t set[Functions]; // working copy while the dialog is open
int lastset;                  // the function the check boxes show

// No bindings: the check boxes show one word of the working copy at a time,
// and the words are stored once the runner has seen "OK".
RecordDialog masadlg{"tlnperm_dlg", {}, berShare};

unsigned char *word(int k) { return recAt(berShare() + 4 * std::size_t(k)); }

void showPerm(Widget dialog)
{
    lastset = 0;
    for (int k = 0; k < Functions; k++)
        set[k] = getLe32(word(k));
    labelSubscriberItems(dialog, "*set");
    setChooserState(dialog, "*funk", 0);
    showSubscriberMask(dialog, "*set", set[0]);
    senseSubscriberGroups(dialog, "*set");
}

} // namespace

void getNsetPerm()
{
    set[lastset] = (set[lastset] & ~SubscriberBits) | readSubscriberMask(masadlg.shell, "*set");
}

void doFunkPerm(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs || cbs->state < 0 || cbs->state >= Functions)
        return;
    getNsetPerm();
    lastset = cbs->state;
    showSubscriberMask(masadlg.shell, "*set", set[lastset]);
}

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
