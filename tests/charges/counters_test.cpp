// The charge counters' answer decoded: little-endian, missing bytes as zero.
#include <gtest/gtest.h>

#include "charges/counters.h"

#include <vector>

namespace {

TEST(CounterAnswer, CountersTheAnswerLacksReadAsZero)
{
    std::vector<unsigned char> full(124);
    for (std::size_t i = 0; i < full.size(); i++)
        full[i] = static_cast<unsigned char>(i);
    struct {
        const char *name;
        int length;
        int counter;
        std::int32_t value;
    } cases[] = {
        {"first counter", 124, 0, 0x07060504},
        {"last counter", 124, 29, 0x7B7A7978},
        {"second counter cut after two bytes", 10, 1, 0x0908},
        {"counter beyond the answer", 10, 2, 0},
        {"no data", 4, 0, 0},
        {"shorter than the header", 2, 0, 0},
    };
    for (const auto &c : cases) {
        // The answer is handed over at its own length.
        std::vector<unsigned char> answer(full.begin(), full.begin() + c.length);
        std::int32_t counters[ChargeCounters + 1];
        counters[ChargeCounters] = 77;
        decodeCounters(counters, answer.data(), c.length);
        EXPECT_EQ(counters[c.counter], c.value) << c.name;
        EXPECT_EQ(counters[ChargeCounters], 77) << c.name << ": written past the counters";
    }
}

} // namespace
