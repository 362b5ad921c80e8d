// Where the speed-dial and prefix answers land in the record.
#include <gtest/gtest.h>

#include "config/record.h"
#include "speeddial/kwzanswers.h"

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
constexpr unsigned char Fill = 0xA5;

TEST(KwzAnswers, BlocksAndListsFillTheirSlotsAndNothingElse)
{
    struct {
        const char *name;
        bool prefix; // else a block
        int first;   // first slot, or 0 local / 1 blocked list
        int length;
        int result;
        std::size_t offset, room;
    } cases[] = {
        {"first block", false, 0, 204, 200, rec::KwzNumbers, 200},
        {"last block overlong stops at the names", false, 192, 255, 251, rec::KwzNumbers + 192 * 25, 200},
        {"block of the last four slots", false, 196, 255, 251, rec::KwzNumbers + 196 * 25, 100},
        {"short block keeps the rest", false, 8, 30, 26, rec::KwzNumbers + 8 * 25, 200},
        {"block without data", false, 16, 3, 0, rec::KwzNumbers + 16 * 25, 200},
        {"slot 200", false, 200, 204, -1, 0, 0},
        {"slot -8", false, -8, 204, -1, 0, 0},
        {"local prefixes", true, 0, 124, 120, rec::NahBerList, 120},
        {"blocked prefixes overlong stop at the bookkeeping", true, 1, 255, 251, rec::SperrBerList, 120},
    };
    for (const auto &c : cases) {
        Bytes record(rec::RecordSize, Fill);
        Bytes answer(std::size_t(c.length));
        for (std::size_t i = 0; i < answer.size(); i++)
            answer[i] = static_cast<unsigned char>(i + 1);
        int result = c.prefix ? storePrefixList(record.data(), c.first ? PrefixList::Blocked : PrefixList::Local,
                                                answer.data(), c.length)
                              : storeKwzBlock(record.data(), c.first, answer.data(), c.length);
        EXPECT_EQ(result, c.result) << c.name;
        Bytes want(rec::RecordSize, Fill);
        for (std::size_t k = 0; k < c.room && int(k) < c.length - 4; k++)
            want[c.offset + k] = answer[4 + k];
        for (std::size_t i = 0; i < rec::RecordSize; i++)
            if (record[i] != want[i]) {
                ADD_FAILURE() << c.name << ": byte " << i << " is " << int(record[i]) << ", not " << int(want[i]);
                break;
            }
    }
}

} // namespace
