// The main window's buttons open their dialogs under toplevel.  An opener whose
// dialog is not written yet does nothing.
#include "shell/shell.h"

#include "basic/anltyp.h"
#include "settings/globdat.h"
#include "settings/steuer.h"
#include "speeddial/kwz.h"
#include "speeddial/rufzuord.h"

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
    // TODO: displayTlnPerm(toplevel);
}

void dotlntyp(Widget, XtPointer, XtPointer)
{
    // TODO: displayTeleTyp(toplevel);
}

void doamtperm(Widget, XtPointer, XtPointer)
{
    // TODO: displayAmtsPerm(toplevel);
}

void docalldist(Widget, XtPointer, XtPointer)
{
    // TODO: displayCallDist(toplevel);
}

void dogebdat(Widget, XtPointer, XtPointer)
{
    // TODO: displayGebDat(toplevel);
}

void dosteuerk(Widget, XtPointer, XtPointer)
{
    displaySteuer(toplevel);
}

void douserfkt(Widget, XtPointer, XtPointer)
{
    // TODO: displayUserFkt(toplevel);
}

void doOutKit(Widget, XtPointer, XtPointer)
{
    // TODO: doKitOut(toplevel);
}

void doInKit(Widget, XtPointer, XtPointer)
{
    // TODO: doKitIn(toplevel);
}
