// Charge settings ("Gebührendaten"): which subscribers get number recording,
// shortened numbers and charge information, the output interface, the charge
// pulse, the unit price and the lines per page; the internal rates of every
// subscriber in a dialog of their own.
#pragma once

#include <X11/Intrinsic.h>

void displayGebDat(Widget parent);
// The internal rates; stored on their own "OK".
void doDisplayLCF(Widget parent);
void doSetupGebDat();
