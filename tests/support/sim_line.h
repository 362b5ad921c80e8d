// A PBX simulator answering on a fresh pty, reachable as <tmp>/ttyPBX, with the
// program's lock files redirected to <tmp>/lock for as long as it lives.
#pragma once

#include "pbxsim/pbxsim.h"
#include "support/tempdir.h"

#include <string>

// A simulator on a fresh pty reachable as <tmp>/ttyPBX, locks in <tmp>/lock.
struct SimLine {
    explicit SimLine(const pbxsim::State &state = pbxsim::defaultState());
    ~SimLine();
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

