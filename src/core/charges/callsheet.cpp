#include "charges/callsheet.h"

#include "charges/callformat.h"
#include "config/record.h"
#include "phonebook/latin1.h"

#include <cstdio>
#include <ctime>
#include <string_view>

namespace {

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(int month, int year)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

std::string field(const std::string &text) { return csvField(text, ';'); }

// A text a spreadsheet would take for a formula (a name "=..." from an address
// book) is written as a formula giving that very text, so it is shown, never run.
std::string textCell(const std::string &text)
{
    if (text.empty() || std::string_view("=+-@").find(text[0]) == std::string_view::npos)
        return field(text);
    std::string formula = "=\"";
    for (char c : text)
        formula += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field(formula + "\"");
}

std::string trimmedCode(unsigned char code)
{
    std::string text = getKitAppNum(code);
    return text.substr(text.find_first_not_of(' ') == std::string::npos ? 0 : text.find_first_not_of(' '));
}

int unsetAsZero(unsigned char byte) { return byte == 0xFF ? 0 : byte; }

// The 17 bytes both records end with, as cells: extension, date, time, and
// (after whatever the caller puts between) number and name.
struct Tail {
    std::string extension, date, time, number, name;
};

Tail tailCells(const unsigned char *tail, CivilDate today, const unsigned char *record)
{
    Tail t;
    t.extension = trimmedCode(tail[0]);
    char text[64];
    CivilDate d = lastSuchDay(unsetAsZero(tail[2]), unsetAsZero(tail[1]), today);
    if (d.year != 0) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
        t.date = text;
    }
    int hour = unsetAsZero(tail[3]), minute = tail[4];
    if (hour < 24 && minute < 60) {
        std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
        t.time = text;
    }
    std::string number = get_Phonenumber(tail + 5);
    // As a formula giving text, the one way both common spreadsheets keep a
    // leading 0 without being told; quoted only when a nibble 0xB made a ';'.
    t.number = "=\"" + number + "\"";
    if (number.find(';') != std::string::npos)
        t.number = field(t.number);
    t.name = callName(record, number);
    return t;
}

} // namespace

CivilDate lastSuchDay(int day, int month, CivilDate today)
{
    if (month < 1 || month > 12 || day < 1)
        return {};
    int year = today.year;
    if (month > today.month || (month == today.month && day > today.day))
        year--;
    // 29.02 goes back to the last leap year; other days are found at once.
    for (int tries = 0; tries < 8; tries++, year--)
        if (day <= daysIn(month, year))
            return {year, month, day};
    return {};
}

CivilDate localToday()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string callSheet(const CallRead &list, const std::vector<unsigned char> &store, CivilDate today,
                      const unsigned char *record)
{
    bool outgoing = list.recordSize == OutCallSize;
    std::string sheet = outgoing ? "Nebenstelle;Datum;Uhrzeit;Dauer;Gebühr;Nummer;Name\r\n"
                                 : "Nebenstelle;Datum;Uhrzeit;Nummer;Name\r\n";
    std::size_t size = std::size_t(list.recordSize);
    for (std::size_t i = 0; (i + 1) * size <= store.size(); i++) {
        const unsigned char *call = store.data() + i * size;
        const unsigned char *tail = call + (size - InCallSize);
        if (tail[0] == 0)
            continue;
        Tail t = tailCells(tail, today, record);
        std::string row = field(t.extension) + ";" + t.date + ";" + t.time + ";";
        if (outgoing) {
            unsigned seconds = getLe16(call + 4);
            std::uint32_t charge = getLe32(call);
            char cells[64];
            std::snprintf(cells, sizeof cells, "%u:%02u:%02u;%u,%02u;", seconds / 3600, seconds / 60 % 60,
                          seconds % 60, unsigned(charge / 100), unsigned(charge % 100));
            row += cells;
        }
        sheet += row + t.number + ";" + textCell(t.name) + "\r\n";
    }
    return "\xEF\xBB\xBF" + phonebook::latin1ToUtf8(sheet);
}
