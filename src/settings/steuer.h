// Control contacts: the sensor input and the two actuators.
#pragma once

#include <X11/Intrinsic.h>

void displaySteuer(Widget parent);
