// pbxsim's frame log, read back: one entry per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PbxLogEntry {
    char dir = 0;                   // '<' from the program, '>' to it, '#' a note
    std::vector<std::uint8_t> bytes; // a frame
    std::size_t zeros = 0;          // a run of zero bytes ("00*N"); bytes is empty then
    std::string note;               // what follows "# "
};

std::vector<PbxLogEntry> parsePbxLog(const std::string &text);
// The entries' frames in the direction dir, zero runs and notes left out.
std::vector<std::vector<std::uint8_t>> framesOf(const std::vector<PbxLogEntry> &log, char dir);
