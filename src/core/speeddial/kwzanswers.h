// Where the speed-dial answers go in the record.  Pure copies: they read the
// answer's bytes 0..length-1 and nothing beyond, write only the region the
// answer belongs to, and take a record of rec::RecordSize bytes.  Bytes the
// answer does not carry keep what they held.
#pragma once

#include <cstddef>

// The number slots from slot first on (the block of 8 read with that index):
// at most the 8 slots' 200 bytes, and never past the last slot.  The answer's
// data length, or -1 (record untouched) for a first slot that is none.
int storeKwzBlock(unsigned char *record, int first, const unsigned char *answer, int length);

enum class PrefixList { Local, Blocked };
// A prefix list, cut to its 120 bytes: the answer's data length.
int storePrefixList(unsigned char *record, PrefixList list, const unsigned char *answer, int length);
