#include "config/cfgtransfer.h"

#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"

#include <algorithm>
#include <cstring>

char anl_vers[256];

namespace {

// One read of the configuration: the command, where its answer data goes and
// how much room it has there.  Answers longer than the room are cut, so no read
// reaches the next region.
struct ListRead {
    int code;
    int index;
    const char *title;
    std::size_t offset;
    std::size_t room;
};

// Port answers carry the port count in their first data byte; the block itself
// follows.  The S0 subscriber data lies in the tail of its port block.
constexpr std::size_t s0TlnRoom = rec::PortBlockSize - rec::S0TlnInBlock;
const ListRead configReads[] = {
    {K_READ_SO_PORT, 0, "K_READ_SO_PORT #0", rec::PortBlock0, rec::PortBlockSize},
    {K_READ_SO_PORT, 1, "K_READ_SO_PORT #1", rec::PortBlock0 + rec::PortBlockSize, rec::PortBlockSize},
    {K_READ_SO_PORT, 2, "K_READ_SO_PORT #2", rec::PortBlock0 + 2 * rec::PortBlockSize, rec::PortBlockSize},
    {K_READ_S0_TLN, 0, "K_READ_S0_TLN #0", rec::PortBlock0 + rec::S0TlnInBlock, s0TlnRoom},
    {K_READ_S0_TLN, 1, "K_READ_S0_TLN #1", rec::PortBlock0 + rec::PortBlockSize + rec::S0TlnInBlock, s0TlnRoom},
    {K_READ_S0_TLN, 2, "K_READ_S0_TLN #2", rec::PortBlock0 + 2 * rec::PortBlockSize + rec::S0TlnInBlock,
     s0TlnRoom},
    {K_READ_TLN_RUFNR_LIST, 0, "K_READ_TLN_RUFNR_LIST", rec::RufnrList, rec::RufnrListSize},
    {K_READ_TLN_BER_LIST, 0, "K_READ_TLN_BER_LIST", rec::BerList, rec::BerListSize},
    {K_READ_TLN_RUF_VERT_LIST, 0, "K_READ_TLN_RUF_VERT_LIST", rec::RufVertList, rec::RufVertListSize},
    {K_READ_ST_KON_LIST, 0, "K_READ_ST_KON_LIST", rec::StKonList, rec::StKonListSize},
    {K_READ_TLN_GEB_KONF_LIST, 0, "K_READ_TLN_GEB_KONF_LIST", rec::GebKonfList, rec::GebKonfListSize},
    {K_READ_ANL_DAT_LIST, 0, "K_READ_ANL_DAT_LIST", rec::AnlDatList, rec::AnlDatListSize},
};
constexpr int readSteps = int(std::size(configReads)) + 1; // and the ROM version

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

// Copies answer bytes from..L-1 to the record, at most room bytes; an answer
// too short to carry data copies nothing.
void copyAnswer(const unsigned char *answer, int length, int from, std::size_t offset, std::size_t room)
{
    if (length <= from)
        return;
    std::size_t count = std::min(std::size_t(length - from), room);
    std::memcpy(all + offset, answer + from, count);
}

void dumpAnswer(const char *title, const unsigned char *answer, int length)
{
    if (traceErrors() && length > 4)
        dumppacket(title, answer + 4, length - 4);
}

void readLists(TransferContext &t)
{
    if (traceErrors())
        tracePrintf("********************* START READ ******************\n");
    for (const ListRead &r : configReads) {
        int length = t.request(r.code, r.index);
        if (length == 0)
            return;
        const unsigned char *answer = t.answer();
        if (r.code == K_READ_SO_PORT) {
            if (r.index == 0 && length > 4)
                recAt(rec::TypeByte)[0] = static_cast<unsigned char>(answer[4] - 1);
            copyAnswer(answer, length, 5, r.offset, r.room);
        } else {
            copyAnswer(answer, length, 4, r.offset, r.room);
        }
        dumpAnswer(r.title, answer, length);
    }

    int length = t.request(K_GET_EPROM_VER, 0);
    if (length == 0)
        return;
    // The buffer was cleared before the answer, so the text ends inside it (and
    // is empty for an answer without data); it is cut to fit anl_vers.
    const char *text = reinterpret_cast<const char *>(t.answer() + 4);
    std::size_t n = strnlen(text, sizeof anl_vers - 1);
    std::memcpy(anl_vers, text, n);
    anl_vers[n] = '\0';
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

TransferResult readConfiguration(Widget parent)
{
    TransferPlan transfer{devicePath(), parent, "cfgreadwbox", "Konfiguration lesen", true, readSteps,
                          [] { setFlags(0); }};
    TransferResult result = runTransfer(transfer, readLists);
    if (result == TransferResult::Done)
        setFlags(1);
    return result;
}

TransferResult writeConfiguration(Widget parent)
{
    TransferPlan transfer{devicePath(), parent, "cfgwritewbox", "Konfiguration schreiben", false, writeSteps,
                          [] {
                              clearUnusedPorts();
                              setFlags(0);
                          }};
    TransferResult result = runTransfer(transfer, writeLists);
    if (result == TransferResult::Done)
        setFlags(1);
    return result;
}
