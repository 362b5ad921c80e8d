// The transfers the fault matrix runs, one row each: how to start it, how many
// answers its body takes, and what it leaves behind after it ran through, after
// its begin was not acknowledged, or after a failure midway.
//
// Adding a transfer is adding one row to transfers() (transfers.cpp); the
// matrix crosses every row with every fault at the begin, the first, a middle
// and the last step of its body and at the end.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/program.h"
#include "ui/transferwindow.h" // the window's flavour of the protocol: adviceText

#include <X11/Intrinsic.h>
#include <functional>
#include <string>
#include <vector>

using RecordBytes = std::vector<unsigned char>;

// How a transfer ended and how far its body got.
struct Outcome {
    enum How { Done, Refused, Failed } how;
    int reached; // body steps whose answers were taken (all of them when Done)
};

struct Transfer {
    const char *name; // the test names start with it: ConfigRead_Silent_Last
    bool writes = false; // its body sends data frames, each acknowledged; else it reads
    int steps;        // answers its body takes from the PBX state pbx() gives
    std::function<pbxsim::State()> pbx = pbxsim::defaultState;
    // Puts the record (already scribbled over, see scribbleRecord), the dialogs
    // and the windows in the state the transfer starts from; the line is set.
    std::function<void()> prepare;
    // Starts the transfer as the user does; returns when it has ended.
    std::function<void()> run;
    // Turns the record as it was before the transfer into the record the
    // transfer must leave; pbx is the state the PBX held.  None: left alone.
    std::function<void(RecordBytes &record, const pbxsim::State &pbx, const Outcome &)> leaves =
        [](RecordBytes &, const pbxsim::State &, const Outcome &) {};
    // What the windows show that the transfer could change, as text ("" for a
    // transfer that shows nothing), and what they must show after it (none:
    // what they showed before).
    std::function<std::string()> view;
    std::function<std::string(const std::string &before, const pbxsim::State &pbx, const Outcome &)> shows =
        [](const std::string &before, const pbxsim::State &, const Outcome &) { return before; };
    // Writing transfers: after a run that went through, "" when the PBX holds
    // what the record says, else what differs.  Reading ones leave it empty.
    std::function<std::string(const RecordBytes &record, const pbxsim::State &pbx)> took = {};
    // The working dialogs it may show (names below dialogParent()); none may be
    // left on the screen.
    std::vector<const char *> workingBoxes;
    std::function<Widget()> dialogParent = programTop;
};

const std::vector<Transfer> &transfers();

// Every byte of the record before the bookkeeping its own value, unlike what
// the simulator holds.
void scribbleRecord();
RecordBytes recordBytes();
