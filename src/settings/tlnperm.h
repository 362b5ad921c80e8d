// Extension permissions ("Teilnehmer-Berechtigungen"): which subscribers are
// "Master", protected against break-in ("Aufschaltschutz") or may break in
// ("Aufschalten").
#pragma once

#include <X11/Intrinsic.h>

void displayTlnPerm(Widget parent);
// The function chooser changed: keep the shown function's boxes, show the new one's.
void doFunkPerm(Widget w, XtPointer client, XtPointer call);
// The three check boxes into the working word of the function shown.
void getNsetPerm();
void doSetupPerm();
