#include "speeddial/rufzuord.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

constexpr int HptUeberAmt = 3;

// hptnum, then num0..num29 in their slots of the current PBX's share, as the
// field descriptions bind them; the type is set by hand.
RecordDialog rnzdlg{"rufzuord_dlg", {}, rufnrShare};

unsigned char *hptTyp() { return recAt(rufnrShare() + rec::HptTypInShare); }

// Terminals of an S0 port can have numbers only while that port is an internal bus.
void disableRNZnums(Widget dialog)
{
    senseSubscriberRows(dialog, "*num");
    set_active(dialog, "*hpttyp", 1);
    set_active(dialog, "*hptnum", 1);
}

// The type is written at once, so "Abbrechen" keeps it.
void setHptMode(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs || cbs->state < 0)
        return;
    int typ = cbs->state + 1;
    *hptTyp() = static_cast<unsigned char>(typ);
    set_active(rnzdlg.shell, "*hptnum", typ == HptUeberAmt);
}

} // namespace

void doDisplayRNZ(Widget parent)
{
    runRecordDialog(rnzdlg, parent, [](Widget dialog) {
        disableRNZnums(dialog);
        int typ = *hptTyp();
        setChooserState(dialog, "*hpttyp", typ - 1);
        set_active(dialog, "*hptnum", typ == HptUeberAmt);
    });
}

void doSetupRNZ()
{
    XmtRegisterProcedures({{"setHptMode", setHptMode}});
}
