// A simulator on a pty, set as the device of the program started in-process.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/sim_line.h"

struct PbxLine : SimLine {
    explicit PbxLine(const pbxsim::State &state = pbxsim::defaultState());
};
