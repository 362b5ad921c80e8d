// Answers read from bytes in memory: the same path as the line's, without it.
#include <gtest/gtest.h>

#include "link/answer.h"
#include "link/protocol.h"

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A data answer with code 0 and the program's checksum.
Bytes answerOf(const Bytes &data)
{
    Bytes a = {static_cast<unsigned char>(4 + data.size()), 0, 0, 0};
    a.insert(a.end(), data.begin(), data.end());
    unsigned short sum = MkChecksum(data.data(), int(data.size()));
    a[2] = static_cast<unsigned char>(sum & 0xFF);
    a[3] = static_cast<unsigned char>(sum >> 8);
    return a;
}

Bytes joined(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MemoryAnswers, EachLineGivesItsAnswerOrItsError)
{
    const Bytes good = answerOf({1, 2, 3, 250});
    Bytes badSum = good;
    badSum[2] ^= 1;
    Bytes longest = answerOf(Bytes(251, 0x77));
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
        std::vector<unsigned char> buffer(RecvBufSize, 0xCC);
        int error = -1;
        EXPECT_EQ(receivePacket(source, buffer.data(), &error), c.length) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        Bytes expected = c.buffer;
        expected.resize(RecvBufSize, 0); // cleared first
        EXPECT_EQ(buffer, expected) << c.name;
    }
}

TEST(MemoryAnswers, AnswersFollowingEachOtherAreReadOneByOne)
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
}

} // namespace
