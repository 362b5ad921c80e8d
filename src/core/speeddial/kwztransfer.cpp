#include "speeddial/kwztransfer.h"

#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"
#include "speeddial/kwzanswers.h"
#include "speeddial/kwzformat.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int BlockBytes = rec::KwzBlockSlots * int(rec::KwzNumberSize); // 200
constexpr int ScaleMax = rec::KwzCount + 2;                            // blocks, then the two lists

void readLists(TransferContext &t, unsigned char *copy)
{
    for (int b = 0; b < rec::KwzCount; b += rec::KwzBlockSlots) {
        int length = t.request(K_READ_KWZ_BLOCK, b);
        if (length == 0)
            return;
        storeKwzBlock(copy, b, t.answer(), length);
        t.setScale(b + rec::KwzBlockSlots);
    }
    int length = t.request(K_READ_NAH_BER_LIST, 0);
    if (length == 0)
        return;
    int data = storePrefixList(copy, PrefixList::Local, t.answer(), length);
    t.setScale(rec::KwzCount);
    if (traceErrors())
        tracePrintf("K_READ_NAH_BER_LIST: %d\n", data);
    length = t.request(K_READ_SPERR_BER_LIST, 0);
    if (length == 0)
        return;
    data = storePrefixList(copy, PrefixList::Blocked, t.answer(), length);
    t.setScale(rec::KwzCount + 1);
    if (traceErrors())
        tracePrintf("K_READ_SPERR_BER_LIST: %d %d\n", data, int(2 * rec::PrefixListSize));
}

void writeLists(TransferContext &t, const unsigned char *record)
{
    for (int b = 0; b < rec::KwzCount; b += rec::KwzBlockSlots) {
        if (!t.send(K_WRITE_KWZ_BLOCK, b, record + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(b), BlockBytes))
            return;
        t.setScale(b + rec::KwzBlockSlots);
    }
    if (!t.send(K_WRITE_NAH_BER_LIST, NoSubCode, record + rec::NahBerList, int(rec::PrefixListSize)))
        return;
    t.setScale(rec::KwzCount + 1);
    if (!t.send(K_WRITE_SPERR_BER_LIST, NoSubCode, record + rec::SperrBerList, int(rec::PrefixListSize)))
        return;
    t.setScale(rec::KwzCount + 2);
}

} // namespace

TransferResult readSpeedDial(TransferObserver &observer, unsigned char *record)
{
    Transmission transfer{devicePath(), {"readwbox", "KWZ lesen", "Kurzwahl", ScaleMax, true}, true, 0};
    // Into a copy: a read that breaks off leaves the directory as it was.
    std::vector<unsigned char> copy(record, record + rec::RecordSize);
    TransferResult result =
        runTransmission(transfer, observer, [&copy](TransferContext &t) { readLists(t, copy.data()); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(record + rec::KwzNumbers, copy.data() + rec::KwzNumbers, rec::KwzCount * rec::KwzNumberSize);
    std::memcpy(record + rec::NahBerList, copy.data() + rec::NahBerList, 2 * rec::PrefixListSize);
    std::strcpy(reinterpret_cast<char *>(record + rec::KwzHeader), KwzMark);
    for (std::size_t counter : {rec::KwzPresent, rec::KwzChanges, rec::PrefixPresent})
        putLe32(record + counter, getLe32(record + counter) + 1);
    markClean(FileKind::SpeedDial, record);
    return result;
}

TransferResult writeSpeedDial(TransferObserver &observer, unsigned char *record)
{
    if (getLe32(record + rec::KwzPresent) == 0)
        return TransferResult::NoPort;
    Transmission transfer{devicePath(), {"writewbox", "KWZ schreiben", "Kurzwahl", ScaleMax, true}, false, 0};
    TransferResult result =
        runTransmission(transfer, observer, [record](TransferContext &t) { writeLists(t, record); });
    if (result == TransferResult::Done)
        markClean(FileKind::SpeedDial, record);
    return result;
}
