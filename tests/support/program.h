// The program started in-process: its record, its resource table as the
// fallback of the test application, its procedures and its main window.
#pragma once

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

// toplevel, with the main window built (once per test program).  From then on
// each test starts with the record, the main window and the device as the
// program starts with them.
Widget programTop();
// Widget below toplevel by name ("*grund"); fails the test when missing.
Widget mainWidget(const char *name);
// The main window's buttons that follow the configuration-valid flag, as
// name paths ("*grund"), from the program's table of its buttons.
std::vector<std::string> editingButtons();
// Every value the working dialogs' scales were set to since the last clear
// (each dialog starts at 0 when it is shown); transfers block the event loop,
// so they are followed through Xt's change hook.
std::vector<int> &scaleValues();
