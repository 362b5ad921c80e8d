#include "config/record.h"

#include <algorithm>
#include <cstring>
#include <vector>

unsigned char *all = nullptr;

namespace {
// Kept beside the image: a 64-bit pointer does not fit the record's 4-byte slot.
const char *devicePathValue = nullptr;
} // namespace

const char *devicePath() { return devicePathValue; }

void setDevicePath(const char *path) { devicePathValue = path; }

void setFlags(unsigned char *record, int value)
{
    putLe32(record + rec::CfgValid, std::uint32_t(value));
    putLe32(record + rec::CfgChanges, std::uint32_t(value));
}

namespace {

struct Span {
    std::size_t from, size;
};

Span spanOf(FileKind part)
{
    switch (part) {
    case FileKind::Configuration: return {0, rec::PbxImageSize};
    case FileKind::Subscribers: return {rec::TlnData, rec::TlnCount * rec::TlnDataSize};
    case FileKind::SpeedDial: break;
    }
    return {rec::KwzHeader, rec::KwzSizeInFile};
}

// The bytes of each part as last saved, loaded, read or programmed; empty for
// the zeros the record starts with.
std::vector<unsigned char> &cleanCopy(FileKind part)
{
    static std::vector<unsigned char> copies[3];
    return copies[static_cast<int>(part)];
}

} // namespace

void markClean(FileKind part, const unsigned char *record)
{
    Span s = spanOf(part);
    cleanCopy(part).assign(record + s.from, record + s.from + s.size);
}

void forgetClean()
{
    for (FileKind p : {FileKind::Configuration, FileKind::Subscribers, FileKind::SpeedDial})
        cleanCopy(p).clear();
}

bool unsavedChanges(FileKind part)
{
    if (!all)
        return false;
    Span s = spanOf(part);
    const std::vector<unsigned char> &clean = cleanCopy(part);
    if (clean.empty())
        return std::any_of(all + s.from, all + s.from + s.size, [](unsigned char b) { return b != 0; });
    return std::memcmp(all + s.from, clean.data(), s.size) != 0;
}
