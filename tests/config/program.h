// The program started in-process with its real main window, a PBX simulator on
// a pty for it to talk to, and what the working dialog showed.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/sim_line.h"

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

// toplevel with the main window, watching the working dialogs' scales.
Widget transferTop();
// Widget below toplevel by name ("*grund"); fails the test when missing.
Widget mainWidget(const char *name);
bool sensitive(const char *name);

// A simulator on a pty, set as the record's device.
struct PbxLine : SimLine {
    explicit PbxLine(const pbxsim::State &state = pbxsim::defaultState());
};

// Every value the working dialogs' scales were set to since the last clear
// (each dialog starts at 0 when it is shown).
std::vector<int> &scaleValues();
// The message of the named message box when it is up (and closes it); "" when not.
std::string takeMessage(const char *name);
// The record's PBX image as the simulator holds it after a read of that state.
std::vector<unsigned char> imageOf(const pbxsim::State &state);
