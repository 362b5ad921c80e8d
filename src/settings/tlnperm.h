// Extension permissions ("Teilnehmer-Berechtigungen"): which subscribers are
// "Master", protected against break-in ("Aufschaltschutz") or may break in
// ("Aufschalten").
#pragma once

#include <X11/Intrinsic.h>

void displayTlnPerm(Widget parent);
void doSetupPerm();
