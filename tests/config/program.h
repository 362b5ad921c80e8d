// The program started in-process with its real main window, and a PBX
// simulator on a pty for it to talk to.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/pbx_line.h"
#include "support/sim_line.h"

#include <X11/Intrinsic.h>
#include <vector>

inline bool sensitive(const char *name) { return XtIsSensitive(mainWidget(name)); }
