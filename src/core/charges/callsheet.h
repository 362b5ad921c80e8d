// The call lists as a table for spreadsheets: UTF-8 with a byte-order mark,
// semicolons, a header row; dates with the year, durations as h:mm:ss, charges
// with a decimal comma and numbers kept as text, as a German spreadsheet reads
// them.  The lists' own files are untouched by it.
#pragma once

#include "charges/calltransfer.h"

#include <string>
#include <vector>

struct CivilDate {
    int year = 0, month = 0, day = 0; // year 0: no such day
};

// The records keep no year: the last day of that day and month that is not
// after today.  No date for a day no year has (31.04, unset 00.00).
CivilDate lastSuchDay(int day, int month, CivilDate today);

// Today by the local clock.
CivilDate localToday();

// Header and one row per non-empty record, in position order; names from
// record's speed-dial directory.
std::string callSheet(const CallRead &list, const std::vector<unsigned char> &store, CivilDate today,
                      const unsigned char *record);
