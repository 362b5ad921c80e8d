// Charge counters ("Gebührenstand"): the PBX's per-subscriber charges, read or
// reset over the line and shown one line per subscriber with the total.  They are
// kept nowhere but in the dialog's list.
#pragma once

#include "charges/counters.h"

#include <X11/Intrinsic.h>
#include <cstdint>

// Runs the dialog (built under parent on first use) until "OK".
void doGebZaehler(Widget parent);
// "Auslesen": reads the counters and shows them.
void doGebGet(Widget w, XtPointer client, XtPointer call);
// "Löschen": after asking, resets the counters in the PBX and shows zeros.
void doGebDel(Widget w, XtPointer client, XtPointer call);
// Fills the list and the total from 30 counters (pfennig).
void showGebuehren(const std::int32_t *counters);
void doSetupZaehler();
