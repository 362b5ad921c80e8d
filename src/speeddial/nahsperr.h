// The local-area and blocked prefix dialogs: twenty 5-digit prefixes each.
#pragma once

#include <X11/Intrinsic.h>

void doDisplayNahBer(Widget parent);
void doDisplaySperrBer(Widget parent);
