// Trunk permissions ("Amtsberechtigungen"): how far each subscriber may call out.
#pragma once

#include <X11/Intrinsic.h>

void displayAmtsPerm(Widget parent);
