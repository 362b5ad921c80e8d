// The charge counters' answer: 30 little-endian 32-bit counters (pfennig) in
// its data.  A pure decode that reads the answer's bytes 0..length-1 and
// nothing beyond; counters the answer lacks (or has only in part) read their
// missing bytes as zero, as from the cleared receive buffer.
#pragma once

#include <cstdint>

constexpr int ChargeCounters = 30;
constexpr std::int32_t NoChargeCounter = 0x5A5A5A5A; // the subscriber has no counter

void decodeCounters(std::int32_t *counters, const unsigned char *answer, int length);
