// The outgoing call list ("Ausgehende Gespräche"): the PBX's last 1000 outgoing
// calls, read, shown with names from the speed-dial directory, saved as text
// or CSV, printed, and the PBX's call memory erased.
#pragma once

#include "charges/callrecords.h"

// Runs the dialog (built under parent on first use) until "OK".
void doKitOut(Widget parent);
void doKitGetOut(Widget w, XtPointer client, XtPointer call);
void saveOutCalls(Widget w, XtPointer client, XtPointer call);
void saveCvsOutCalls(Widget w, XtPointer client, XtPointer call);
void printOutCalls(Widget w, XtPointer client, XtPointer call);
void doKitDelOut(Widget w, XtPointer client, XtPointer call);
// The list, its dialog and its store.
CallList &outCallList();
// Registers the callbacks of both call lists.
void doSetupKit();
