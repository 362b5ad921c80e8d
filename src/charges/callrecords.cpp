#include "charges/callrecords.h"

#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"
#include "link/transfer.h"
#include "shell/bind.h"
#include "shell/output.h"
#include "speeddial/kwz.h"
#include "toolkit/toolkit.h"

#include <Xm/List.h>
#include <algorithm>
#include <cstring>

namespace {

constexpr int TailOfOutCall = OutCallSize - InCallSize; // charge and duration come first

// The 17 bytes both records end with.
struct CallTail {
    std::string subscriber, number, name;
    int month, day, hour, minute;
};

// Month, day and hour 0xFF are unset and read as 0; the minute is taken as stored.
int unsetAsZero(unsigned char byte) { return byte == 0xFF ? 0 : byte; }

CallTail tailOf(const unsigned char *tail)
{
    CallTail t;
    t.subscriber = getKitAppNum(tail[0]);
    t.month = unsetAsZero(tail[1]);
    t.day = unsetAsZero(tail[2]);
    t.hour = unsetAsZero(tail[3]);
    t.minute = tail[4];
    t.number = get_Phonenumber(tail + 5);
    t.name = get_CallName(t.number);
    return t;
}

// Names come from the user: a field holding a separator, a quote or a line
// break is quoted, so that the row keeps its columns.
std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// The speed-dial slot holds exactly this text (slots need not be terminated).
bool slotHolds(const char *slot, std::size_t size, const std::string &text)
{
    return strnlen(slot, size) == text.size() && std::memcmp(slot, text.data(), text.size()) == 0;
}

} // namespace

std::string getKitAppNum(unsigned char code)
{
    if (code == 0xAA)
        return "--";
    char text[8];
    std::snprintf(text, sizeof text, "%2X", unsigned(code));
    return text;
}

std::string get_Phonenumber(const unsigned char *number)
{
    if (number[0] == 0xFF)
        return "-----";
    std::string digits;
    for (int i = 0; i < CallNumberSize; i++) {
        unsigned char byte = number[i];
        if (byte == 0xBB)
            return "#9";
        if ((byte >> 4) == 0xF)
            break;
        digits += char(0x30 + (byte >> 4));
        if ((byte & 0xF) == 0xF)
            break;
        digits += char(0x30 + (byte & 0xF));
    }
    return digits;
}

std::string get_CallName(const std::string &number)
{
    if (recInt(rec::KwzPresent) == 0)
        return "";
    if (number.starts_with("-"))
        return "Analoger Teilnehmer";
    if (number.starts_with("#"))
        return "Privatgespräch";
    // No number at all is no entry's number, however many slots are unused.
    if (number.empty())
        return "";
    for (int i = 0; i < rec::KwzCount; i++) {
        const char *slot = recText(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i));
        if (slotHolds(slot, rec::KwzNumberSize, number)) {
            const char *name = recText(rec::KwzNames + rec::KwzNameSize * std::size_t(i));
            return std::string(name, strnlen(name, rec::KwzNameSize));
        }
    }
    return "";
}

std::string printOutcallbuf(int position, const unsigned char *record, CallForm form)
{
    const unsigned char *tail = record + TailOfOutCall;
    if (tail[0] == 0)
        return "";
    CallTail t = tailOf(tail);
    double charge = getLe32(record) / 100.0;
    unsigned seconds = getLe16(record + 4);
    char line[512];
    if (form == CallForm::Spreadsheet) {
        std::snprintf(line, sizeof line, "%s,%02d.%02d,%02d:%02d,%u,%2.2f,#%s,%s", t.subscriber.c_str(), t.day, t.month,
                      t.hour, t.minute, seconds, charge, t.number.c_str(), csvField(t.name).c_str());
        return line;
    }
    char amount[32];
    std::snprintf(amount, sizeof amount, "%2.2f", charge);
    unsigned hours = seconds / 3600, minutes = (seconds - hours * 3600) / 60;
    std::snprintf(line, sizeof line, "%.4d %2s %02d.%02d %02d:%02d %6s %02u:%02u:%02u %19s %-38s", position,
                  t.subscriber.c_str(), t.day, t.month, t.hour, t.minute, amount, hours, minutes, seconds % 60,
                  t.number.c_str(), t.name.c_str());
    return line;
}

