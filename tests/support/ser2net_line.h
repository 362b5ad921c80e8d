// The simulator's pty served over the network by the real ser2net: a
// configuration written for it (telnet with RFC 2217 on 127.0.0.1 at a free
// port, the line at 9600 8N1 without flow control, so that only the program's
// own requests can set it to 4800 8N2 RTS/CTS; a pty keeps no parity and no
// data size but 8), ser2net started as a child and
// stopped with the fixture.  The program's network locks go to <tmp>/run
// ($XDG_RUNTIME_DIR) for as long as it lives; the simulator logs its frames and
// the line's settings to <tmp>/pbx.log.
#pragma once

#include "support/net_relay.h"
#include "support/sim_line.h"

#include <string>
#include <sys/types.h>

struct Ser2netLine : SimLine {
    explicit Ser2netLine(const pbxsim::State &state = pbxsim::defaultState());
    ~Ser2netLine();
    // Starts ser2net on the simulator's line; false (with why) when it did not come up.
    bool serve(std::string *why);
    // Kills ser2net at once (SIGKILL): its connections break without a word.
    void killServer();
    // "rfc2217://127.0.0.1:<port>"
    std::string netDevice() const { return "rfc2217://127.0.0.1:" + std::to_string(port); }
    std::string netLockPath() const { return dir.file("run/LCK..127.0.0.1_" + std::to_string(port)); }

    int port = 0;
    pid_t server = -1;
    std::string oldRuntime;
    bool hadRuntime = false;
};
