// Global PBX data ("Globale Anlagendaten").
#pragma once

#include <X11/Intrinsic.h>

void displayGlobDat(Widget parent);
