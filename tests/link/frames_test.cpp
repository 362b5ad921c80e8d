// What the program puts on the line, checked at the simulator's end.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"

#include <functional>

namespace {

// Ours and the simulator's, worked by hand: rotation is to the right and
// keeps bit 0 as bit 15.
TEST(Checksum, WorkedValuesOursAndTheSimulators)
{
    const struct {
        Bytes data;
        unsigned sum;
    } cases[] = {{{'a', 'b', 'c'}, 0x40AC}, {{}, 0}, {{1, 0}, 0x8000}, {{0xFF, 0xFF}, 0x817E}};
    for (const auto &c : cases) {
        EXPECT_EQ(MkChecksum(c.data.data(), int(c.data.size())), c.sum) << hexString(c.data);
        EXPECT_EQ(pbxsim::checksum(c.data.data(), c.data.size()), c.sum) << hexString(c.data);
    }
    unsigned char data[250];
    for (int i = 0; i < 250; i++)
        data[i] = static_cast<unsigned char>(i * 37 + 11);
    EXPECT_EQ(MkChecksum(data, 250), pbxsim::checksum(data, 250));
}

Bytes joined(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Each frame as the simulator receives it; the expected frames are built with
// the simulator's checksum.  A frame of five bytes goes without the ten zero
// bytes of padding, so the end command can follow it at once.
TEST(OnTheLine, FramesAndTheirPadding)
{
    Bytes payload(123), big(251, 0);
    for (int i = 0; i < 123; i++)
        payload[std::size_t(i)] = std::uint8_t(200 - i);
    const Bytes abcBytes = {'a', 'b', 'c'}, zero = {0}, one = {1};
    struct {
        const char *what;
        std::function<int(int)> send;
        bool end;
        Bytes want;
    } cases[] = {
        {"command", [](int fd) { return write_cmd(fd, 0, 2); }, true, joined(command(0, 2), command(99, 0))},
        {"6-byte command", [](int fd) { return write6_cmd(fd, K_READ_OUT_GEB_LIST, 300); }, false, command6(13, 300)},
        {"data with sub-code", [&](int fd) { return send_data(fd, K_WRITE_TLN_DATA_LIST, 5, payload.data(), 123); },
         false, dataFrame(43, 5, payload)},
        {"data without sub-code",
         [&](int fd) { return send_data(fd, K_WRITE_NAH_BER_LIST, NoSubCode, abcBytes.data(), 3); }, false,
         joined(Bytes{0x07, 0x27, 0xAC, 0x40, 'a', 'b', 'c'}, Bytes(10, 0))},
        {"5-byte data", [&](int fd) { return send_data(fd, K_CLEAR_OUT_GEB_LIST, NoSubCode, zero.data(), 1); }, true,
         joined(dataFrame(45, -1, zero), command(99, 0))},
        {"6-byte data", [&](int fd) { return send_data(fd, K_WRITE_SO_PORT, 2, one.data(), 1); }, false,
         dataFrame(32, 2, one)},
        {"largest data", [&](int fd) { return send_data(fd, K_WRITE_KWZ_BLOCK, NoSubCode, big.data(), 251); }, false,
         dataFrame(41, -1, big)},
        {"synchronisation", [](int fd) { synchronize(fd); return 1; }, false, Bytes(255, 0)},
    };
    for (auto &c : cases) {
        Line line;
        ASSERT_GE(line.open(), 0);
        ASSERT_EQ(c.send(line.fd), 1) << c.what;
        if (c.end) {
            ASSERT_EQ(sendEOT(line.fd), 1);
        }
        EXPECT_TRUE(line.waitReceived(c.want.size())) << c.what;
        EXPECT_EQ(line.sim.received(), c.want) << c.what;
    }
}

TEST(OnTheLine, PayloadThatCannotFitTheLengthByteIsRefused)
{
    Line line;
    ASSERT_GE(line.open(), 0);
    unsigned char big[252] = {};
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, 0, big, 251), 0);
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, NoSubCode, big, 252), 0);
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, NoSubCode, big, -1), 0);
    EXPECT_FALSE(line.waitReceived(1, 200)) << hexString(line.sim.received());
}

} // namespace
