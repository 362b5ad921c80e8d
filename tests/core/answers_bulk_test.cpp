// Answers taken from the line in bulk keep the times and limits they had one
// byte at a time, and never take a byte of what follows the answer.
#include <gtest/gtest.h>

#include "link/answer.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "support/pty_peer.h"
#include "support/tempdir.h"

#include <chrono>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int ByteMs = 100; // the byte time the tests shorten the second to

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

// A raw pty whose slave the program opens as its line.
struct RawLine {
    TempDir dir;
    PtyPeer peer;
    int fd = -1;
    RawLine()
    {
        setLockDir(dir.file("none").c_str());
        fd = openSer(peer.slavePath().c_str());
    }
    ~RawLine()
    {
        if (fd >= 0)
            closeSer(fd);
    }
    // What is still on the line, without waiting for more.
    Bytes left()
    {
        Bytes out;
        unsigned char buf[256];
        struct pollfd p = {fd, POLLIN, 0};
        while (poll(&p, 1, 50) > 0) {
            ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            out.insert(out.end(), buf, buf + n);
        }
        return out;
    }
};

struct Piece {
    int afterMs; // pause before it is sent
    Bytes bytes;
};

struct Case {
    const char *name;
    std::vector<Piece> pieces;
    int length;        // what readAnswer returns
    Bytes taken;       // the buffer's first bytes afterwards
    Bytes left;        // what is still on the line afterwards
};

const Bytes data5 = {1, 2, 3, 4, 5};
const Bytes answer = answerOf(data5);

TEST(BulkAnswers, TimesLimitsAndWhatFollows)
{
    const Bytes head(answer.begin(), answer.begin() + 4), tail(answer.begin() + 4, answer.end());
    const Case cases[] = {
        {"what follows the answer stays on the line", {{0, joined(answer, {0xAB, 0xCD, 0x05})}}, 9, answer,
         {0xAB, 0xCD, 0x05}},
        {"zero bytes ahead are skipped", {{0, joined({0, 0, 0}, answer)}}, 9, answer, {}},
        // Each byte has its own time: an answer slower than one byte time in all is fine.
        {"each piece within a byte's time",
         {{0, {answer[0]}}, {ByteMs * 6 / 10, Bytes(answer.begin() + 1, answer.begin() + 5)},
          {ByteMs * 6 / 10, Bytes(answer.begin() + 5, answer.end())}},
         9, answer, {}},
        // The first byte missed ends the answer; the rest of it reads as 0xFF,
        // and what comes later is left for whoever reads next.
        {"a pause longer than a byte's time",
         {{0, head}, {ByteMs * 2, tail}}, -1, joined(head, Bytes(5, 0xFF)), tail},
    };
    setByteTimeoutMs(ByteMs);
    for (const Case &c : cases) {
        RawLine line;
        ASSERT_GE(line.fd, 0);
        std::thread writer([&] {
            for (const Piece &p : c.pieces) {
                std::this_thread::sleep_for(std::chrono::milliseconds(p.afterMs));
                line.peer.send(p.bytes);
            }
        });
        unsigned char buffer[MaxFrame] = {};
        int length = readAnswer(line.fd, buffer);
        writer.join();
        EXPECT_EQ(length, c.length) << c.name;
        EXPECT_EQ(Bytes(buffer, buffer + c.taken.size()), c.taken) << c.name;
        EXPECT_EQ(line.left(), c.left) << c.name;
    }
}

TEST(BulkAnswers, ZeroBytesWithoutEndHitTheAnswerLimit)
{
    setByteTimeoutMs(ByteMs);
    RawLine line;
    ASSERT_GE(line.fd, 0);
    bool stop = false;
    std::thread babble([&] {
        while (!stop) {
            line.peer.send({0});
            std::this_thread::sleep_for(std::chrono::milliseconds(ByteMs / 4));
        }
    });
    auto start = std::chrono::steady_clock::now();
    unsigned char buffer[MaxFrame];
    int length = readAnswer(line.fd, buffer);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    stop = true;
    babble.join();
    EXPECT_EQ(length, -1);
    EXPECT_GE(ms, 3 * ByteMs * 0.9);
    EXPECT_LT(ms, 3 * ByteMs * 2.0);
}

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
            line.peer.send({b});
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

// A source that hands out what it has in the amounts asked for, and notes them.
class Noting : public ByteSource {
public:
    explicit Noting(Bytes bytes) : bytes_(std::move(bytes)) {}
    int next(LineClock::time_point, int *status) override
    {
        asked.push_back(1);
        if (at_ >= bytes_.size()) {
            *status = -1;
            return -1;
        }
        *status = 0;
        return bytes_[at_++];
    }
    int take(unsigned char *into, int most, LineClock::time_point, int *status) override
    {
        asked.push_back(most);
        std::size_t n = std::min(bytes_.size() - at_, std::size_t(most));
        if (n == 0) {
            *status = -1;
            return -1;
        }
        std::copy(bytes_.begin() + long(at_), bytes_.begin() + long(at_ + n), into);
        at_ += n;
        *status = 0;
        return int(n);
    }
    std::vector<int> asked;

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

TEST(BulkAnswers, TheRestOfAnAnswerIsAskedForInOne)
{
    Noting source(joined({0, 0}, joined(answer, {0x77})));
    unsigned char buffer[MaxFrame];
    EXPECT_EQ(readAnswerFrom(source, buffer), 9);
    // Two zeros and the length byte one at a time, then the other eight at once.
    EXPECT_EQ(source.asked, (std::vector<int>{1, 1, 1, 8}));
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
    EXPECT_EQ(line.peer.receive(17, 200), expected);
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
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(writebuf(line.fd, frame, 7, 1), 0);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, ByteMs * 0.9);
    EXPECT_LT(ms, ByteMs * 3.0);
}

} // namespace
