// PBX type and S0 port modes ("Anlagentyp"); the MSN dialogs open from it.
#pragma once

#include <X11/Intrinsic.h>

void doSetupConf();
void doShowConf(Widget parent);

// Chooser callbacks; the ones called directly as steps take defaults.
void doAnlTyp(Widget w, XtPointer client, XtPointer call);
void displayAnlageTyp();
void checkPort(Widget w = nullptr, XtPointer client = nullptr, XtPointer call = nullptr);
void displayPortMode(Widget w = nullptr, XtPointer client = nullptr, XtPointer call = nullptr);
void setPortMode(Widget w, XtPointer client, XtPointer call);

// Index (0..2) of the port chosen in "Port-Auswahl".
int chosenPort();
