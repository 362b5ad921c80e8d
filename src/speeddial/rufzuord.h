// Internal numbers and the main-PBX connection ("Rufnummernzuordnung").
#pragma once

#include <X11/Intrinsic.h>

void doDisplayRNZ(Widget parent);
void doSetupRNZ();
