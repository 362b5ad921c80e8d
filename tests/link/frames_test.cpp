// What the program puts on the line, checked at the simulator's end.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"


namespace {

const unsigned char abc[] = {'a', 'b', 'c'};

TEST(Checksum, WorkedValues)
{
    EXPECT_EQ(MkChecksum(abc, 3), 0x40AC);
    EXPECT_EQ(MkChecksum(abc, 0), 0);
    // Rotation is to the right and keeps bit 0 as bit 15.
    const unsigned char one_zero[] = {1, 0};
    EXPECT_EQ(MkChecksum(one_zero, 2), 0x8000);
    const unsigned char ff_ff[] = {0xFF, 0xFF};
    EXPECT_EQ(MkChecksum(ff_ff, 2), 0x817E);
}

TEST(Checksum, AgreesWithTheSimulatorOnLongData)
{
    unsigned char data[250];
    for (int i = 0; i < 250; i++)
        data[i] = static_cast<unsigned char>(i * 37 + 11);
    EXPECT_EQ(MkChecksum(data, 250), pbxsim::checksum(data, 250));
}

struct OnTheLine : ::testing::Test {
    Line line;
    void SetUp() override
    {
        uiEvents().clear();
        ASSERT_GE(line.open(), 0);
    }
    // Bytes the simulator got after the frame; waits for count bytes in all.
    Bytes onLine(std::size_t count)
    {
        EXPECT_TRUE(line.waitReceived(count));
        Bytes got = line.sim.received();
        return got;
    }
};

TEST_F(OnTheLine, FiveByteCommandHasNoPadding)
{
    ASSERT_EQ(write_cmd(line.fd, 0, 2), 1);
    ASSERT_EQ(sendEOT(line.fd), 1); // follows at once when there is no padding
    ASSERT_TRUE(line.sim.waitForFrames(4, 2000));
    EXPECT_EQ(line.sim.received(), (Bytes{0x05, 0x00, 0x00, 0x00, 0x02, 0x05, 0x63, 0x00, 0x00, 0x00}));
}

TEST_F(OnTheLine, SixByteCommandIsFollowedByTenZeros)
{
    ASSERT_EQ(write6_cmd(line.fd, K_READ_OUT_GEB_LIST, 300), 1);
    Bytes want = {0x06, 0x0D, 0x00, 0x00, 0x2C, 0x01};
    want.resize(16, 0);
    EXPECT_EQ(onLine(16), want) << hexString(line.sim.received());
}

TEST_F(OnTheLine, DataFrameWithSubCode)
{
    unsigned char payload[123];
    for (int i = 0; i < 123; i++)
        payload[i] = static_cast<unsigned char>(200 - i);
    ASSERT_EQ(send_data(line.fd, K_WRITE_TLN_DATA_LIST, 5, payload, 123), 1);
    Bytes got = onLine(128 + 10);
    ASSERT_EQ(got.size(), 138u);
    EXPECT_EQ(got[0], 0x80);
    EXPECT_EQ(got[1], 0x2B);
    EXPECT_EQ(got[4], 5);
    EXPECT_EQ(Bytes(got.begin() + 5, got.begin() + 128), Bytes(payload, payload + 123));
    unsigned sum = pbxsim::checksum(got.data() + 4, 124);
    EXPECT_EQ(got[2], sum & 0xFF);
    EXPECT_EQ(got[3], sum >> 8);
    EXPECT_EQ(Bytes(got.begin() + 128, got.end()), Bytes(10, 0));
}

TEST_F(OnTheLine, DataFrameWithoutSubCodeCountsFourHeaderBytes)
{
    ASSERT_EQ(send_data(line.fd, K_WRITE_NAH_BER_LIST, NoSubCode, abc, 3), 1);
    // 7 bytes, so the padding follows.
    Bytes want = {0x07, 0x27, 0xAC, 0x40, 'a', 'b', 'c'};
    want.resize(17, 0);
    EXPECT_EQ(onLine(17), want) << hexString(line.sim.received());
}

TEST_F(OnTheLine, FiveByteDataFrameHasNoPaddingSixByteOneHas)
{
    const unsigned char zero[] = {0};
    ASSERT_EQ(send_data(line.fd, K_CLEAR_OUT_GEB_LIST, NoSubCode, zero, 1), 1);
    ASSERT_EQ(sendEOT(line.fd), 1);
    ASSERT_TRUE(line.sim.waitForFrames(4, 2000));
    EXPECT_EQ(line.sim.received(), (Bytes{0x05, 0x2D, 0x00, 0x00, 0x00, 0x05, 0x63, 0x00, 0x00, 0x00}));

    line.sim.clearLogs();
    const unsigned char one[] = {1};
    ASSERT_EQ(send_data(line.fd, K_WRITE_SO_PORT, 2, one, 1), 1);
    Bytes want = {0x06, 0x20, 0x02, 0x00, 0x02, 0x01}; // 2, rotated to 1, plus 1
    want.resize(16, 0);
    EXPECT_EQ(onLine(16), want) << hexString(line.sim.received());
}

TEST_F(OnTheLine, PayloadThatCannotFitTheLengthByteIsRefused)
{
    unsigned char big[252] = {};
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, 0, big, 251), 0);
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, NoSubCode, big, 252), 0);
    EXPECT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, NoSubCode, big, -1), 0);
    // The largest frames still go out whole.
    ASSERT_EQ(send_data(line.fd, K_WRITE_KWZ_BLOCK, NoSubCode, big, 251), 1);
    Bytes got = onLine(265);
    ASSERT_EQ(got.size(), 265u);
    EXPECT_EQ(got[0], 255);
}

TEST_F(OnTheLine, SynchronizeSendsTwoHundredFiftyFiveZeros)
{
    synchronize(line.fd);
    EXPECT_EQ(onLine(255), Bytes(255, 0));
    EXPECT_TRUE(line.sim.frames().empty());
}

} // namespace
