// Call distribution ("Rufverteilung"): the subscribers of the day and night call
// variants, the door units, the forwarding of unassigned MSNs and the two
// external bells.
#pragma once

#include <X11/Intrinsic.h>

void displayCallDist(Widget parent);
void doSetupCallDist();
