// The overview page: one self-contained HTML page (UTF-8, CSS inside, no
// script, nothing fetched) for the browser and the printer, with the check's
// findings at the top.
#pragma once

#include "overview/calls.h"

#include <string>

namespace overview {

struct PageInput {
    const unsigned char *record = nullptr; // rec::RecordSize bytes
    std::string fileName;                  // what the header names (ISO 8859-1)
    std::string made;                      // when, as the header shows it ("10.12.2026 12:05")
    bool speedDial = false;                // the record holds a speed-dial directory
    bool subscriberData = false;           // ... and subscriber records
    const Calls *outgoing = nullptr, *incoming = nullptr;
};

std::string overviewPage(const PageInput &input);
// Now by the local clock, as the header shows when a page was made.
std::string madeNow();

} // namespace overview
