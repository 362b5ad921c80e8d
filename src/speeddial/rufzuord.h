// Internal numbers dialog.
#pragma once

#include <X11/Intrinsic.h>

void doDisplayRNZ(Widget parent);
void doSetupRNZ();
