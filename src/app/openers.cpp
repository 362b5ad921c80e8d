// The main window's buttons open their dialogs under toplevel.
#include "app/app.h"

#include "basic/anltyp.h"
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

void showConf(Widget, XtPointer, XtPointer)
{
    doShowConf(toplevel);
}

void dokwz(Widget, XtPointer, XtPointer)
{
    doKurzwahlen(toplevel);
}

void dornz(Widget, XtPointer, XtPointer)
{
    doDisplayRNZ(toplevel);
}

void doglob(Widget, XtPointer, XtPointer)
{
    displayGlobDat(toplevel);
}

void dotlnperm(Widget, XtPointer, XtPointer)
{
    displayTlnPerm(toplevel);
}

void dotlntyp(Widget, XtPointer, XtPointer)
{
    displayTeleTyp(toplevel);
}

void doamtperm(Widget, XtPointer, XtPointer)
{
    displayAmtsPerm(toplevel);
}

void docalldist(Widget, XtPointer, XtPointer)
{
    displayCallDist(toplevel);
}

void dogebdat(Widget, XtPointer, XtPointer)
{
    displayGebDat(toplevel);
}

void dosteuerk(Widget, XtPointer, XtPointer)
{
    displaySteuer(toplevel);
}

void douserfkt(Widget, XtPointer, XtPointer)
{
    displayUserFkt(toplevel);
}

void doOutKit(Widget, XtPointer, XtPointer)
{
    doKitOut(toplevel);
}

void doInKit(Widget, XtPointer, XtPointer)
{
    doKitIn(toplevel);
}
