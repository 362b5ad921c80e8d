// The charge counters: 30 little-endian 32-bit counters (pfennig) in the data
// of the PBX's answer, read and reset over the line, and listed as the window
// lists them.
#pragma once

#include "link/transfer.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int ChargeCounters = 30;
constexpr std::int32_t NoChargeCounter = 0x5A5A5A5A; // the subscriber has no counter

// A pure decode that reads the answer's bytes 0..length-1 and nothing beyond;
// counters the answer lacks (or has only in part) read their missing bytes as
// zero, as from the cleared receive buffer.
void decodeCounters(std::int32_t *counters, const unsigned char *answer, int length);

// Reads the 30 counters (those the answer lacks read as 0).
TransferResult readChargeCounters(std::int32_t *counters, TransferObserver &observer);
// Resets every counter in the PBX to zero.
TransferResult resetChargeCounters(TransferObserver &observer);

// The list as the window shows it: one line per subscriber with a counter and
// an internal number in the record (" AB  #1     (#21)    12.34 DM"), and the
// total of those lines ("12.34 DM").
struct CounterList {
    std::vector<std::string> lines;
    std::string total;
};
CounterList counterList(const std::int32_t *counters, const unsigned char *record);
