// Calls as the tests make them up: 1000 outgoing and 75 incoming records for
// pbxsim, a speed-dial file that names some of their numbers, and the lines the
// program must make of them (text and CSV), from the tests' own reading of the
// record layouts.  Shared by the window's end-to-end test and kelvoractl's.
#pragma once

#include "pbxsim/pbxsim.h"

#include <cstdint>
#include <string>

struct Call {
    unsigned who, month, day, hour, minute;
    std::string number; // digits, or "-----" / "#9"
    std::uint32_t charge = 0;
    std::uint16_t seconds = 0;
};

Call outgoingCall(int k);
Call incomingCall(int k);
// The speed-dial file (13060 bytes) whose entry j names outgoing call 5 * j.
std::string callNamesFile();
// The line of call k as the lists save it: text form (out: with charge and
// duration), or the outgoing list's CSV form.
std::string callTextLine(int k, const Call &c, bool out);
std::string callCsvLine(const Call &c);
// pbxsim's default state with these calls in its memory.
pbxsim::State pbxWithCalls();
