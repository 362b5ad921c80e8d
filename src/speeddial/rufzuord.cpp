#include "speeddial/rufzuord.h"

#include "config/record.h"
#include "shell/access.h"
#include "toolkit/toolkit.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int RnzFields = 31; // hptnum and num0..num29
constexpr int HptUeberAmt = 3;

Widget rnzdlg;
char rnzNames[RnzFields][8];
XtResource rnz_resources[RnzFields];

// Binds each input field to its slot in the current PBX's share of the list.
void initRnzResources()
{
    for (int i = 0; i < RnzFields; i++) {
        XtResource &r = rnz_resources[i];
        if (i == 0) {
            std::snprintf(rnzNames[i], sizeof rnzNames[i], "hptnum");
            r.resource_size = rec::HptNumSize;
            r.resource_offset = rec::HptNumInShare;
        } else {
            std::snprintf(rnzNames[i], sizeof rnzNames[i], "num%d", i - 1);
            r.resource_size = rec::IntNumSize;
            r.resource_offset = Cardinal(rec::IntNumInShare + rec::IntNumSize * std::size_t(i - 1));
        }
        r.resource_name = rnzNames[i];
        r.resource_class = rnzNames[i];
        r.resource_type = const_cast<char *>("Buffer");
        r.default_type = nullptr;
        r.default_addr = nullptr;
    }
}

unsigned char *hptTyp() { return recAt(rufnrShare() + rec::HptTypInShare); }

// Terminals of an S0 port can have numbers only while that port is an internal bus.
void disableRNZnums()
{
    int s0 = hasPort(rnzdlg, 1);
    int s1 = hasPort(rnzdlg, 2);
    for (int k = 0; k < 10; k++) {
        set_activegrp(rnzdlg, "*num", k, 1);
        set_activegrp(rnzdlg, "*num", 10 + k, s0);
        set_activegrp(rnzdlg, "*num", 20 + k, s1);
    }
    set_active(rnzdlg, "*hpttyp", 1);
    set_active(rnzdlg, "*hptnum", 1);
}

// The type is written at once, so "Abbrechen" keeps it.
void setHptMode(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs || cbs->state < 0)
        return;
    int typ = cbs->state + 1;
    *hptTyp() = static_cast<unsigned char>(typ);
    set_active(rnzdlg, "*hptnum", typ == HptUeberAmt);
}

} // namespace

void doDisplayRNZ(Widget parent)
{
    if (!rnzdlg) {
        initRnzResources();
        rnzdlg = XmtBuildDialog(parent, "rufzuord_dlg", rnz_resources, RnzFields);
        if (!rnzdlg) {
            std::fprintf(stderr, "kelvora: cannot build rufzuord_dlg\n");
            std::exit(1);
        }
    }
    disableRNZnums();
    int typ = *hptTyp();
    setChooserState(rnzdlg, "*hpttyp", typ - 1);
    set_active(rnzdlg, "*hptnum", typ == HptUeberAmt);
    if (XmtDialogDo(rnzdlg, recAt(rufnrShare())))
        incRecInt(rec::CfgChanges);
}

void doSetupRNZ()
{
    XmtVaRegisterCallbackProcedures("setHptMode", setHptMode, static_cast<const char *>(nullptr));
}
