// Reading the PBX's answers: what an answer gives from bytes in memory, then
// on a raw pty where the time the bytes take is the point.
#include <gtest/gtest.h>

#include "link/answer.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "support/bounded.h"
#include "support/pty_peer.h"
#include "support/tempdir.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

// A data answer with code 0 and the program's checksum.
Bytes answerOf(const Bytes &data)
{
    Bytes a = {std::uint8_t(4 + data.size()), 0, 0, 0};
    a.insert(a.end(), data.begin(), data.end());
    unsigned short sum = MkChecksum(data.data(), int(data.size()));
    a[2] = std::uint8_t(sum & 0xFF);
    a[3] = std::uint8_t(sum >> 8);
    return a;
}

Bytes joined(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes answer = answerOf({1, 2, 3, 4, 5});

TEST(MemoryAnswers, EachLineGivesItsAnswerOrItsError)
{
    const Bytes good = answerOf({1, 2, 3, 250});
    Bytes badSum = good;
    badSum[2] ^= 1;
    const Bytes longest = answerOf(Bytes(251, 0x77));
    struct {
        const char *name;
        Bytes line;
        int length; // 0: failed with error
        int error;
        Bytes buffer; // the buffer afterwards, zeros after these
    } cases[] = {
        {"answer", good, 8, 0, good},
        {"zero bytes ahead", joined(Bytes(300, 0), good), 8, 0, good},
        {"longest answer", longest, 255, 0, longest},
        {"checksum field only", {4, 96, 0, 0}, 4, 0, {4, 96, 0, 0}},
        {"checksum of abc", {7, 1, 0xAC, 0x40, 'a', 'b', 'c'}, 7, 0, {7, 1, 0xAC, 0x40, 'a', 'b', 'c'}},
        {"wrong checksum of abc", {7, 1, 0xAD, 0x40, 'a', 'b', 'c'}, 0, ANS_CRC, {7, 1, 0xAD, 0x40, 'a', 'b', 'c'}},
        {"wrong checksum", badSum, 0, ANS_CRC, badSum},
        {"lone length byte", {1}, 0, ANS_CRC, {1}},
        {"three bytes, no checksum field", {3, 96, 0}, 0, ANS_CRC, {3, 96, 0}},
        {"nothing", {}, 0, ANS_TRANSFER, {}},
        {"only zero bytes", Bytes(40, 0), 0, ANS_TRANSFER, {}},
        // The bytes that did not come read as 0xFF.
        {"cut short", Bytes(good.begin(), good.begin() + 5), 0, ANS_TRANSFER, {8, 0, good[2], good[3], 1, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto &c : cases) {
        MemorySource source(c.line.data(), c.line.size());
        // The caller's buffer ends at RecvBufSize: nothing is written beyond.
        Bytes buffer(RecvBufSize + 16, 0xCC);
        int error = -1;
        EXPECT_EQ(receivePacket(source, buffer.data(), &error), c.length) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        Bytes expected = c.buffer;
        expected.resize(RecvBufSize, 0); // cleared first
        expected.resize(RecvBufSize + 16, 0xCC);
        EXPECT_EQ(buffer, expected) << c.name;
        if (c.error != ANS_TRANSFER) {
            EXPECT_EQ(isCheckSumOK(c.buffer.data(), int(c.buffer.size())), c.error == 0) << c.name;
        }
    }
}

// A source that hands out what it has in the amounts asked for, and notes them.
class Noting : public ByteSource {
public:
    explicit Noting(Bytes bytes) : bytes_(std::move(bytes)) {}
    int next(LineClock::time_point deadline, int *status) override
    {
        unsigned char byte;
        return take(&byte, 1, deadline, status) < 0 ? -1 : byte;
    }
    int take(unsigned char *into, int most, LineClock::time_point, int *status) override
    {
        asked.push_back(most);
        std::size_t n = std::min(bytes_.size() - at_, std::size_t(most));
        *status = n ? 0 : -1;
        std::copy(bytes_.begin() + long(at_), bytes_.begin() + long(at_ + n), into);
        at_ += n;
        return n ? int(n) : -1;
    }
    std::vector<int> asked;

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

TEST(MemoryAnswers, AnswersFollowingEachOtherAreReadOneByOneTheRestOfEachInOne)
{
    Bytes first = answerOf({9}), second = answerOf({7, 7});
    Bytes line = joined(joined(first, Bytes(3, 0)), second);
    MemorySource source(line.data(), line.size());
    unsigned char buffer[RecvBufSize];
    EXPECT_EQ(readAnswerFrom(source, buffer), 5);
    EXPECT_EQ(source.consumed(), first.size());
    EXPECT_EQ(readAnswerFrom(source, buffer), 6);
    EXPECT_EQ(Bytes(buffer, buffer + 6), second);
    EXPECT_EQ(readAnswerFrom(source, buffer), -1);

    Noting noting(joined({0, 0}, joined(answer, {0x77})));
    EXPECT_EQ(readAnswerFrom(noting, buffer), 9);
    // Two zeros and the length byte one at a time, then the other eight at once.
    EXPECT_EQ(noting.asked, (std::vector<int>{1, 1, 1, 8}));
}

// A raw pty whose slave the program opens as its line.
struct RawLine {
    TempDir dir;
    std::unique_ptr<PtyPeer> peer = std::make_unique<PtyPeer>(); // reset: the other end is gone
    int fd = -1;
    RawLine()
    {
        setLockDir(dir.file("none").c_str());
        fd = openSer(peer->slavePath().c_str());
    }
    ~RawLine()
    {
        if (fd >= 0)
            closeSer(fd);
    }
    // What is still on the line, without waiting for more.
    Bytes left() { return readBytes(fd, 4096, 50); }
};

struct Piece {
    int afterMs; // pause before it is sent
    Bytes bytes;
};

// The other end sends the pieces, then a fill byte every fillMs (fill -1:
// silence), with the byte time shortened to byteMs (0: the real second).
struct Timed {
    const char *name;
    int byteMs;
    std::vector<Piece> pieces;
    int fill, fillMs;
    int length;       // what readAnswer returns
    Bytes taken;      // the buffer's first bytes afterwards
    Bytes left;       // what is still on the line afterwards
    double minS, maxS; // how long the read took
};

void PrintTo(const Timed &t, std::ostream *os) { *os << t.name; }

class TimedAnswers : public ::testing::TestWithParam<Timed> {};

constexpr int ByteMs = 100;
constexpr double Limit = AnswerLimitMs / 1000.0, ShortLimit = 3 * ByteMs / 1000.0;

TEST_P(TimedAnswers, EndWithinTheirBoundsTakingNothingBeyond)
{
    const Timed &t = GetParam();
    setByteTimeoutMs(t.byteMs);
    RawLine line;
    ASSERT_GE(line.fd, 0);
    int master = line.peer->master(), pieceMs = 20;
    for (const Piece &p : t.pieces)
        pieceMs += p.afterMs;
    auto allSent = Clock::now() + std::chrono::milliseconds(pieceMs);
    std::atomic<bool> stop{false};
    std::thread feed([&] {
        for (const Piece &p : t.pieces) {
            std::this_thread::sleep_for(std::chrono::milliseconds(p.afterMs));
            line.peer->send(p.bytes);
        }
        for (std::uint8_t fill = std::uint8_t(t.fill); t.fill >= 0 && !stop;) {
            struct pollfd p = {master, POLLOUT, 0};
            if (poll(&p, 1, 20) == 1)
                (void)!write(master, &fill, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(t.fillMs));
        }
    });
    // In a child with a time limit, so a read that never ends fails the test.
    Bounded r = runBounded(Limit + 3, [&] {
        unsigned char buf[MaxFrame] = {};
        int length = readAnswer(line.fd, buf);
        std::printf("%s|", hexString(Bytes(buf, buf + t.taken.size())).c_str());
        if (t.fill < 0) { // a babbling line never runs dry
            std::this_thread::sleep_until(allSent);
            std::printf("%s", hexString(line.left()).c_str());
        }
        return length;
    });
    stop = true;
    feed.join();
    ASSERT_TRUE(r.finished) << "still reading after " << r.seconds << " s";
    EXPECT_EQ(r.result, t.length);
    EXPECT_GE(r.seconds, t.minS);
    EXPECT_LE(r.seconds, t.maxS);
    EXPECT_EQ(r.out, hexString(t.taken) + "|" + (t.fill < 0 ? hexString(t.left) : ""));
}

const Bytes head(answer.begin(), answer.begin() + 4), tail(answer.begin() + 4, answer.end());

INSTANTIATE_TEST_SUITE_P(
    Lines, TimedAnswers,
    ::testing::Values(
        // Many zeros ahead of a whole answer are skipped; what follows it stays on the line.
        Timed{"ZerosThenAnswer", 0, {{0, joined(Bytes(2000, 0), joined(answer, {0xAB, 0xCD, 0x05}))}}, -1, 0, 9,
              answer, {0xAB, 0xCD, 0x05}, 0, 1},
        Timed{"FewZerosThenAnswer", ByteMs, {{0, joined({0, 0, 0}, answer)}}, -1, 0, 9, answer, {}, 0, 1},
        // Each byte has its own time: an answer slower than one byte time in all is fine.
        Timed{"EachPieceWithinAByteTime", ByteMs,
              {{0, {answer[0]}}, {ByteMs * 6 / 10, Bytes(answer.begin() + 1, answer.begin() + 5)},
               {ByteMs * 6 / 10, Bytes(answer.begin() + 5, answer.end())}},
              -1, 0, 9, answer, {}, 0, 1},
        // The first byte missed ends the answer; the rest of it reads as 0xFF,
        // and what comes later is left for whoever reads next.
        Timed{"PauseLongerThanAByteTime", ByteMs, {{0, head}, {ByteMs * 2, tail}}, -1, 0, -1,
              joined(head, Bytes(5, 0xFF)), tail, 0, 1},
        Timed{"Silent", 0, {}, -1, 0, -1, {}, {}, 0.8, 1.4},
        Timed{"LengthThenSilence", 0, {{0, {255}}}, -1, 0, -1, joined({255}, Bytes(254, 0xFF)), {}, 0.8, 1.6},
        Timed{"CutShort", 0, {{0, {6, 1, 0, 0, 9}}}, -1, 0, -1, {6, 1, 0, 0, 9, 0xFF}, {}, 0.8, 1.4},
        // However many zeros or bytes keep the line busy, the answer limit ends it.
        Timed{"EndlessZeros", 0, {}, 0, 0, -1, {}, {}, Limit - 0.2, Limit + 0.8},
        Timed{"TricklingZeros", ByteMs, {}, 0, ByteMs / 4, -1, {}, {}, ShortLimit * 0.9, ShortLimit * 2},
        Timed{"TricklingAnswer", 0, {{0, {255}}}, 'A', 500, -1, {}, {}, Limit - 0.2, Limit + 0.8}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

// A line that brings its bytes at 4800 baud, one by one, as a real one does:
// the program must not wake up for every one of them.
TEST(BulkAnswers, ALineAt4800BaudWakesTheReaderForSeveralBytesAtATime)
{
    RawLine line;
    ASSERT_GE(line.fd, 0);
    Bytes data(200);
    for (std::size_t i = 0; i < data.size(); i++)
        data[i] = std::uint8_t(i * 7 + 1);
    Bytes sent = answerOf(data);
    std::thread paced([&] {
        auto next = std::chrono::steady_clock::now();
        for (std::uint8_t b : sent) {
            next += std::chrono::microseconds(2292); // 11 bits at 4800 baud
            std::this_thread::sleep_until(next);
            line.peer->send({b});
        }
    });
    struct rusage before, after;
    getrusage(RUSAGE_THREAD, &before);
    unsigned char buffer[MaxFrame];
    int length = readAnswer(line.fd, buffer);
    getrusage(RUSAGE_THREAD, &after);
    paced.join();
    ASSERT_EQ(length, int(sent.size()));
    EXPECT_EQ(Bytes(buffer, buffer + length), sent);
    long wakeUps = after.ru_nvcsw - before.ru_nvcsw;
    EXPECT_LT(wakeUps, long(sent.size()) / 2) << "one wake-up a byte";
}

TEST(LineAnswers, LengthOneAcknowledgementCarriesNoCode)
{
    RawLine line;
    // An earlier 96 in tmpbuff must not be taken for this answer's code.
    line.peer->send({4, 96, 0, 0});
    ASSERT_EQ(isOK(line.fd), ANS_OK);
    line.peer->send({0, 0, 1});
    EXPECT_EQ(isOK(line.fd), ANS_NONE);
}

// The line gone is said once, in German, by the transfer's end (its advice);
// nothing in English on standard error.
TEST(LineAnswers, ReadErrorOfADeadLineFailsAtOnceAndQuietly)
{
    RawLine line;
    line.peer.reset(); // the other end is gone: reads fail instead of waiting
    testing::internal::CaptureStderr();
    auto t = Clock::now();
    int status = 0;
    EXPECT_EQ(readch(line.fd, &status), -1);
    EXPECT_EQ(status, -1);
    EXPECT_LT(secondsSince(t), 0.5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(BulkFrames, AFrameAndItsPaddingGoOutWholeAndALineThatTakesNothingFails)
{
    setByteTimeoutMs(ByteMs);
    RawLine line;
    ASSERT_GE(line.fd, 0);
    unsigned char frame[7] = {7, 0x22, 0, 0, 9, 8, 7};
    ASSERT_EQ(writebuf(line.fd, frame, 7, 1), 1);
    Bytes expected = {7, 0x22, frame[2], frame[3], 9, 8, 7};
    expected.resize(17, 0);
    EXPECT_EQ(line.peer->receive(17, 200), expected);
    EXPECT_EQ(MkChecksum(frame + 4, 3), frame[2] | frame[3] << 8);

    // Fill the line until it takes no more; then a frame fails within a byte's
    // time.  The kernel moves bytes between the pty's buffers in the
    // background, so the line counts as full once it stayed so for a while.
    Bytes junk(4096, 0x55);
    for (int quiet = 0; quiet < 3;) {
        bool took = false;
        while (write(line.fd, junk.data(), junk.size()) > 0 || write(line.fd, junk.data(), 1) > 0)
            took = true;
        quiet = took ? 0 : quiet + 1;
        usleep(20000);
    }
    auto start = Clock::now();
    EXPECT_EQ(writebuf(line.fd, frame, 7, 1), 0);
    double seconds = secondsSince(start);
    EXPECT_GE(seconds, ByteMs * 0.9e-3);
    EXPECT_LT(seconds, ByteMs * 3.0e-3);
}

} // namespace
