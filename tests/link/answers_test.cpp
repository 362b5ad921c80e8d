// Reading the PBX's answers: zero bytes ahead, time-outs, short and long answers.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link/trace.h"
#include "link_env.h"
#include "support/bounded.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

struct Answers : ::testing::Test {
    Line line;
    void SetUp() override { ASSERT_GE(line.open(), 0); }
    void fault(pbxsim::AnswerFault kind, int answer, int n = 0)
    {
        pbxsim::Faults f;
        f.answers.push_back({kind, answer, n});
        line.sim.setFaults(f);
    }
};

TEST_F(Answers, BeginIsAcknowledgedAndZeroBytesAheadAreSkipped)
{
    pbxsim::Faults f;
    f.leading_zeros = 300;
    line.sim.setFaults(f);
    synchronize(line.fd);
    ASSERT_EQ(sendBOTR(line.fd), 1);
    EXPECT_EQ(isOK(line.fd), ANS_OK);
    EXPECT_EQ(Bytes(tmpbuff, tmpbuff + 4), (Bytes{4, 96, 0, 0}));
}

// The first byte that does not come ends the answer.
TEST_F(Answers, AMissingByteFailsAfterASecond)
{
    struct {
        pbxsim::AnswerFault fault;
        int bytes;
        double seconds;
    } cases[] = {{pbxsim::AnswerFault::Silent, 0, 1.0}, {pbxsim::AnswerFault::CutShort, 2, 1.0}}; // 04 60, then nothing
    for (const auto &c : cases) {
        fault(c.fault, 1, c.bytes);
        ASSERT_EQ(sendBOTR(line.fd), 1);
        auto t = Clock::now();
        EXPECT_EQ(isOK(line.fd), -1);
        EXPECT_NEAR(secondsSince(t), c.seconds, 0.4) << c.bytes;
    }
}

TEST_F(Answers, DataAnswerIsReadWholeAndTheRestOfTheBufferIsZero)
{
    ASSERT_EQ(sendBOTR(line.fd), 1);
    ASSERT_EQ(isOK(line.fd), ANS_OK);
    unsigned char buf[RecvBufSize];
    std::memset(buf, 0x77, sizeof buf);
    ASSERT_EQ(write_cmd(line.fd, K_GET_EPROM_VER, 0), 1);
    int len = getNextPacket(nullptr, line.fd, buf);
    std::string version = pbxsim::defaultState().version;
    ASSERT_EQ(len, int(4 + version.size() + 1));
    EXPECT_STREQ(reinterpret_cast<char *>(buf + 4), version.c_str());
    EXPECT_EQ(Bytes(buf + len, buf + RecvBufSize), Bytes(RecvBufSize - len, 0));
}

TEST_F(Answers, LongestAnswerFitsAndNothingIsWrittenBeyondIt)
{
    fault(pbxsim::AnswerFault::OverLong, 2, 251);
    ASSERT_EQ(sendBOTR(line.fd), 1);
    ASSERT_EQ(isOK(line.fd), ANS_OK);
    unsigned char buf[RecvBufSize + 16];
    std::memset(buf, 0x77, sizeof buf);
    ASSERT_EQ(write_cmd(line.fd, K_READ_TLN_RUFNR_LIST, 0), 1);
    ASSERT_EQ(getNextPacket(nullptr, line.fd, buf), 255);
    EXPECT_EQ(buf[254], 0xEE);
    EXPECT_EQ(buf[255], 0);
    EXPECT_EQ(buf[RecvBufSize], 0x77); // the caller's buffer ends at 1024
}

TEST(ShortAnswers, ChecksumTestNeedsTheChecksumField)
{
    const struct {
        Bytes answer;
        bool ok;
    } cases[] = {{{3, 96, 0}, false},
                 {{4, 96, 0, 0}, true},
                 {{7, 1, 0xAC, 0x40, 'a', 'b', 'c'}, true},
                 {{7, 1, 0xAD, 0x40, 'a', 'b', 'c'}, false}};
    for (const auto &c : cases)
        EXPECT_EQ(isCheckSumOK(c.answer.data(), int(c.answer.size())), c.ok) << hexString(c.answer);
}

