// The small helpers the whole core shares: little-endian values of any width,
// a path's file name and a list joined for a message.
#include <gtest/gtest.h>

#include "config/inputfile.h"
#include "config/record.h"
#include "fields/fields.h"

#include <string>
#include <vector>

namespace {

TEST(LittleEndian, EachWidthReadsAndWritesItsOwnBytesOnly)
{
    const struct {
        std::size_t size;
        std::uint32_t value;
    } cases[] = {{1, 0x78}, {2, 0x5678}, {3, 0x345678}, {4, 0x12345678}};
    const unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAA};
    for (const auto &c : cases) {
        EXPECT_EQ(getLe(bytes, c.size), c.value) << c.size;
        unsigned char out[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        putLe(out, c.size, 0x12345678);
        for (std::size_t i = 0; i < 5; i++)
            EXPECT_EQ(out[i], i < c.size ? bytes[i] : 0xEE) << c.size << " byte " << i;
    }
    EXPECT_EQ(getLe16(bytes), 0x5678u);
    EXPECT_EQ(getLe32(bytes), 0x12345678u);
    unsigned char high[4];
    putLe32(high, 0xFFFFFFFFu);
    EXPECT_EQ(getLe32(high), 0xFFFFFFFFu) << "no sign carried into the top byte";
}

TEST(CoreHelpers, BaseNameAndJoined)
{
    const struct {
        const char *path, *name;
    } names[] = {{"/dev/ttyS0", "ttyS0"}, {"kelvoractl", "kelvoractl"}, {"a/b/", ""}, {"/", ""}, {"", ""}};
    for (const auto &n : names)
        EXPECT_STREQ(baseName(n.path), n.name) << n.path;

    EXPECT_EQ(joined({}), "");
    EXPECT_EQ(joined({"Ein"}), "Ein");
    EXPECT_EQ(joined({"AB  #1", "TFE #2", "SO  #3"}), "AB  #1, TFE #2, SO  #3");
    EXPECT_EQ(joined({"a", "b"}, " | "), "a | b");
}

} // namespace
