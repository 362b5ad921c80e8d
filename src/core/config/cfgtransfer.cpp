#include "config/cfgtransfer.h"

#include "config/listanswers.h"
#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"

#include <algorithm>
#include <cstring>
#include <vector>

char anl_vers[256];

namespace {

constexpr int readSteps = ConfigReadCount + 1; // and the ROM version

struct ListWrite {
    int code;
    int subcode;
    std::size_t offset;
    int length;
};

const ListWrite configWrites[] = {
    {K_WRITE_SO_PORT, 0, rec::PortBlock0, int(rec::PortBlockSent)},
    {K_WRITE_SO_PORT, 1, rec::PortBlock0 + rec::PortBlockSize, int(rec::PortBlockSent)},
    {K_WRITE_SO_PORT, 2, rec::PortBlock0 + 2 * rec::PortBlockSize, int(rec::PortBlockSent)},
    {K_WRITE_ANL_DAT_LIST, NoSubCode, rec::AnlDatList, int(rec::AnlDatListSize)},
    {K_WRITE_TLN_RUFNR_LIST, NoSubCode, rec::RufnrList, int(rec::RufnrShare)},
    {K_WRITE_S0_TLN, 0, rec::PortBlock0 + rec::S0TlnInBlock, int(rec::S0TlnSize)},
    {K_WRITE_S0_TLN, 1, rec::PortBlock0 + rec::PortBlockSize + rec::S0TlnInBlock, int(rec::S0TlnSize)},
    {K_WRITE_S0_TLN, 2, rec::PortBlock0 + 2 * rec::PortBlockSize + rec::S0TlnInBlock, int(rec::S0TlnSize)},
    {K_WRITE_TLN_BER_LIST, NoSubCode, rec::BerList, int(rec::BerShare)},
    {K_WRITE_TLN_RUF_VERT_LIST, NoSubCode, rec::RufVertList, int(rec::RufVertShare)},
    {K_WRITE_TLN_GEB_KONF_LIST, NoSubCode, rec::GebKonfList, int(rec::GebKonfShare)},
    {K_WRITE_ST_KON_LIST, NoSubCode, rec::StKonList, int(rec::StKonShare)},
};
constexpr int writeSteps = int(std::size(configWrites));

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
    for (int step = 0; step < ConfigReadCount; step++) {
        const ConfigRead &r = configRead(step);
        int length = t.request(r.code, r.index);
        if (length == 0)
            return;
        storeConfigAnswer(copy.record.data(), step, t.answer(), length);
        dumpAnswer(r.title, t.answer(), length);
    }

    int length = t.request(K_GET_EPROM_VER, 0);
    if (length == 0)
        return;
    storeVersion(copy.version, sizeof copy.version, t.answer(), length);
    dumpAnswer("K_GET_EPROM_VER", t.answer(), length);
}

void writeLists(TransferContext &t)
{
    if (traceErrors())
        tracePrintf("********************* START WRITE ******************\n");
    for (const ListWrite &w : configWrites)
        if (!t.send(w.code, w.subcode, all + w.offset, w.length))
            return;
}

} // namespace

void clearUnusedPorts()
{
    unsigned type = recAt(rec::TypeByte)[0];
    if (type <= 1)
        std::memset(all + rec::PortBlock0 + 2 * rec::PortBlockSize, 0, rec::PortBlockSize);
    if (type == 0)
        std::memset(all + rec::PortBlock0 + rec::PortBlockSize, 0, rec::PortBlockSize);
}

TransferResult readConfiguration(TransferObserver &observer)
{
    // A read that breaks off must not leave a mix of two configurations: the
    // answers go into a copy that replaces the image only once all arrived.
    ReadCopy copy;
    copy.record.assign(all, all + rec::RecordSize);
    Transmission transfer{devicePath(), percentShow("cfgreadwbox", "Konfiguration lesen"), true, readSteps};
    TransferResult result = runTransmission(transfer, observer, [&copy](TransferContext &t) { readLists(t, copy); });
    if (result != TransferResult::Done)
        return result;
    std::memcpy(all, copy.record.data(), rec::PbxImageSize);
    std::memcpy(anl_vers, copy.version, sizeof anl_vers);
    setFlags(1);
    markClean(RecordPart::Configuration);
    return result;
}

TransferResult writeConfiguration(TransferObserver &observer)
{
    SavedFlags before;
    Transmission transfer{devicePath(), percentShow("cfgwritewbox", "Konfiguration schreiben"), false, writeSteps,
                          [] {
                              clearUnusedPorts();
                              setFlags(0);
                          }};
    TransferResult result = runTransmission(transfer, observer, writeLists);
    if (result == TransferResult::Done) {
        setFlags(1);
        markClean(RecordPart::Configuration);
    } else {
        before.restore();
    }
    return result;
}
