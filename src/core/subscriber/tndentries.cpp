#include "subscriber/tndentries.h"

#include "config/record.h"

namespace {

// The parts of a record an entry holds, in file order.
struct TndField {
    std::size_t offset;
    std::size_t size;
};
constexpr TndField tndFields[] = {
    {rec::TlnFunc1, 2},
    {rec::TlnWake, 2},
    {rec::TlnBusyTarget, rec::TlnTargetSize},
    {rec::TlnTarget, rec::TlnTargetSize},
    {rec::TlnRingTime, 1},
};
constexpr long entrySize()
{
    long n = 0;
    for (const TndField &f : tndFields)
        n += long(f.size);
    return n;
}
static_assert(entrySize() == TndEntrySize);
static_assert(rec::TlnFunc2 == rec::TlnFunc1 + 1);

std::size_t tlnRecord(int i) { return rec::TlnData + rec::TlnDataSize * std::size_t(i); }

} // namespace

bool writeTndStream(FILE *fp, const unsigned char *record)
{
    for (int i = 0; i < rec::TlnCount; i++)
        for (const TndField &f : tndFields)
            if (std::fwrite(record + tlnRecord(i) + f.offset, 1, f.size, fp) != f.size)
                return false;
    return std::fflush(fp) == 0;
}

int readTndStream(FILE *fp, unsigned char *record)
{
    for (int i = 0; i < rec::TlnCount; i++)
        for (const TndField &f : tndFields)
            if (std::fread(record + tlnRecord(i) + f.offset, 1, f.size, fp) != f.size)
                return i;
    return rec::TlnCount;
}
