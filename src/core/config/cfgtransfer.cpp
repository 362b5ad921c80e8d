#include "config/cfgtransfer.h"

#include "config/listanswers.h"
#include "config/lists.h"
#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"

#include <algorithm>
#include <cstring>
#include <vector>

char anl_vers[256];

namespace {

constexpr int readSteps = ConfigListCount + 1; // and the ROM version
constexpr int writeSteps = ConfigListCount;

void dumpAnswer(const char *title, const unsigned char *answer, int length)
{
    if (traceErrors() && length > 4)
        dumppacket(title, answer + 4, length - 4);
}

// What a read collects before it may replace anything: a record image and the
// ROM version.
struct ReadCopy {
    std::vector<unsigned char> record;
    char version[sizeof anl_vers] = "";
};

void readLists(TransferContext &t, ReadCopy &copy)
{
    if (traceErrors())
        tracePrintf("********************* START READ ******************\n");
    for (int step = 0; step < ConfigListCount; step++) {
        const ConfigList &l = configLists[step];
        int length = t.request(l.readCode, l.readIndex);
        if (length == 0)
            return;
        storeConfigAnswer(copy.record.data(), step, t.answer(), length);
        dumpAnswer(l.title, t.answer(), length);
    }

    int length = t.request(K_GET_EPROM_VER, 0);
    if (length == 0)
        return;
    storeVersion(copy.version, sizeof copy.version, t.answer(), length);
    dumpAnswer("K_GET_EPROM_VER", t.answer(), length);
}

void writeLists(TransferContext &t, const unsigned char *record)
{
    if (traceErrors())
        tracePrintf("********************* START WRITE ******************\n");
    for (int step = 0; step < writeSteps; step++) {
        const ConfigList &l = writtenList(step);
        if (!t.send(l.writeCode, l.writeSub, record + l.region, int(l.writeSize)))
            return;
    }
}

} // namespace

void clearUnusedPorts(unsigned char *record)
{
    unsigned type = record[rec::TypeByte];
    if (type <= 1)
        std::memset(record + rec::PortBlock0 + 2 * rec::PortBlockSize, 0, rec::PortBlockSize);
    if (type == 0)
        std::memset(record + rec::PortBlock0 + rec::PortBlockSize, 0, rec::PortBlockSize);
}

TransferResult readConfiguration(TransferObserver &observer, unsigned char *record)
{
    // A read that breaks off must not leave a mix of two configurations: the
    // answers go into a copy that replaces the image only once all arrived.
    ReadCopy copy;
    copy.record.assign(record, record + rec::RecordSize);
    Transmission transfer{devicePath(), percentShow("cfgreadwbox", "Konfiguration lesen"), true, readSteps};
    TransferResult result = runTransmission(transfer, observer, [&copy](TransferContext &t) { readLists(t, copy); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(record, copy.record.data(), rec::PbxImageSize);
    std::memcpy(anl_vers, copy.version, sizeof anl_vers);
    setFlags(record, 1);
    markClean(FileKind::Configuration, record);
    return result;
}

TransferResult writeConfiguration(TransferObserver &observer, unsigned char *record)
{
    SavedFlags before{record};
    Transmission transfer{devicePath(), percentShow("cfgwritewbox", "Konfiguration schreiben"), false, writeSteps,
                          [record] {
                              clearUnusedPorts(record);
                              setFlags(record, 0);
                          }};
    TransferResult result =
        runTransmission(transfer, observer, [record](TransferContext &t) { writeLists(t, record); });
    if (result == TransferResult::Done) {
        setFlags(record, 1);
        markClean(FileKind::Configuration, record);
    } else {
        before.restore();
    }
    return result;
}
