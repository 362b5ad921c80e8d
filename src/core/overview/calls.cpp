#include "overview/calls.h"

#include "phonebook/latin1.h"

#include <cstdlib>

namespace overview {

namespace {

constexpr const char *Bom = "\xEF\xBB\xBF";

// One row of CSV: fields split at the separator; a field that begins with a
// quote runs to its closing quote, "" in it a quote.  Elsewhere a quote is a
// character (the sheet's ="0301234").
std::vector<std::string> fieldsOfRow(const std::string &row, char separator)
{
    std::vector<std::string> out(1);
    bool quoted = false, fresh = true;
    for (std::size_t i = 0; i < row.size(); i++) {
        char c = row[i];
        if (quoted) {
            if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
                out.back() += '"';
                i++;
            } else if (c == '"') {
                quoted = false;
            } else {
                out.back() += c;
            }
        } else if (c == '"' && fresh) {
            quoted = true;
        } else if (c == separator) {
            out.emplace_back();
            fresh = true;
            continue;
        } else {
            out.back() += c;
        }
        fresh = false;
    }
    return out;
}

// Rows of the text; a quoted line break stays in its row.
std::vector<std::string> rowsOf(const std::string &text)
{
    std::vector<std::string> rows(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted && (c == '\n' || c == '\r')) {
            if (!rows.back().empty())
                rows.emplace_back();
            continue;
        }
        rows.back() += c;
    }
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The sheet writes numbers and formula-like names as formulas giving text.
std::string unformula(const std::string &cell)
{
    if (cell.size() >= 3 && cell.compare(0, 2, "=\"") == 0 && cell.back() == '"') {
        std::string inner = cell.substr(2, cell.size() - 3), out;
        for (std::size_t i = 0; i < inner.size(); i++) {
            out += inner[i];
            if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"')
                i++;
        }
        return out;
    }
    return cell;
}

std::string trimmed(const std::string &s) { return std::string(phonebook::trimmed(s)); }

int hourOf(const std::string &time)
{
    if (time.size() < 2 || time.find(':') == std::string::npos)
        return -1;
    int h = std::atoi(time.c_str());
    return h >= 0 && h < 24 ? h : -1;
}

// A number of at most nine digits; a longer one is no amount of this list and
// would overflow the sums.
long small(const std::string &digits)
{
    long v = std::atol(digits.substr(0, digits.find_first_not_of(" 0123456789")).c_str());
    return v >= 0 && v < 1000000000L ? v : 0;
}

long centsOf(const std::string &amount)
{
    // "1.23" in the window's CSV, "1,23" in the sheet.
    std::size_t mark = amount.find_first_of(".,");
    long part = mark == std::string::npos ? 0 : small((amount.substr(mark + 1) + "00").substr(0, 2));
    return small(amount.substr(0, mark)) * 100 + part;
}

long secondsOf(const std::string &duration)
{
    // "3725" in the window's CSV, "1:02:05" in the sheet.
    long total = 0;
    std::size_t from = 0;
    for (int parts = 0; parts < 3; parts++) {
        std::size_t colon = duration.find(':', from);
        total = total * 60 + small(duration.substr(from, colon - from));
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    return total;
}

bool sheetRow(const std::vector<std::string> &f, bool outgoing, Call &call)
{
    std::size_t want = outgoing ? 7 : 5;
    if (f.size() != want)
        return false;
    call.extension = trimmed(f[0]);
    if (f[1].size() == 10 && f[1][4] == '-')
        call.date = {std::atoi(f[1].c_str()), std::atoi(f[1].c_str() + 5), std::atoi(f[1].c_str() + 8)};
    call.hour = hourOf(f[2]);
    if (outgoing) {
        call.seconds = secondsOf(f[3]);
        call.cents = centsOf(f[4]);
    }
    call.number = phonebook::utf8ToLatin1(unformula(f[want - 2])).text;
    call.name = phonebook::utf8ToLatin1(unformula(f[want - 1])).text;
    return true;
}

bool windowRow(const std::vector<std::string> &f, CivilDate today, Call &call)
{
    if (f.size() != 7 || f[1].size() != 5 || f[1][2] != '.')
        return false;
    call.extension = trimmed(f[0]);
    call.date = lastSuchDay(std::atoi(f[1].c_str()), std::atoi(f[1].c_str() + 3), today);
    call.hour = hourOf(f[2]);
    call.seconds = small(f[3]);
    call.cents = centsOf(f[4]);
    call.number = f[5].starts_with("#") ? f[5].substr(1) : f[5];
    call.name = f[6];
    return true;
}

} // namespace

bool readCallCsv(const std::string &bytes, CivilDate today, Calls &calls, std::string &why)
{
    std::string text = bytes.starts_with(Bom) ? bytes.substr(3) : bytes;
    std::vector<std::string> rows = rowsOf(text);
    calls.calls.clear();
    bool sheet = !rows.empty() && rows[0].starts_with("Nebenstelle;");
    if (sheet) {
        calls.outgoing = fieldsOfRow(rows[0], ';').size() == 7;
        rows.erase(rows.begin());
    }
    for (std::size_t i = 0; i < rows.size(); i++) {
        Call call;
        bool read = sheet ? sheetRow(fieldsOfRow(rows[i], ';'), calls.outgoing, call)
                          : windowRow(fieldsOfRow(rows[i], ','), today, call);
        if (!read) {
            why = "Zeile " + std::to_string(i + 1 + (sheet ? 1 : 0)) +
                  " ist keine Zeile einer Gesprächsliste (\"CVS sichern\" oder kelvoractl calls --sheet)";
            return false;
        }
        calls.calls.push_back(call);
    }
    if (!sheet)
        calls.outgoing = true;
    return true;
}

Calls callsOfStore(const CallRead &list, const std::vector<unsigned char> &store, CivilDate today,
                  const unsigned char *record)
{
    Calls calls;
    std::string why;
    readCallCsv(callSheet(list, store, today, record), today, calls, why);
    return calls;
}

} // namespace overview
