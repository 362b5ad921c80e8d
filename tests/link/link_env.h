// Helpers for the link tests: a pbxsim behind a fresh pty, the toolkit calls
// the protocol made, and a real shell for the focus.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/pty_peer.h"
#include "support/tempdir.h"

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

// What the protocol asked of the toolkit, in order: "hide", "scale 7",
// "error tranfer_err|<title>|<text>".
std::vector<std::string> &uiEvents();
// A realized, viewable application shell; nullptr when there is no display.
Widget testShell();

// A simulator on a fresh pty reachable as <tmp>/ttyPBX, locks in <tmp>/lock.
struct Line {
    explicit Line(const pbxsim::State &state = pbxsim::defaultState());
    ~Line();
    int open();              // openSer on the device; fd is kept
    void ended() { fd = -1; } // stop_conn has closed it
    // Waits until the simulator received count bytes (since clearLogs).
    bool waitReceived(std::size_t count, int ms = 2000);
    std::string lockPath() const { return dir.file("lock/LCK..ttyPBX"); }

    TempDir dir;
    pbxsim::Simulator sim;
    std::string device;
    int fd = -1;
};

Bytes frameBytes(const pbxsim::Frame &f);
// Every byte the simulator received, without zero runs, split in frames.
std::vector<Bytes> framesFrom(const pbxsim::Simulator &sim, char dir);