std::string printIncallbuf(int position, const unsigned char *record, CallForm)
{
    if (record[0] == 0)
        return "";
    CallTail t = tailOf(record);
    char line[512];
    std::snprintf(line, sizeof line, "%.4d %2s %02d.%02d %02d:%02d %19s %-38s", position, t.subscriber.c_str(), t.day,
                  t.month, t.hour, t.minute, t.number.c_str(), t.name.c_str());
    return line;
}

void runCallList(CallList &list, Widget parent)
{
    buildDialogOnce(list.dialog, parent, list.dialogName);
    XmtDialogRun(list.dialog);
}

bool readCallList(CallList &list)
{
    // Read into a store of its own: one that fails half-way must not mix into
    // the records the list shows and the files and printouts are made of.
    std::vector<unsigned char> fresh(std::size_t(list.recordSize) * std::size_t(list.capacity), 0);
    TransferPlan transfer{devicePath(), list.dialog, "gebreaddlg", list.readMessage, true, 0};
    TransferResult result = runTransfer(transfer, [&list, &fresh](TransferContext &t) {
        int received = 0;
        while (received < list.capacity) {
            int length = list.wideIndex ? t.requestWide(list.command, received) : t.request(list.command, received);
            if (length == 0)
                return;
            if (traceErrors())
                dumppacket(list.traceLabel, t.answer(), length);
            // The length counts the 4 header bytes; an answer too short for one
            // record ends the list as an empty one does.
            int records = length / list.recordSize;
            if (records == 0)
                break;
            int kept = std::min(records, list.capacity - received);
            std::memcpy(fresh.data() + std::size_t(received) * std::size_t(list.recordSize), t.answer() + 4,
                        std::size_t(kept) * std::size_t(list.recordSize));
            received += records;
            showPercent(t.workingBox(), list.capacity, received);
        }
    });
    if (result != TransferResult::Done)
        return false;
    list.store = std::move(fresh);
    showCallList(list);
    return true;
}

void showCallList(CallList &list)
{
    Widget shown = list.dialog ? XmtNameToWidget(list.dialog, list.listName) : nullptr;
    if (!shown)
        return;
    XmListDeleteAllItems(shown);
    if (recInt(rec::KwzPresent) == 0)
        loadNshowFile(list.dialog, 0);
    std::vector<XmString> items;
    for (int i = 0; i < list.capacity && std::size_t(i + 1) * std::size_t(list.recordSize) <= list.store.size(); i++) {
        std::string line = list.line(i, list.store.data() + std::size_t(i) * std::size_t(list.recordSize), CallForm::Text);
        if (line.empty())
            break;
        items.push_back(XmStringCreate(line.data(), const_cast<char *>(XmFONTLIST_DEFAULT_TAG)));
    }
    XmListAddItems(shown, items.data(), int(items.size()), 0);
    for (XmString item : items)
        XmStringFree(item);
}

bool writeCalls(const CallList &list, FILE *fp, bool printing, CallForm form)
{
    for (int i = 0; std::size_t(i + 1) * std::size_t(list.recordSize) <= list.store.size(); i++) {
        std::string line = list.line(i, list.store.data() + std::size_t(i) * std::size_t(list.recordSize), form);
        if (line.empty())
            continue;
        if (printing && form == CallForm::Text)
            std::fprintf(fp, "%80.80s\n", line.c_str());
        else
            std::fprintf(fp, "%s\n", line.c_str());
    }
    return !std::ferror(fp);
}

bool saveCallList(const CallList &list, const char *query, const char *prompt, const char *pattern, CallForm form)
{
    return saveLinesAs(list.dialog, query, prompt, pattern,
                       [&list, form](FILE *fp) { return writeCalls(list, fp, false, form); });
}

bool printCallList(const CallList &list)
{
    if (list.store.empty())
        return false;
    return printLines(list.dialog, [&list](FILE *fp) { return writeCalls(list, fp, true, CallForm::Text); });
}
