#include "charges/callformat.h"

#include "config/record.h"

#include <algorithm>
#include <cstdio>
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

CallTail tailOf(const unsigned char *tail, const unsigned char *record)
{
    CallTail t;
    t.subscriber = getKitAppNum(tail[0]);
    t.month = unsetAsZero(tail[1]);
    t.day = unsetAsZero(tail[2]);
    t.hour = unsetAsZero(tail[3]);
    t.minute = tail[4];
    t.number = get_Phonenumber(tail + 5);
    t.name = callName(record, t.number);
    return t;
}

const char *textAt(const unsigned char *record, std::size_t at) { return reinterpret_cast<const char *>(record + at); }

// The speed-dial slot holds exactly this text (slots need not be terminated).
bool slotHolds(const char *slot, std::size_t size, const std::string &text)
{
    return strnlen(slot, size) == text.size() && std::memcmp(slot, text.data(), text.size()) == 0;
}

} // namespace

std::string csvField(const std::string &text, char separator)
{
    if (text.find(separator) == std::string::npos && text.find_first_of("\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

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

std::string get_CallName(const std::string &number) { return callName(all, number); }

std::string callName(const unsigned char *record, const std::string &number)
{
    if (getLe32(record + rec::KwzPresent) == 0)
        return "";
    if (number.starts_with("-"))
        return "Analoger Teilnehmer";
    if (number.starts_with("#"))
        return "Privatgespräch";
    // No number at all is no entry's number, however many slots are unused.
    if (number.empty())
        return "";
    for (int i = 0; i < rec::KwzCount; i++) {
        const char *slot = textAt(record, rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i));
        if (slotHolds(slot, rec::KwzNumberSize, number)) {
            const char *name = textAt(record, rec::KwzNames + rec::KwzNameSize * std::size_t(i));
            return std::string(name, strnlen(name, rec::KwzNameSize));
        }
    }
    return "";
}

std::string printOutcallbuf(int position, const unsigned char *call, CallForm form)
{
    return outCallLine(position, call, form, all);
}

std::string printIncallbuf(int position, const unsigned char *call, CallForm form)
{
    return inCallLine(position, call, form, all);
}

std::string outCallLine(int position, const unsigned char *call, CallForm form, const unsigned char *record)
{
    const unsigned char *tail = call + TailOfOutCall;
    if (tail[0] == 0)
        return "";
    CallTail t = tailOf(tail, record);
    double charge = getLe32(call) / 100.0;
    unsigned seconds = getLe16(call + 4);
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

std::string inCallLine(int position, const unsigned char *call, CallForm, const unsigned char *record)
{
    if (call[0] == 0)
        return "";
    CallTail t = tailOf(call, record);
    char line[512];
    std::snprintf(line, sizeof line, "%.4d %2s %02d.%02d %02d:%02d %19s %-38s", position, t.subscriber.c_str(), t.day,
                  t.month, t.hour, t.minute, t.number.c_str(), t.name.c_str());
    return line;
}

int storeCallAnswer(unsigned char *store, int capacity, int recordSize, int received, const unsigned char *answer,
                    int length)
{
    // Whole records of the data bytes only: what a malformed answer has to
    // spare is not a record, and nothing is taken from beyond its end.
    int records = std::max(length - 4, 0) / recordSize;
    int kept = std::clamp(capacity - received, 0, records);
    if (kept > 0)
        std::memcpy(store + std::size_t(received) * std::size_t(recordSize), answer + 4,
                    std::size_t(kept) * std::size_t(recordSize));
    return records;
}
