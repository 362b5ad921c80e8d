#include "speeddial/rufzuord.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <array>

namespace {

constexpr int HptUeberAmt = 3;

// hptnum, then num0..num29 in their slots of the current PBX's share.
constexpr std::array<Binding, 31> makeRnzResources()
{
    constexpr const char *names[30] = {
        "num0",  "num1",  "num2",  "num3",  "num4",  "num5",  "num6",  "num7",  "num8",  "num9",
        "num10", "num11", "num12", "num13", "num14", "num15", "num16", "num17", "num18", "num19",
        "num20", "num21", "num22", "num23", "num24", "num25", "num26", "num27", "num28", "num29",
    };
    std::array<Binding, 31> table{};
    table[0] = {"hptnum", Codec::Text, rec::HptNumInShare, rec::HptNumSize};
    for (int k = 0; k < 30; k++)
        table[k + 1] = {names[k], Codec::Text, rec::IntNumInShare + rec::IntNumSize * k, rec::IntNumSize};
    return table;
}
constexpr auto rnz_resources = makeRnzResources();

RecordDialog rnzdlg{"rufzuord_dlg", rnz_resources, rufnrShare};

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
