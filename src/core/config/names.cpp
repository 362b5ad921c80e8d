#include "config/names.h"

#include "config/record.h"

namespace {

// "SO" with the letter O, as the window has always shown it.
const char *const names[rec::TlnCount] = {
    "AB  #1", "AB  #2", "AB  #3", "AB  #4", "AB  #5", "AB  #6", "AB  #7", "AB  #8", "TFE #1", "TFE #2",
    "SO  #0", "SO  #1", "SO  #2", "SO  #3", "SO  #4", "SO  #5", "SO  #6", "SO  #7", "SO  #8", "SO  #9",
    "S1  #0", "S1  #1", "S1  #2", "S1  #3", "S1  #4", "S1  #5", "S1  #6", "S1  #7", "S1  #8", "S1  #9",
};

} // namespace

const char *subscriberName(int i) { return i >= 0 && i < rec::TlnCount ? names[i] : nullptr; }

const char *internalNumber(const unsigned char *record, int i)
{
    if (i < 0 || i >= rec::TlnCount)
        return nullptr;
    // A record from a file may hold anything there; only PBX B is another share.
    std::size_t share = rec::RufnrList + (getLe32(record + rec::CurrentPbx) == 1 ? rec::RufnrShare : 0);
    const char *slot = reinterpret_cast<const char *>(record + share + rec::IntNumInShare + rec::IntNumSize * std::size_t(i));
    return slot[0] ? slot : nullptr;
}
