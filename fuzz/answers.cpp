// Answers off the line into the record.
//
// Input: [kind] [index low] [index high] line bytes...
// kind (mod 18) chooses what the answer is taken for: 0-11 the configuration
// reads in their order, 12 the ROM version, 13 a subscriber record, 14 a
// speed-dial block, 15/16 the local and blocked prefix lists, 17 the charge
// counters.  The index (16 bits, signed) is the subscriber record or the first
// speed-dial slot, so out-of-range indexes come too.
//
// The line bytes go through the answer path the program reads the line with
// (zero bytes skipped, length byte, the bytes, the checksum check) from a
// byte source in memory; every answer that passes is stored, from a heap copy
// of exactly its length.  The same store then runs once more on the line
// bytes themselves (at most 255 of them), checksum or not, so every length
// 0..255 reaches the copies.  Each store is checked against what it must do:
// the bytes of its region, and no byte of the record outside it.
#include "charges/counters.h"
#include "config/listanswers.h"
#include "config/lists.h"
#include "config/record.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "speeddial/kwzanswers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int KindCount = 18;
constexpr int KindVersion = 12, KindTln = 13, KindKwz = 14, KindLocal = 15, KindBlocked = 16, KindCounters = 17;
constexpr unsigned char Fill = 0xA5;

[[noreturn]] void fail(const char *what, int kind, int index, int length)
{
    std::fprintf(stderr, "answers: %s (kind %d, index %d, length %d)\n", what, kind, index, length);
    std::abort();
}

// Where an answer's data must go, written out here from the record's layout.
struct Region {
    std::size_t offset = 0;
    std::size_t room = 0;
    std::size_t from = 4; // first data byte of the answer
};

Region configRegion(int step)
{
    constexpr std::size_t s0 = rec::PortBlockSize - rec::S0TlnInBlock;
    switch (step) {
    case 0: case 1: case 2:
        return {rec::PortBlock0 + rec::PortBlockSize * std::size_t(step), rec::PortBlockSize, 5};
    case 3: case 4: case 5:
        return {rec::PortBlock0 + rec::PortBlockSize * std::size_t(step - 3) + rec::S0TlnInBlock, s0, 4};
    case 6: return {rec::RufnrList, rec::RufnrListSize, 4};
    case 7: return {rec::BerList, rec::BerListSize, 4};
    case 8: return {rec::RufVertList, rec::RufVertListSize, 4};
    case 9: return {rec::StKonList, rec::StKonListSize, 4};
    case 10: return {rec::GebKonfList, rec::GebKonfListSize, 4};
    default: return {rec::AnlDatList, rec::AnlDatListSize, 4};
    }
}

std::size_t dataOf(int length, std::size_t from) { return length > int(from) ? std::size_t(length) - from : 0; }

