// The program started in-process (record, toolkit, main window), once per test
// program; returns toplevel.
#pragma once

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>
#include <string>

Widget startedApp();
// Lets the X server and the toolkit catch up.
void settle();
