// Call distribution ("Rufverteilung"): the subscribers of the day and night call
// variants, the door units, the forwarding of unassigned MSNs and the two
// external bells.
#pragma once

#include <X11/Intrinsic.h>

void displayCallDist(Widget parent);
// The function chooser changed: keep the shown function's boxes, show the new one's.
void doCallDist(Widget w, XtPointer client, XtPointer call);
// The three check boxes into the working mask of the function shown.
void getNsetAVARWS();
void doSetupCallDist();
