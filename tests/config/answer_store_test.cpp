// Where the answers of the configuration and subscriber reads land in the
// record: their own region, cut to its room, and nothing beyond it, for every
// length an answer can have.
#include <gtest/gtest.h>

#include "config/listanswers.h"
#include "config/lists.h"
#include "config/record.h"
#include "link/protocol.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
constexpr unsigned char Fill = 0xA5;

Bytes answerOfLength(int length)
{
    Bytes a(std::size_t(length > 0 ? length : 1));
    for (std::size_t i = 0; i < a.size(); i++)
        a[i] = static_cast<unsigned char>(i * 7 + 3);
    return a;
}

struct StoreCase {
    std::string name;
    std::function<bool(unsigned char *, const unsigned char *, int)> store;
    int length;
    bool taken;
    std::size_t offset, room, from;
    bool zeroTail; // the region's rest is cleared rather than kept
};

std::vector<StoreCase> storeCases()
{
    auto step = [](int s) {
        return [s](unsigned char *r, const unsigned char *a, int n) { return storeConfigAnswer(r, s, a, n); };
    };
    auto tln = [](int i) {
        return [i](unsigned char *r, const unsigned char *a, int n) { return storeTlnAnswer(r, i, a, n); };
    };
    const std::size_t port2 = rec::PortBlock0 + 2 * rec::PortBlockSize;
    const std::size_t tln29 = rec::TlnData + 29 * rec::TlnDataSize;
    return {
        {"port 1 whole", step(1), 200, true, rec::PortBlock0 + rec::PortBlockSize, rec::PortBlockSize, 5, false},
        {"port 2 overlong stops at the port area's end", step(2), 255, true, port2, rec::PortBlockSize, 5, false},
        {"S0 data of port 2 overlong", step(5), 255, true, port2 + rec::S0TlnInBlock, 80, 4, false},
        {"S0 data of port 0 short", step(3), 20, true, rec::PortBlock0 + rec::S0TlnInBlock, 80, 4, false},
        {"numbers list", step(6), 204, true, rec::RufnrList, rec::RufnrListSize, 4, false},
        {"control contacts overlong", step(9), 255, true, rec::StKonList, rec::StKonListSize, 4, false},
        {"PBX data overlong stops at the image's end", step(11), 255, true, rec::AnlDatList, rec::AnlDatListSize, 4,
         false},
        {"answer without data", step(7), 4, true, rec::BerList, rec::BerListSize, 4, false},
        {"no answer bytes at all", step(8), 0, true, rec::RufVertList, rec::RufVertListSize, 4, false},
        {"step past the last", step(ConfigListCount), 255, false, 0, 0, 4, false},
        {"negative step", step(-1), 255, false, 0, 0, 4, false},
        {"subscriber 0 short: rest cleared", tln(0), 10, true, rec::TlnData, rec::TlnDataSize, 4, true},
        {"subscriber 29 overlong stops at the speed dial", tln(29), 255, true, tln29, rec::TlnDataSize, 4, true},
        {"subscriber 29 without data", tln(29), 3, true, tln29, rec::TlnDataSize, 4, true},
        {"subscriber 30", tln(30), 255, false, 0, 0, 4, false},
        {"subscriber -1", tln(-1), 255, false, 0, 0, 4, false},
    };
}

TEST(AnswerStore, EachAnswerFillsItsRegionAndNothingElse)
{
    for (const StoreCase &c : storeCases()) {
        Bytes record(rec::RecordSize, Fill);
        Bytes answer = answerOfLength(c.length);
        EXPECT_EQ(c.store(record.data(), answer.data(), c.length), c.taken) << c.name;
        Bytes want(rec::RecordSize, Fill);
        std::size_t data = c.length > int(c.from) ? std::size_t(c.length) - c.from : 0;
        for (std::size_t k = 0; k < c.room; k++)
            want[c.offset + k] = k < data ? answer[c.from + k] : c.zeroTail ? 0 : Fill;
        if (c.offset == rec::PortBlock0 && c.from == 5 && c.length > 4)
            want[rec::TypeByte] = static_cast<unsigned char>(answer[4] - 1);
        for (std::size_t i = 0; i < rec::RecordSize; i++)
            if (record[i] != want[i]) {
                ADD_FAILURE() << c.name << ": byte " << i << " is " << int(record[i]) << ", not " << int(want[i]);
                break;
            }
    }
}

TEST(AnswerStore, PortZeroGivesThePbxTypeFromThePortCount)
{
    for (int ports : {1, 2, 3}) {
        Bytes record(rec::RecordSize, Fill);
        Bytes answer(200, 0);
        answer[0] = 200;
        answer[4] = static_cast<unsigned char>(ports);
        storeConfigAnswer(record.data(), 0, answer.data(), 200);
        EXPECT_EQ(record[rec::TypeByte], ports - 1) << ports;
    }
}

TEST(AnswerStore, VersionTextEndsAtItsZeroByteOrItsBuffer)
{
    auto answerWith = [](const std::string &text, int length) {
        Bytes a(std::size_t(length), 'v');
        std::memcpy(a.data() + 4, text.data(), std::min(text.size(), a.size() - 4));
        return a;
    };
    Bytes terminated = answerWith(std::string("V1.13 vom 12.05.98") + '\0', 30);
    struct {
        const char *name;
        Bytes answer;
        int length;
        std::size_t size;
        std::string text;
    } cases[] = {
        {"terminated", terminated, 30, 256, "V1.13 vom 12.05.98"},
        {"cut to the buffer", terminated, 30, 6, "V1.13"},
        {"no zero byte: all the data", answerWith("", 255), 255, 256, std::string(251, 'v')},
        {"no zero byte, small buffer", answerWith("", 255), 255, 10, std::string(9, 'v')},
        {"no data", answerWith("", 4), 4, 256, ""},
        {"shorter than its header", Bytes(2, 'v'), 2, 256, ""},
    };
    for (const auto &c : cases) {
        std::string buffer(c.size + 8, 'x');
        storeVersion(buffer.data(), c.size, c.answer.data(), c.length);
        EXPECT_EQ(std::string(buffer.c_str()), c.text) << c.name;
        EXPECT_EQ(buffer.substr(c.size), std::string(8, 'x')) << c.name << ": written past the buffer";
    }
}

// A list is read and written under codes 32 apart and the same index, and no
// two lists share a byte unless one is the tail of a port block.
TEST(ListTable, ReadAndWriteAgreeOnEachList)
{
    for (const ConfigList &l : configLists) {
        EXPECT_EQ(l.writeCode, l.readCode + 32) << l.title;
        EXPECT_EQ(l.writeSub, l.readCode <= K_READ_S0_TLN ? l.readIndex : NoSubCode) << l.title;
        for (const ConfigList &o : configLists) {
            bool overlap = &o != &l && o.region < l.region + l.readSize && l.region < o.region + o.readSize;
            auto tailOf = [](const ConfigList &s0, const ConfigList &port) {
                return s0.readCode == K_READ_S0_TLN && port.readCode == K_READ_SO_PORT && s0.readIndex == port.readIndex;
            };
            EXPECT_TRUE(!overlap || tailOf(l, o) || tailOf(o, l)) << l.title << " and " << o.title;
        }
    }
}

} // namespace