// Answers no PBX should send, written by hand.
TEST(HandAnswers, LengthOneAcknowledgementCarriesNoCode)
{
    HandLine line;
    // An earlier 96 in tmpbuff must not be taken for this answer's code.
    line.peer->send({4, 96, 0, 0});
    ASSERT_EQ(isOK(line.fd), ANS_OK);
    line.peer->send({0, 0, 1});
    EXPECT_EQ(isOK(line.fd), ANS_NONE);
}

TEST(HandAnswers, DataAnswerShorterThanFourBytesIsAChecksumError)
{
    HandLine line;
    line.peer->send({3, 12, 0});
    unsigned char buf[RecvBufSize];
    EXPECT_EQ(getNextPacket(mainShell(), line.fd, buf), 0);
    line.fd = -1; // ended by getNextPacket
    EXPECT_EQ(takeError(), "Uebertragungs-Fehler|Fehler bei der Uebertragung: \nCRC-Fehler");
}

// The other end sends head, then a fill byte every every_ms (fill -1: silence).
struct Babble {
    const char *name;
    Bytes head;
    int fill, every_ms, result;
    double min_s, max_s;
    Bytes buffer; // the start of the answer buffer afterwards
};

void PrintTo(const Babble &b, std::ostream *os) { *os << b.name; }

class HostileLine : public ::testing::TestWithParam<Babble> {};

constexpr double Limit = AnswerLimitMs / 1000.0;

TEST_P(HostileLine, AnswerEndsWithinItsBound)
{
    const Babble &b = GetParam();
    HandLine line;
    int master = line.peer->master(), fd = line.fd;
    std::atomic<bool> stop{false};
    std::thread feed([&] {
        (void)!write(master, b.head.data(), b.head.size());
        for (std::uint8_t fill = std::uint8_t(b.fill); b.fill >= 0 && !stop;) {
            struct pollfd p = {master, POLLOUT, 0};
            if (poll(&p, 1, 20) == 1)
                (void)!write(master, &fill, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(b.every_ms));
        }
    });
    Bounded r = runBounded(Limit + 3, [&] {
        unsigned char buf[MaxFrame];
        int length = readAnswer(fd, buf);
        std::fwrite(buf, 1, b.buffer.size(), stdout);
        return length;
    });
    stop = true;
    feed.join();
    ASSERT_TRUE(r.finished) << "still reading after " << r.seconds << " s";
    EXPECT_EQ(r.result, b.result);
    EXPECT_GE(r.seconds, b.min_s);
    EXPECT_LE(r.seconds, b.max_s);
    EXPECT_EQ(hexString(Bytes(r.out.begin(), r.out.end())), hexString(b.buffer));
}

Bytes join(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HostileLine,
    ::testing::Values(
        // The first byte missed ends the answer; the rest reads as 0xFF.
        Babble{"LengthThenSilence", {255}, -1, 0, -1, 0.8, 1.6, join({255}, Bytes(254, 0xFF))},
        Babble{"CutShort", {6, 1, 0, 0, 9}, -1, 0, -1, 0.8, 1.6, {6, 1, 0, 0, 9, 0xFF}},
        Babble{"EndlessZeros", {}, 0, 0, -1, Limit - 0.2, Limit + 0.8, {}},
        Babble{"TricklingZeros", {}, 0, 500, -1, Limit - 0.2, Limit + 0.8, {}},
        Babble{"TricklingAnswer", {255}, 'A', 500, -1, Limit - 0.2, Limit + 0.8, {}},
        // Many zeros ahead of a whole answer are still skipped.
        Babble{"ZerosThenAnswer", join(Bytes(2000, 0), {6, 1, 0, 0, 9, 8}), -1, 0, 6, 0, 1, {6, 1, 0, 0, 9, 8}}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(HandAnswers, ReadErrorOfADeadLineFailsAtOnceWithTheSystemError)
{
    HandLine line;
    line.peer.reset(); // the other end is gone: reads fail instead of waiting
    testing::internal::CaptureStderr();
    auto t = Clock::now();
    int status = 0;
    EXPECT_EQ(readch(line.fd, &status), -1);
    EXPECT_EQ(status, -1);
    EXPECT_LT(secondsSince(t), 0.5);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("reading data: ", 0), 0u);
}

} // namespace
