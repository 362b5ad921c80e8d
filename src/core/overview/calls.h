// The call lists as the overview counts them: read back from the CSV the
// window saves ("CVS sichern") or from kelvoractl's sheet (calls --sheet), or
// taken from the stores the window holds through that same sheet.
#pragma once

#include "charges/callsheet.h"

#include <string>
#include <vector>

namespace overview {

struct Call {
    std::string extension; // the list's "Tl" column: "21", "--"
    CivilDate date;        // year 0: no such day
    int hour = -1;         // -1 unknown
    long seconds = -1;     // outgoing only
    long cents = -1;       // charge in pfennig; outgoing only
    std::string number, name; // ISO 8859-1
};

struct Calls {
    bool outgoing = true;
    std::vector<Call> calls;
};

// Reads either form; a day without a year (the window's CSV) is the last such
// day up to today.  False, with why, for a text that is neither.
bool readCallCsv(const std::string &bytes, CivilDate today, Calls &calls, std::string &why);
// The records of a store as the sheet writes them (names from record).
Calls callsOfStore(const CallRead &list, const std::vector<unsigned char> &store, CivilDate today,
                  const unsigned char *record);

} // namespace overview
