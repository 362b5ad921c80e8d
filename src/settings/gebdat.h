// Charge settings ("Gebührendaten"): which subscribers get number recording,
// shortened numbers and charge information, the output interface, the charge
// pulse, the unit price and the lines per page; the internal rates of every
// subscriber in a dialog of their own.
#pragma once

#include <X11/Intrinsic.h>

void displayGebDat(Widget parent);
// The function chooser changed: keep the shown function's boxes, show the new one's.
void doGebDat(Widget w, XtPointer client, XtPointer call);
// The three check boxes into the working mask of the function shown.
void getNsetGeb();
// Subscriber items usable only where the working copy records numbers.
void checkShortPrnOn();
// Every subscriber item usable (groups 1 and 2 only for internal buses).
void setAllOn();
void setShortIfPrnOn(int group, int item, int on);
// "Gebührenstand" and "Interne Verrechnung" open their dialogs over this one.
void doGebStand(Widget w, XtPointer client, XtPointer call);
void doGebLCF(Widget w, XtPointer client, XtPointer call);
// The internal rates; stored on their own "OK".
void doDisplayLCF(Widget parent);
void disableLCFnums();
void readLCFnums();
void doSetupGebDat();
