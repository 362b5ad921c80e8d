// One end-to-end session: pbxsim started from a given state on a fresh line,
// the real kelvora on that line with its main window up, and a way to wait for
// a transfer to be over on both sides.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/e2e_process.h"
#include "support/e2e_x.h"
#include "support/tempdir.h"

#include <cstdint>
#include <string>
#include <vector>

class E2eSession : public ::testing::Test {
protected:
    void SetUp() override;
    // Starts pbxsim (state saved to after.state when it ends) and kelvora;
    // fails the test when either does not come up.
    void startBoth(const pbxsim::State &state, int traceLevel = -1);
    // Waits until the transfer ending with the n-th end-of-transmission is over:
    // pbxsim acknowledged it, the lock is gone, no dialog of the window that
    // started it (the main window unless given) is up and the program is back
    // in its event loop.
    void waitForTransfer(int n, Window owner = None);
    // Whether the program has sent this frame to pbxsim.
    bool logged(const std::vector<std::uint8_t> &frame);
    // Quits through "Beenden", stops pbxsim and returns the state it saved.
    pbxsim::State quitBoth();

    static constexpr int Patient = 30000; // ms
    TempDir dir;
    std::string device = dir.file(uniqueLineName("ttyPBX"));
    std::string logPath = dir.file("pbx.log");
    PbxsimProcess pbx;
    KelvoraProcess kelvora;
    Window mainWindow = None;
};

extern const char MainTitle[];