// Stores one answer of exactly length bytes (a heap block of that size, so a
// read beyond it is caught) and checks the record afterwards.
void storeAndCheck(int kind, int index, const unsigned char *bytes, int length)
{
    std::unique_ptr<unsigned char[]> answer(new unsigned char[std::size_t(std::max(length, 1))]);
    if (length > 0)
        std::memcpy(answer.get(), bytes, std::size_t(length));
    // One record for every run, of exactly its size: filled once, and put
    // back after each check, which proves it held nothing else.
    static unsigned char *const record = [] {
        auto *r = new unsigned char[rec::RecordSize];
        std::memset(r, Fill, rec::RecordSize);
        return r;
    }();
    static const std::vector<unsigned char> filled(rec::RecordSize, Fill);
    const unsigned char *a = answer.get();

    Region region; // room 0: nothing may change
    bool zeroTail = false;
    if (kind < ConfigListCount) {
        if (!storeConfigAnswer(record, kind, a, length))
            fail("configuration read refused", kind, index, length);
        region = configRegion(kind);
        if (kind == 0 && length > 4) {
            if (record[rec::TypeByte] != static_cast<unsigned char>(a[4] - 1))
                fail("PBX type not taken from the port count", kind, index, length);
            record[rec::TypeByte] = Fill;
        }
    } else if (kind == KindVersion) {
        char text[256];
        std::memset(text, 'x', sizeof text);
        // A small buffer too, so the cut shows.
        std::size_t size = std::size_t(index & 0xFF) + 1;
        storeVersion(text, size, a, length);
        std::size_t n = std::strlen(text);
        if (n >= size)
            fail("version text not cut to its buffer", kind, index, length);
        std::size_t data = dataOf(length, 4);
        if (n > data || std::memcmp(text, a + 4, n) != 0)
            fail("version text is not the answer's", kind, index, length);
        if (n < data && n + 1 < size && a[4 + n] != 0)
            fail("version text ends early", kind, index, length);
        if (size < sizeof text && text[size] != 'x')
            fail("version text written past its end", kind, index, length);
    } else if (kind == KindTln) {
        bool valid = index >= 0 && index < rec::TlnCount;
        if (storeTlnAnswer(record, index, a, length) != valid)
            fail("subscriber index check", kind, index, length);
        if (valid) {
            region = {rec::TlnData + rec::TlnDataSize * std::size_t(index), rec::TlnDataSize, 4};
            zeroTail = true;
        }
    } else if (kind == KindKwz) {
        bool valid = index >= 0 && index < rec::KwzCount;
        int data = storeKwzBlock(record, index, a, length);
        if ((data >= 0) != valid || (valid && data != int(dataOf(length, 4))))
            fail("speed-dial block result", kind, index, length);
        if (valid) {
            std::size_t slots = std::size_t(std::min(rec::KwzBlockSlots, rec::KwzCount - index));
            region = {rec::KwzNumbers + rec::KwzNumberSize * std::size_t(index), rec::KwzNumberSize * slots, 4};
        }
    } else if (kind == KindLocal || kind == KindBlocked) {
        PrefixList list = kind == KindLocal ? PrefixList::Local : PrefixList::Blocked;
        if (storePrefixList(record, list, a, length) != int(dataOf(length, 4)))
            fail("prefix list result", kind, index, length);
        region = {kind == KindLocal ? rec::NahBerList : rec::SperrBerList, rec::PrefixListSize, 4};
    } else if (kind == KindCounters) {
        std::int32_t counters[ChargeCounters + 1];
        counters[ChargeCounters] = 0x11223344;
        decodeCounters(counters, a, length);
        if (counters[ChargeCounters] != 0x11223344)
            fail("counters written past the last", kind, index, length);
        for (int i = 0; i < ChargeCounters; i++) {
            std::uint32_t expected = 0;
            for (int k = 3; k >= 0; k--) {
                std::size_t at = 4 + 4 * std::size_t(i) + std::size_t(k);
                expected = expected << 8 | (int(at) < length ? a[at] : 0);
            }
            if (std::uint32_t(counters[i]) != expected)
                fail("counter value", kind, index, length);
        }
    }

    std::size_t count = std::min(dataOf(length, region.from), region.room);
    for (std::size_t k = 0; k < region.room; k++) {
        unsigned char want = k < count ? a[region.from + k] : zeroTail ? 0 : Fill;
        if (record[region.offset + k] != want)
            fail("wrong byte in the region", kind, index, length);
    }
    std::memset(record + region.offset, Fill, region.room);
    if (std::memcmp(record, filled.data(), rec::RecordSize) != 0)
        fail("byte outside the region changed", kind, index, length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    int kind = data[0] % KindCount;
    int index = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const unsigned char *line = data + 3;
    std::size_t lineSize = size - 3;

    // The answer path, answer after answer, as long as the line has bytes.
    MemorySource source(line, lineSize);
    std::vector<unsigned char> buffer(RecvBufSize);
    for (int n = 0; n < 16 && source.consumed() < lineSize; n++) {
        std::size_t start = source.consumed();
        int error = -1;
        int length = receivePacket(source, buffer.data(), &error);
        if (length == 0) {
            if (error != ANS_TRANSFER && error != ANS_CRC)
                fail("failed answer without its code", kind, index, int(start));
            // Nothing of a failed answer but its bytes may be in the buffer.
            continue;
        }
        if (error != 0 || length < 4 || length > MaxFrame || buffer[0] != length || !isCheckSumOK(buffer.data(), length))
            fail("answer passed that is none", kind, index, length);
        for (std::size_t i = std::size_t(length); i < RecvBufSize; i++)
            if (buffer[i] != 0)
                fail("receive buffer not cleared beyond the answer", kind, index, length);
        storeAndCheck(kind, index, buffer.data(), length);
    }

    // Every length straight into the copies.
    int raw = int(std::min<std::size_t>(lineSize, MaxFrame));
    storeAndCheck(kind, index, line, raw);
    return 0;
}
