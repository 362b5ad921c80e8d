#include "app/registry.h"

#include "app/app.h"
#include "app/overview.h"
#include "app/portchooser.h"
#include "basic/anltyp.h"
#include "charges/gebzahl.h"
#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "settings/amtsperm.h"
#include "settings/calldist.h"
#include "settings/gebdat.h"
#include "settings/globdat.h"
#include "settings/steuer.h"
#include "settings/teltyp.h"
#include "settings/tlnperm.h"
#include "speeddial/kwz.h"
#include "speeddial/rufzuord.h"
#include "subscriber/tndat.h"

namespace {

// An opener ignores what the button passes: the dialog always sits over toplevel.
template <void (*Open)(Widget)>
void openOverToplevel(Widget, XtPointer, XtPointer)
{
    Open(toplevel);
}

// Not "Always": Xlib defines that.
constexpr bool AnyTime = false, WhenValid = true;

const MainButton buttons[] = {
    {"kurz", "dokwz", openOverToplevel<doKurzwahlen>, AnyTime, doSetupKwz},
    {"grund", "showConf", openOverToplevel<doShowConf>, WhenValid, doSetupConf},
    {"appnum", "dornz", openOverToplevel<doDisplayRNZ>, WhenValid, doSetupRNZ},
    {"einricht", "dotlnperm", openOverToplevel<displayTlnPerm>, WhenValid, doSetupPerm},
    {"avas", "docalldist", openOverToplevel<displayCallDist>, WhenValid, doSetupCallDist},
    // The counters open from the charge settings.
    {"gebuehr", "dogebdat", openOverToplevel<displayGebDat>, WhenValid, [] { doSetupGebDat(); doSetupZaehler(); }},
    {"user", "douserfkt", openOverToplevel<displayUserFkt>, WhenValid, doSetupUser},
    // One set-up for both call lists.
    {"outcalls", "doOutKit", openOverToplevel<doKitOut>, AnyTime, doSetupKit},
    {"incalls", "doInKit", openOverToplevel<doKitIn>, AnyTime},
    {"global", "doglob", openOverToplevel<displayGlobDat>, WhenValid},
    {"endgeraet", "dotlntyp", openOverToplevel<displayTeleTyp>, WhenValid},
    {"amtrecht", "doamtperm", openOverToplevel<displayAmtsPerm>, WhenValid},
    {"bsteuer", "dosteuerk", openOverToplevel<displaySteuer>, WhenValid},
    // The configuration itself: its files and transfers.
    {"laden", "loadCFGFile", loadCFGFile, AnyTime},
    {"sichern", "saveCFGFileAs", saveCFGFileAs, WhenValid},
    {"uebersicht", "showOverview", showOverview, WhenValid},
    {"lesen", "readConfig", readConfig, AnyTime},
    {"schreiben", "writeConfig", writeConfig, WhenValid},
    {"schnittstelle", "choosePort", choosePortButton, AnyTime},
    {"help", "showHelp", showHelp, AnyTime},
    {"quit", "quitting", quitting, AnyTime},
};

} // namespace

std::span<const MainButton> mainButtons()
{
    return buttons;
}
