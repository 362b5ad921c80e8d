// pbxsim's answers to every command, over its pty.
#include "sim_client.h"

namespace {

using pbxsim::State;

template <std::size_t N> Bytes bytes(const std::array<std::uint8_t, N> &a, std::size_t from = 0, std::size_t n = N)
{
    return Bytes(a.begin() + long(from), a.begin() + long(from + n));
}

using Reads = SimTest;

// Every answer is a data frame of the list, checksummed like one of ours.
TEST_F(Reads, ConfigurationLists)
{
    State s = sim.state();
    ASSERT_EQ(s.version.substr(0, 5), "V1.13");
    ASSERT_EQ(s.tln[29][0], 29);
    Bytes port1 = {3}; // the port count, then the block
    port1.insert(port1.end(), s.ports[1].begin(), s.ports[1].end());
    Bytes version(s.version.begin(), s.version.end());
    version.push_back(0);
    struct {
        int code, index;
        Bytes want;
    } lists[] = {{0, 1, port1},           {1, 0, bytes(s.ports[0], 115, 79)},
                 {2, 0, bytes(s.rufnr)},  {3, 0, bytes(s.ber)},
                 {4, 0, bytes(s.rufvert)}, {5, 0, bytes(s.gebkonf)},
                 {6, 0, bytes(s.stkon)},  {10, 0, bytes(s.anldat)},
                 {7, 0, bytes(s.nahber)}, {8, 0, bytes(s.sperrber)},
                 {11, 29, bytes(s.tln[29])}, {64, 0, version}};
    beginRead();
    for (auto &l : lists)
        EXPECT_EQ(ask(command(l.code, l.index)), dataFrame(l.code, -1, l.want, false)) << l.code;
}

TEST_F(Reads, SpeedDialBlocksAndChargeCounters)
{
    sim.modifyState([](State &s) {
        for (int i = 0; i < pbxsim::KwzSlots * pbxsim::KwzSlotSize; i++)
            s.kwz[std::size_t(i)] = std::uint8_t(i / pbxsim::KwzSlotSize);
        s.counters[3] = std::uint32_t(-50);
    });
    beginRead();
    Bytes a = ask(command(9, 192));
    ASSERT_EQ(a.size(), 204u);
    EXPECT_EQ(a[4], 192);
    EXPECT_EQ(a.back(), 199);
    a = ask(command(9, 196)); // only four slots are left
    EXPECT_EQ(a.size(), 104u);

    a = ask(command(12, 0));
    ASSERT_EQ(a.size(), 124u);
    EXPECT_TRUE(checksumOk(a));
    EXPECT_EQ(Bytes(a.begin() + 4 + 12, a.begin() + 16 + 4), (Bytes{0xCE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(a.begin() + 4 + 4 * 29, a.end()), (Bytes{0x5A, 0x5A, 0x5A, 0x5A})); // no counter
}

State thousandCalls()
{
    State s = pbxsim::defaultState();
    s.outcalls.clear();
    for (int k = 0; k < pbxsim::MaxOutCalls; k++) {
        pbxsim::OutCall c{};
        c[0] = std::uint8_t(k & 0xFF);
        c[1] = std::uint8_t(k >> 8);
        c[6] = 0x11;
        s.outcalls.push_back(c);
    }
    s.incalls.resize(20);
    for (int k = 0; k < 20; k++)
        s.incalls[std::size_t(k)][0] = std::uint8_t(k + 1);
    return s;
}

struct CallRecords : SimTest {
    CallRecords() : SimTest(thousandCalls()) {}
};

// Outgoing calls ten per answer from a sixteen-bit position, incoming
// fourteen per answer: the size of each answer, and the position (little
// endian) or the first byte of a record in it.
TEST_F(CallRecords, AsManyPerAnswerAsFitFromThePositionAsked)
{
    const struct {
        Bytes frame;
        std::size_t size, at;
        int value; // at bytes at and at+1; -1: none
    } cases[] = {
        {command6(13, 300), 4 + 230, 4, 300},       {command6(13, 300), 4 + 230, 4 + 9 * 23, 309},
        {command6(13, 995), 4 + 5 * 23, 0, -1},     {command6(13, 1000), 4, 0, -1},
        {command(14, 0), 4 + 14 * 17, 4 + 13 * 17, 14}, {command(14, 14), 4 + 6 * 17, 0, -1},
        {command(14, 20), 4, 0, -1},
    };
    beginRead();
    for (const auto &c : cases) {
        Bytes a = ask(c.frame);
        ASSERT_EQ(a.size(), c.size) << hexString(c.frame);
        EXPECT_TRUE(checksumOk(a)) << hexString(c.frame);
        if (c.value >= 0) {
            EXPECT_EQ(a[c.at] | a[c.at + 1] << 8, c.value) << hexString(c.frame);
        }
    }
}

using Writes = SimTest;

TEST_F(Writes, ListsAreChangedCountersResetCallsClearedAndAcknowledged)
{
    State before = sim.state();
    beginWrite();
    EXPECT_EQ(ask(dataFrame(32, 1, Bytes(186, 0xA1))), ack(96));
    EXPECT_EQ(ask(dataFrame(33, 0, Bytes(79, 0xB2))), ack(96));
    Bytes record(123);
    for (int i = 0; i < 123; i++)
        record[std::size_t(i)] = std::uint8_t(i + 1);
    EXPECT_EQ(ask(dataFrame(43, 5, record)), ack(96));
    EXPECT_EQ(ask(dataFrame(41, 192, Bytes(200, '7'))), ack(96));
    EXPECT_EQ(ask(dataFrame(34, -1, Bytes(100, '1'))), ack(96));
    EXPECT_EQ(ask(dataFrame(42, -1, Bytes(112, 0x42))), ack(96));
    EXPECT_EQ(ask(dataFrame(44, -1, Bytes(124, 0))), ack(96)); // counters reset
    client->send(dataFrame(45, -1, {0}));                     // call memory cleared; 5 bytes: no padding
    EXPECT_EQ(answer(), ack(96));
    EXPECT_EQ(ask(command(99, 0)), ack(96));

    State s = sim.state();
    EXPECT_EQ(bytes(s.ports[1], 0, 186), Bytes(186, 0xA1));
    EXPECT_EQ(bytes(s.ports[1], 186, 9), bytes(before.ports[1], 186, 9));
    EXPECT_EQ(bytes(s.ports[0], 115, 79), Bytes(79, 0xB2));
    EXPECT_EQ(bytes(s.ports[0], 0, 115), bytes(before.ports[0], 0, 115));
    EXPECT_EQ(s.tln[5][0], 5);
    EXPECT_EQ(bytes(s.tln[5], 1, 123), record);
    EXPECT_EQ(bytes(s.kwz, 192 * 25, 200), Bytes(200, '7'));
    EXPECT_EQ(bytes(s.kwz, 0, 25), bytes(before.kwz, 0, 25));
    EXPECT_EQ(bytes(s.rufnr, 0, 100), Bytes(100, '1'));
    EXPECT_EQ(bytes(s.rufnr, 100, 100), bytes(before.rufnr, 100, 100)); // PBX B's share
    EXPECT_EQ(bytes(s.anldat), Bytes(112, 0x42));
    EXPECT_EQ(s.counters[0], 0u);
    EXPECT_EQ(s.counters[29], pbxsim::NoCounter);
    EXPECT_TRUE(s.outcalls.empty());
    EXPECT_FALSE(s.incalls.empty());
}

TEST_F(Writes, RefusedFramesAndCommandsLeaveTheStateAlone)
{
    State before = sim.state();
    EXPECT_EQ(ask(dataFrame(32, 0, Bytes(186, 1))), ack(107)); // no write transmission
    beginWrite();
    Bytes bad = dataFrame(32, 0, Bytes(186, 1));
    bad[2] ^= 1;
    EXPECT_EQ(ask(bad), ack(105));
    EXPECT_EQ(ask(dataFrame(32, 3, Bytes(186, 1))), ack(106));
    EXPECT_EQ(ask(dataFrame(32, 0, Bytes(185, 1))), ack(106));
    EXPECT_EQ(ask(dataFrame(41, 193, Bytes(200, 1))), ack(106));
    EXPECT_EQ(ask(command(3, 0)), ack(107)); // no read in a write transmission
    EXPECT_EQ(ask(command(99, 0)), ack(96));
    beginRead(); // a port or subscriber out of range, an unknown list
    EXPECT_EQ(ask(command(0, 3)), ack(106));
    EXPECT_EQ(ask(command(11, 30)), ack(106));
    EXPECT_EQ(ask(command(20, 0)), ack(106));
    EXPECT_EQ(sim.state(), before);
}

TEST_F(Writes, ZeroBytesAndPaddingBetweenFramesAreSkipped)
{
    Bytes line(255, 0);
    Bytes begin = command(97, 0);
    Bytes frame = dataFrame(35, -1, Bytes(50, 9));
    line.insert(line.end(), begin.begin(), begin.end());
    line.insert(line.end(), frame.begin(), frame.end());
    line.insert(line.end(), 255, 0);
    Bytes end = command(99, 0);
    line.insert(line.end(), end.begin(), end.end());
    client->send(line);
    EXPECT_EQ(answer(), ack(96));
    EXPECT_EQ(answer(), ack(96));
    EXPECT_EQ(answer(), ack(96));
    EXPECT_EQ(bytes(sim.state().ber, 0, 50), Bytes(50, 9));
    EXPECT_EQ(sim.received(), line);
    ASSERT_EQ(sim.frames().size(), 6u);
}

TEST_F(Writes, IncompleteFrameIsDroppedAfterASecond)
{
    client->send({5, 97});
    EXPECT_TRUE(answer(1300).empty());
    EXPECT_EQ(ask(command(97, 0)), ack(96));
}

} // namespace
