// PBX type and S0 ports dialog.
#pragma once

#include <X11/Intrinsic.h>

void doShowConf(Widget parent);
void doSetupConf();
