#include "config/record.h"

unsigned char *all = nullptr;

namespace {
// Kept beside the image: a 64-bit pointer does not fit the record's 4-byte slot.
const char *devicePathValue = nullptr;
} // namespace

const char *devicePath() { return devicePathValue; }

void setDevicePath(const char *path) { devicePathValue = path; }

void setFlags(int value)
{
    setRecInt(rec::CfgValid, value);
    setRecInt(rec::CfgChanges, value);
}
