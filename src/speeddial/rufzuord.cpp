#include "speeddial/rufzuord.h"

#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

// The item of the type menu whose main number is dialled over the exchange;
// the menu's items code the type byte as its field row says.
constexpr int HptUeberAmt = 2;

const Field &hptField() { return fieldNamed(FileKind::Configuration, "rufzuord.hpttyp"); }

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
    *hptTyp() = withChoice(hptField(), *hptTyp(), cbs->state);
    set_active(rnzdlg.shell, "*hptnum", choiceIndex(hptField(), *hptTyp()) == HptUeberAmt);
}

} // namespace

void doDisplayRNZ(Widget parent)
{
    runRecordDialog(rnzdlg, parent, [](Widget dialog) {
        disableRNZnums(dialog);
        int typ = choiceIndex(hptField(), *hptTyp());
        setChooserState(dialog, "*hpttyp", typ);
        set_active(dialog, "*hptnum", typ == HptUeberAmt);
    });
}

void doSetupRNZ()
{
    XmtRegisterProcedures({{"setHptMode", setHptMode}});
}
