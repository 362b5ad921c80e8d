// Terminal types ("Gerätetypen"): what is connected to each analogue port.
#pragma once

#include <X11/Intrinsic.h>

void displayTeleTyp(Widget parent);
