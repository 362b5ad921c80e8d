#include "config/tlntransfer.h"

#include "config/cfgtransfer.h"
#include "config/listanswers.h"
#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"

#include <cstring>
#include <vector>

namespace {

constexpr int tlnSteps = rec::TlnCount;

void readRecords(TransferContext &t, unsigned char *copy)
{
    if (traceErrors())
        tracePrintf("********************* START READ ******************\n");
    for (int i = 0; i < rec::TlnCount; i++) {
        int length = t.request(K_READ_TLN_DATA_LIST, i);
        if (length == 0)
            return;
        // Always the whole record: a short answer leaves zeros, and a long
        // one is cut at the record's end.
        storeTlnAnswer(copy, i, t.answer(), length);
        if (traceErrors() && length > 4)
            dumppacket("K_READ_TLN_DATA_LIST", t.answer() + 4, length - 4);
    }
}

void writeRecords(TransferContext &t, const unsigned char *record)
{
    if (traceErrors())
        tracePrintf("********************* START WRITE ******************\n");
    // The sub-code takes the place of record byte 0.
    for (int i = 0; i < rec::TlnCount; i++)
        if (!t.send(K_WRITE_TLN_DATA_LIST, i, record + rec::TlnData + rec::TlnDataSize * std::size_t(i) + rec::TlnSent,
                    int(rec::TlnSentSize)))
            return;
}

} // namespace

TransferResult readTlnConfiguration(TransferObserver &observer, unsigned char *record)
{
    // Into a copy: a read that breaks off changes no record, flag or counter.
    std::vector<unsigned char> copy(record, record + rec::RecordSize);
    Transmission transfer{devicePath(), percentShow("tlnreadwbox", "Teilnehmerdaten lesen"), true, tlnSteps};
    TransferResult result =
        runTransmission(transfer, observer, [&copy](TransferContext &t) { readRecords(t, copy.data()); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(record + rec::TlnData, copy.data() + rec::TlnData, rec::TlnCount * rec::TlnDataSize);
    setFlags(record, 0);
    putLe32(record + rec::TlnPresent, 1);
    markClean(FileKind::Subscribers, record);
    return result;
}

TransferResult writeTlnConfiguration(TransferObserver &observer, unsigned char *record)
{
    SavedFlags before{record};
    Transmission transfer{devicePath(), percentShow("cfgwritewbox", "Konfiguration schreiben"), false, tlnSteps,
                          [record] {
                              clearUnusedPorts(record);
                              setFlags(record, 0);
                          }};
    TransferResult result =
        runTransmission(transfer, observer, [record](TransferContext &t) { writeRecords(t, record); });
    if (result == TransferResult::Done)
        markClean(FileKind::Subscribers, record);
    else
        before.restore();
    return result;
}
