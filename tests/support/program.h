// The program started in-process: its record, its resource table as the
// fallback of the test application, its procedures and its main window.
#pragma once

#include <X11/Intrinsic.h>

// toplevel, with the main window built (once per test program).
Widget programTop();
