#include "charges/calltransfer.h"

#include "config/record.h"
#include "link/trace.h"

const CallRead outgoingCalls{"Ausgehende Gespräche lesen...", "K_READ_TLN_GEB_LIST", K_READ_OUT_GEB_LIST, true,
                             OutCallSize, OutCallCount, outCallLine};
const CallRead incomingCalls{"Eingegangene Gespräche auslesen...", "K_READ_IN_GEB_LIST", K_READ_IN_GEB_LIST, false,
                             InCallSize, InCallCount, inCallLine};

TransferResult readCalls(const CallRead &list, std::vector<unsigned char> &store, TransferObserver &observer)
{
    // Read into a store of its own: one that fails half-way must not mix into
    // the records the list shows and the files and printouts are made of.
    std::vector<unsigned char> fresh(std::size_t(list.recordSize) * std::size_t(list.capacity), 0);
    Transmission transfer{devicePath(), percentShow("gebreaddlg", list.message), true, 0};
    TransferResult result = runTransmission(transfer, observer, [&list, &fresh](TransferContext &t) {
        int received = 0;
        while (received < list.capacity) {
            int length = list.wideIndex ? t.requestWide(list.command, received) : t.request(list.command, received);
            if (length == 0)
                return;
            if (traceErrors())
                dumppacket(list.traceLabel, t.answer(), length);
            int records = storeCallAnswer(fresh.data(), list.capacity, list.recordSize, received, t.answer(), length);
            if (records == 0)
                break;
            received += records;
            t.setScale(percentOf(list.capacity, received));
        }
    });
    if (result == TransferResult::Done)
        store = std::move(fresh);
    return result;
}

TransferResult eraseOutgoingCalls(TransferObserver &observer)
{
    Transmission transfer{devicePath(), messageShow("gebkitdlg", "Gebührenspeicher löschen..."), false, 1};
    return runTransmission(transfer, observer, [](TransferContext &t) {
        static const unsigned char nothing[1] = {0};
        t.send(K_CLEAR_OUT_GEB_LIST, NoSubCode, nothing, sizeof nothing);
    });
}

bool writeCallLines(const CallRead &list, const std::vector<unsigned char> &store, FILE *fp, bool printing,
                    CallForm form, const unsigned char *record)
{
    std::size_t size = std::size_t(list.recordSize);
    for (std::size_t i = 0; (i + 1) * size <= store.size(); i++) {
        std::string line = list.line(int(i), store.data() + i * size, form, record);
        if (line.empty())
            continue;
        if (printing && form == CallForm::Text)
            std::fprintf(fp, "%80.80s\n", line.c_str());
        else
            std::fprintf(fp, "%s\n", line.c_str());
    }
    return !std::ferror(fp);
}
