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

void writeLists(TransferContext &t)
{
    for (int b = 0; b < rec::KwzCount; b += rec::KwzBlockSlots) {
        if (!t.send(K_WRITE_KWZ_BLOCK, b, all + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(b), BlockBytes))
            return;
        t.setScale(b + rec::KwzBlockSlots);
    }
    if (!t.send(K_WRITE_NAH_BER_LIST, NoSubCode, all + rec::NahBerList, int(rec::PrefixListSize)))
        return;
    t.setScale(rec::KwzCount + 1);
    if (!t.send(K_WRITE_SPERR_BER_LIST, NoSubCode, all + rec::SperrBerList, int(rec::PrefixListSize)))
        return;
    t.setScale(rec::KwzCount + 2);
}

} // namespace

TransferResult readSpeedDial(TransferObserver &observer)
{
    Transmission transfer{devicePath(), {"readwbox", "KWZ lesen", "Kurzwahl", ScaleMax, true}, true, 0};
    // Into a copy: a read that breaks off leaves the directory as it was.
    std::vector<unsigned char> copy(all, all + rec::RecordSize);
    TransferResult result =
        runTransmission(transfer, observer, [&copy](TransferContext &t) { readLists(t, copy.data()); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(recAt(rec::KwzNumbers), copy.data() + rec::KwzNumbers, rec::KwzCount * rec::KwzNumberSize);
    std::memcpy(recAt(rec::NahBerList), copy.data() + rec::NahBerList, 2 * rec::PrefixListSize);
    char *header = recText(rec::KwzHeader);
    std::strcpy(header, KwzMark);
    incRecInt(rec::KwzPresent);
    incRecInt(rec::KwzChanges);
    incRecInt(rec::PrefixPresent);
    markClean(FileKind::SpeedDial);
    return result;
}

TransferResult writeSpeedDial(TransferObserver &observer)
{
    if (recInt(rec::KwzPresent) == 0)
        return TransferResult::NoPort;
    Transmission transfer{devicePath(), {"writewbox", "KWZ schreiben", "Kurzwahl", ScaleMax, true}, false, 0};
    TransferResult result = runTransmission(transfer, observer, writeLists);
    if (result == TransferResult::Done)
        markClean(FileKind::SpeedDial);
    return result;
}
