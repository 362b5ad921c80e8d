#include "config/listanswers.h"

#include "config/lists.h"
#include "config/record.h"
#include "link/protocol.h"

#include <algorithm>
#include <cstring>

namespace {

// The answer's data bytes from..length-1, as many as there are (none for an
// answer too short to carry data).
std::size_t dataBytes(int length, std::size_t from)
{
    return length > int(from) ? std::size_t(length) - from : 0;
}

} // namespace

bool storeConfigAnswer(unsigned char *record, int step, const unsigned char *answer, int length)
{
    if (step < 0 || step >= ConfigListCount)
        return false;
    const ConfigList &l = configLists[step];
    if (l.readCode == K_READ_SO_PORT && l.readIndex == 0 && length > 4)
        record[rec::TypeByte] = static_cast<unsigned char>(answer[4] - 1);
    std::size_t count = std::min(dataBytes(length, l.dataFrom), l.readSize);
    if (count > 0)
        std::memcpy(record + l.region, answer + l.dataFrom, count);
    return true;
}

void storeVersion(char *text, std::size_t size, const unsigned char *answer, int length)
{
    std::size_t data = dataBytes(length, 4);
    std::size_t n = data ? strnlen(reinterpret_cast<const char *>(answer + 4), std::min(data, size - 1)) : 0;
    if (n > 0)
        std::memcpy(text, answer + 4, n);
    text[n] = '\0';
}

bool storeTlnAnswer(unsigned char *record, int i, const unsigned char *answer, int length)
{
    if (i < 0 || i >= rec::TlnCount)
        return false;
    unsigned char *target = record + rec::TlnData + rec::TlnDataSize * std::size_t(i);
    std::size_t count = std::min(dataBytes(length, 4), rec::TlnDataSize);
    if (count > 0)
        std::memcpy(target, answer + 4, count);
    std::memset(target + count, 0, rec::TlnDataSize - count);
    return true;
}
