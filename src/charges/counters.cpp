#include "charges/counters.h"

#include "config/record.h"

#include <algorithm>
#include <cstring>

void decodeCounters(std::int32_t *counters, const unsigned char *answer, int length)
{
    unsigned char data[4 * ChargeCounters] = {};
    std::size_t count = std::min(std::size_t(std::max(length - 4, 0)), sizeof data);
    if (count > 0)
        std::memcpy(data, answer + 4, count);
    for (int i = 0; i < ChargeCounters; i++)
        counters[i] = static_cast<std::int32_t>(getLe32(data + 4 * i));
}
