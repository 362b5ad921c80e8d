#include "charges/counters.h"

#include "config/names.h"
#include "config/record.h"
#include "link/trace.h"

#include <algorithm>
#include <cstdio>
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

namespace {

constexpr int ResetPayload = 124;

// Single precision on purpose: 123456789 pfennig shows as "1234567.88 DM".
std::string amountText(std::int32_t pfennig)
{
    float amount = static_cast<float>(pfennig / 100.0);
    char text[64];
    std::snprintf(text, sizeof text, "%04.2f DM", static_cast<double>(amount));
    return text;
}

} // namespace

TransferResult readChargeCounters(std::int32_t *counters, TransferObserver &observer)
{
    std::fill_n(counters, ChargeCounters, 0);
    Transmission transfer{devicePath(), messageShow("gebreaddlg", "Gebührenzähler lesen..."), true, 1};
    return runTransmission(transfer, observer, [counters](TransferContext &t) {
        int length = t.request(K_READ_TLN_GEB_LIST, 0);
        if (length == 0)
            return;
        if (traceErrors())
            dumppacket("K_READ_TLN_GEB_LIST", t.answer() + 4, length - 4);
        // Counters the answer lacks read as 0.
        decodeCounters(counters, t.answer(), length);
    });
}

TransferResult resetChargeCounters(TransferObserver &observer)
{
    Transmission transfer{devicePath(), messageShow("gebwritedlg", "Gebührenzähler löschen..."), false, 1};
    return runTransmission(transfer, observer, [](TransferContext &t) {
        static const unsigned char zeros[ResetPayload] = {};
        t.send(K_CLEAR_TLN_GEB_LIST, NoSubCode, zeros, ResetPayload);
    });
}

CounterList counterList(const std::int32_t *counters, const unsigned char *record)
{
    CounterList list;
    std::uint32_t total = 0; // wraps like the 32-bit sum it is
    for (int i = 0; i < ChargeCounters; i++) {
        const char *num = internalNumber(record, i);
        if (counters[i] == NoChargeCounter || !num)
            continue;
        // The number slot need not be terminated within its 3 bytes.
        char line[128];
        std::snprintf(line, sizeof line, " %-10s (#%-.*s)    %s", subscriberName(i), int(rec::IntNumSize), num,
                      amountText(counters[i]).c_str());
        list.lines.push_back(line);
        total += static_cast<std::uint32_t>(counters[i]);
    }
    list.total = amountText(static_cast<std::int32_t>(total));
    return list;
}
