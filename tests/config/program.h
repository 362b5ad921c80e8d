// The program started in-process with its real main window, and a PBX
// simulator on a pty for it to talk to.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/pbx_line.h"
#include "support/sim_line.h"
#include "support/tempdir.h"

#include "link/trace.h"

#include <X11/Intrinsic.h>
#include <functional>
#include <string>
#include <vector>

inline bool sensitive(const char *name) { return XtIsSensitive(mainWidget(name)); }

// What the trace at level 1 holds after run() (the fresh start puts the trace back).
inline std::string traceOf(const std::function<void()> &run)
{
    TempDir dir;
    setDebugFilePath(dir.file("trace").c_str());
    EXPECT_TRUE(openTrace(1));
    run();
    closeTrace();
    return readFile(dir.file("trace"));
}
