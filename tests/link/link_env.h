// Helpers for the link tests: a pbxsim behind a fresh pty or a hand-written
// line, the application shell on the screen, the transfer error box, and the order of windows
// appearing and going away.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/pty_peer.h"
#include "support/sim_line.h"
#include "support/tempdir.h"
#include "ui/transferwindow.h" // the window's flavour of the protocol and transfers

#include <X11/Intrinsic.h>
#include <memory>
#include <string>
#include <vector>

// The tests' application shell, mapped and viewable (the parent of transfers).
Widget mainShell();
// The transfer error box on the screen, or nullptr.
Widget shownError();
// "<title>|<message>" of the transfer error box on the screen, "" when none;
// closes the box.
std::string takeError();
// A working dialog as the transfers show it.
Widget showWorking();

// Watches the top-level windows of the display from a second connection, so
// the order of mapping and unmapping is the server's.
class WindowOrder {
public:
    WindowOrder();
    ~WindowOrder();
    // Position of the first map (or unmap) of window w since construction; -1 if none.
    int mapped(Window w);
    int unmapped(Window w);

private:
    void collect();
    int position(int type, Window w);
    Display *dpy_;
    std::vector<std::pair<int, Window>> events_;
};

using Line = SimLine;

// A line whose other end the test writes by hand (a raw pty), opened by the
// program without a lock directory.
struct HandLine {
    TempDir dir;
    std::unique_ptr<PtyPeer> peer = std::make_unique<PtyPeer>(); // reset: the other end is gone
    int fd = -1;
    HandLine();
    ~HandLine();
};

// Every byte the simulator received, without zero runs, split in frames.
std::vector<Bytes> framesFrom(const pbxsim::Simulator &sim, char dir);
