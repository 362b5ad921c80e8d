// Reading the whole configuration from the PBX and programming it back.
#pragma once

#include <X11/Intrinsic.h>

void readConfig(Widget w = nullptr, XtPointer client = nullptr, XtPointer call = nullptr);
void writeConfig(Widget w = nullptr, XtPointer client = nullptr, XtPointer call = nullptr);

// Clears the port blocks that the PBX type does not have (type byte 0 or 1);
// they are sent as zeros and stay zero.
void clearUnusedPorts();
