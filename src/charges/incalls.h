// The incoming call list ("Eingehende Gespräche"): the PBX's last 75 incoming
// calls, read, shown with the callers' names, saved as text and printed.
#pragma once

#include "charges/callrecords.h"

// Runs the dialog (built under parent on first use) until "OK".
void doKitIn(Widget parent);
void doKitGetIn(Widget w, XtPointer client, XtPointer call);
void saveInCalls(Widget w, XtPointer client, XtPointer call);
void printInCalls(Widget w, XtPointer client, XtPointer call);
// The list, its dialog and its store.
CallList &inCallList();
