#include "phonebook/columns.h"

#include "phonebook/latin1.h"

#include <algorithm>
#include <array>

namespace phonebook::columns {

namespace {

// Header names are UTF-8 here, whatever the file was: those with umlauts are
// written as bytes.
std::string normalised(std::string_view s)
{
    std::string out(trimmed(s));
    for (char &c : out)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return out;
}

bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// Index of h in the list, NoColumn when absent: the lists go by preference.
std::size_t indexIn(std::string_view h, std::initializer_list<std::string_view> names)
{
    std::size_t k = 0;
    for (std::string_view n : names) {
        if (h == n)
            return k;
        ++k;
    }
    return NoColumn;
}

const std::initializer_list<std::string_view> DisplayNames = {
    "name", "display name", "anzeigename", "full name", "vollst\xC3\xA4ndiger name", "file as", "speichern unter"};
// Title, given, middle, family, suffix.
const std::array<std::initializer_list<std::string_view>, 5> PartNames = {{
    {"title", "name prefix", "anrede", "titel", "prefix"},
    {"first name", "given name", "vorname", "firstname"},
    {"middle name", "additional name", "weitere vornamen", "zweiter vorname"},
    {"last name", "family name", "surname", "nachname", "lastname"},
    {"suffix", "name suffix", "namenszusatz"},
}};
const std::initializer_list<std::string_view> CompanyNames = {
    "company", "organization", "organisation", "organization name", "organization 1 - name", "firma",
    "unternehmen", "company name"};
// "Nr" and "Code": what a hand-made list of code, name, number calls its first column.
const std::initializer_list<std::string_view> CodeNames = {"kurzwahl", "speed dial", "speeddial", "speed-dial",
                                                           "nr", "nr.", "code"};

// "phone 3 - value" and the like: the 3, else "".
std::string googleIndex(std::string_view h, std::string_view what)
{
    if (!h.starts_with("phone ") || !h.ends_with(what))
        return "";
    std::string_view middle = h.substr(6, h.size() - 6 - what.size());
    if (!middle.ends_with(" - "))
        return "";
    middle.remove_suffix(3);
    bool digits = !middle.empty() && std::all_of(middle.begin(), middle.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::string(middle) : "";
}

enum class NumberKind { NoNumber, Voice, Fax };

NumberKind numberKindOf(std::string_view h)
{
    for (std::string_view never : {"phonetic", "pager", "telex", "tty", "mail"})
        if (contains(h, never))
            return NumberKind::NoNumber;
    if (contains(h, "fax"))
        return NumberKind::Fax;
    for (std::string_view part : {"phone", "telefon", "tel.", "handy", "mobil", "rufnummer"})
        if (contains(h, part))
            return NumberKind::Voice;
    for (std::string_view whole : {"tel", "privat", "gesch\xC3\xA4" "ftlich", "nummer", "number", "isdn"})
        if (h == whole)
            return NumberKind::Voice;
    return NumberKind::NoNumber;
}

void joinWord(std::string &to, std::string_view word)
{
    word = trimmed(word);
    if (word.empty())
        return;
    if (!to.empty())
        to += ' ';
    to += word;
}

} // namespace

Layout layoutOf(const std::vector<std::string> &header)
{
    Layout layout;
    std::vector<std::pair<std::size_t, std::size_t>> display; // preference, column
    std::array<std::size_t, 5> parts;
    parts.fill(NoColumn);
    std::vector<std::pair<std::string, std::size_t>> googleTypes;
    for (std::size_t column = 0; column < header.size(); ++column) {
        std::string h = normalised(header[column]);
        if (std::size_t k = indexIn(h, DisplayNames); k != NoColumn) {
            display.push_back({k, column});
            continue;
        }
        bool part = false;
        for (std::size_t p = 0; p < parts.size() && !part; ++p)
            if (indexIn(h, PartNames[p]) != NoColumn) {
                if (parts[p] == NoColumn)
                    parts[p] = column;
                part = true;
            }
        if (part)
            continue;
        if (indexIn(h, CompanyNames) != NoColumn) {
            layout.company.push_back(column);
        } else if (indexIn(h, CodeNames) != NoColumn) {
            if (layout.code == NoColumn)
                layout.code = column;
        } else if (std::string n = googleIndex(h, "value"); !n.empty()) {
            layout.numbers.push_back({column, false, NoColumn});
            googleTypes.push_back({n, column});
        } else if (!googleIndex(h, "type").empty() || !googleIndex(h, "label").empty()) {
            continue;
        } else if (NumberKind kind = numberKindOf(h); kind != NumberKind::NoNumber) {
            layout.numbers.push_back({column, kind == NumberKind::Fax, NoColumn});
        }
    }
    // Each "Phone N - Value" with its "Phone N - Type" (or "- Label").
    for (std::size_t column = 0; column < header.size(); ++column) {
        std::string h = normalised(header[column]);
        std::string n = googleIndex(h, "type");
        if (n.empty())
            n = googleIndex(h, "label");
        for (auto &[index, valueColumn] : googleTypes)
            if (!n.empty() && index == n)
                for (NumberColumn &number : layout.numbers)
                    if (number.column == valueColumn)
                        number.typeColumn = column;
    }
    std::stable_sort(display.begin(), display.end());
    for (auto [preference, column] : display)
        layout.display.push_back(column);
    for (std::size_t column : parts)
        if (column != NoColumn)
            layout.nameParts.push_back(column);
    return layout;
}

std::size_t columnNamed(const std::vector<std::string> &header, std::string_view name)
{
    std::string wanted = normalised(name);
    for (std::size_t column = 0; column < header.size(); ++column)
        if (normalised(header[column]) == wanted)
            return column;
    return NoColumn;
}

Row rowOf(const Layout &layout, const std::vector<std::string> &fields)
{
    // As the reader gave it: a quoted field keeps its blanks.
    auto cell = [&fields](std::size_t column) -> std::string_view {
        return column < fields.size() ? std::string_view(fields[column]) : std::string_view();
    };
    Row row;
    for (std::size_t column : layout.display)
        if (row.name.empty())
            row.name = cell(column);
    if (row.name.empty())
        for (std::size_t column : layout.nameParts)
            joinWord(row.name, cell(column));
    for (std::size_t column : layout.company)
        if (row.name.empty())
            row.name = cell(column);
    if (layout.code != NoColumn)
        row.code = cell(layout.code);
    for (const NumberColumn &number : layout.numbers) {
        std::string type = normalised(number.typeColumn == NoColumn ? "" : cell(number.typeColumn));
        if (contains(type, "pager"))
            continue;
        bool fax = number.fax || contains(type, "fax");
        // Several values of one kind in one cell, as one exporter writes them.
        std::string_view rest = cell(number.column);
        for (std::size_t at = 0; !rest.empty(); rest.remove_prefix(at == std::string_view::npos ? rest.size() : at + 3)) {
            at = rest.find(":::");
            std::string_view value = trimmed(rest.substr(0, at));
            if (!value.empty())
                row.numbers.push_back({std::string(value), fax});
        }
    }
    return row;
}

} // namespace phonebook::columns
