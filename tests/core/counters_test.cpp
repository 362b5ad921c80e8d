// The charge counters listed as the window lists them, for both programs.
#include <gtest/gtest.h>

#include "charges/counters.h"
#include "config/record.h"

#include <cstring>
#include <vector>

namespace {

struct Case {
    const char *name;
    std::vector<std::pair<int, std::int32_t>> counters; // subscriber, pfennig; all others have none
    std::vector<int> numbered;                          // subscribers with an internal number
    std::vector<std::string> lines;
    std::string total;
    char numbersAll = 0; // every byte of the numbers list, before the internal numbers
};

TEST(CounterList, LinesAndTotal)
{
    const Case cases[] = {
        {"no counters at all", {}, {0, 1, 2}, {}, "0.00 DM"},
        {"the example line", {{0, 1234}}, {0}, {" AB  #1     (#21)    12.34 DM"}, "12.34 DM"},
        // Neither listed nor counted without an internal number.
        {"a counter without a number", {{0, 1234}, {1, 500}}, {1}, {" AB  #2     (#22)    5.00 DM"}, "5.00 DM"},
        {"a negative counter lowers the total", {{0, 1000}, {10, -50}}, {0, 10},
         {" AB  #1     (#21)    10.00 DM", " SO  #0     (#31)    -0.50 DM"}, "9.50 DM"},
        // Single precision, as the window has always shown it.
        {"single precision", {{29, 123456789}}, {29}, {" S1  #9     (#50)    1234567.88 DM"}, "1234567.88 DM"},
        // A number that fills its three bytes is not read beyond them.
        {"a full number", {{0, 100}}, {}, {" AB  #1     (#777)    1.00 DM"}, "1.00 DM", '7'},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> record(rec::RecordSize, 0);
        std::fill_n(record.begin() + long(rec::RufnrList), rec::RufnrListSize, c.numbersAll);
        std::int32_t counters[ChargeCounters];
        std::fill_n(counters, ChargeCounters, NoChargeCounter);
        for (auto [who, pfennig] : c.counters)
            counters[who] = pfennig;
        for (int who : c.numbered) {
            std::string number = std::to_string(21 + who);
            std::copy(number.begin(), number.end(), record.begin() + long(rec::RufnrList + rec::IntNumInShare + 3 * who));
        }
        CounterList list = counterList(counters, record.data());
        EXPECT_EQ(list.lines, c.lines) << c.name;
        EXPECT_EQ(list.total, c.total) << c.name;
    }
}

} // namespace
