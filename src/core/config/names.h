// The subscribers as the window names them ("AB  #1" .. "S1  #9") and their
// internal numbers: for lists and labels of both programs.
#pragma once

// Subscriber i (0..29); nullptr for any other index.
const char *subscriberName(int i);
// The internal number slot of subscriber i in the current PBX's share of a
// record of rec::RecordSize bytes (3 bytes, not always terminated); nullptr
// when the slot is empty or i is none.
const char *internalNumber(const unsigned char *record, int i);
