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

unsigned char *tlnRecord(int i) { return recAt(rec::TlnData + rec::TlnDataSize * std::size_t(i)); }

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

void writeRecords(TransferContext &t)
{
    if (traceErrors())
        tracePrintf("********************* START WRITE ******************\n");
    // The sub-code takes the place of record byte 0.
    for (int i = 0; i < rec::TlnCount; i++)
        if (!t.send(K_WRITE_TLN_DATA_LIST, i, tlnRecord(i) + rec::TlnSent, int(rec::TlnSentSize)))
            return;
}

} // namespace

TransferResult readTlnConfiguration(TransferObserver &observer)
{
    // Into a copy: a read that breaks off changes no record, flag or counter.
    std::vector<unsigned char> copy(all, all + rec::RecordSize);
    Transmission transfer{devicePath(), percentShow("tlnreadwbox", "Teilnehmerdaten lesen"), true, tlnSteps};
    TransferResult result =
        runTransmission(transfer, observer, [&copy](TransferContext &t) { readRecords(t, copy.data()); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(recAt(rec::TlnData), copy.data() + rec::TlnData, rec::TlnCount * rec::TlnDataSize);
    setFlags(0);
    setRecInt(rec::TlnPresent, 1);
    markClean(FileKind::Subscribers);
    return result;
}

TransferResult writeTlnConfiguration(TransferObserver &observer)
{
    SavedFlags before;
    Transmission transfer{devicePath(), percentShow("cfgwritewbox", "Konfiguration schreiben"), false, tlnSteps,
                          [] {
                              clearUnusedPorts(all);
                              setFlags(0);
                          }};
    TransferResult result = runTransmission(transfer, observer, writeRecords);
    if (result == TransferResult::Done)
        markClean(FileKind::Subscribers);
    else
        before.restore();
    return result;
}
