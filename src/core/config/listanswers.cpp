#include "config/listanswers.h"

#include "config/record.h"
#include "link/protocol.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Where a read's answer data goes and how much room it has there.  Answers
// longer than the room are cut, so no read reaches the next region.
struct ListPlace {
    ConfigRead read;
    std::size_t from; // first data byte of the answer
    std::size_t offset;
    std::size_t room;
};

// Port answers carry the port count in their first data byte; the block itself
// follows.  The S0 subscriber data lies in the tail of its port block.
constexpr std::size_t s0TlnRoom = rec::PortBlockSize - rec::S0TlnInBlock;
const ListPlace places[] = {
    {{K_READ_SO_PORT, 0, "K_READ_SO_PORT #0"}, 5, rec::PortBlock0, rec::PortBlockSize},
    {{K_READ_SO_PORT, 1, "K_READ_SO_PORT #1"}, 5, rec::PortBlock0 + rec::PortBlockSize, rec::PortBlockSize},
    {{K_READ_SO_PORT, 2, "K_READ_SO_PORT #2"}, 5, rec::PortBlock0 + 2 * rec::PortBlockSize, rec::PortBlockSize},
    {{K_READ_S0_TLN, 0, "K_READ_S0_TLN #0"}, 4, rec::PortBlock0 + rec::S0TlnInBlock, s0TlnRoom},
    {{K_READ_S0_TLN, 1, "K_READ_S0_TLN #1"}, 4, rec::PortBlock0 + rec::PortBlockSize + rec::S0TlnInBlock, s0TlnRoom},
    {{K_READ_S0_TLN, 2, "K_READ_S0_TLN #2"}, 4, rec::PortBlock0 + 2 * rec::PortBlockSize + rec::S0TlnInBlock,
     s0TlnRoom},
    {{K_READ_TLN_RUFNR_LIST, 0, "K_READ_TLN_RUFNR_LIST"}, 4, rec::RufnrList, rec::RufnrListSize},
    {{K_READ_TLN_BER_LIST, 0, "K_READ_TLN_BER_LIST"}, 4, rec::BerList, rec::BerListSize},
    {{K_READ_TLN_RUF_VERT_LIST, 0, "K_READ_TLN_RUF_VERT_LIST"}, 4, rec::RufVertList, rec::RufVertListSize},
    {{K_READ_ST_KON_LIST, 0, "K_READ_ST_KON_LIST"}, 4, rec::StKonList, rec::StKonListSize},
    {{K_READ_TLN_GEB_KONF_LIST, 0, "K_READ_TLN_GEB_KONF_LIST"}, 4, rec::GebKonfList, rec::GebKonfListSize},
    {{K_READ_ANL_DAT_LIST, 0, "K_READ_ANL_DAT_LIST"}, 4, rec::AnlDatList, rec::AnlDatListSize},
};
static_assert(std::size(places) == ConfigReadCount);

// The answer's data bytes from..length-1, as many as there are (none for an
// answer too short to carry data).
std::size_t dataBytes(int length, std::size_t from)
{
    return length > int(from) ? std::size_t(length) - from : 0;
}

} // namespace

const ConfigRead &configRead(int step) { return places[step].read; }

bool storeConfigAnswer(unsigned char *record, int step, const unsigned char *answer, int length)
{
    if (step < 0 || step >= ConfigReadCount)
        return false;
    const ListPlace &p = places[step];
    if (p.read.code == K_READ_SO_PORT && p.read.index == 0 && length > 4)
        record[rec::TypeByte] = static_cast<unsigned char>(answer[4] - 1);
    std::size_t count = std::min(dataBytes(length, p.from), p.room);
    if (count > 0)
        std::memcpy(record + p.offset, answer + p.from, count);
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
