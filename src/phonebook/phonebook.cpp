#include "phonebook/phonebook.h"

#include "phonebook/csv.h"
#include "phonebook/latin1.h"
#include "phonebook/vcard.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace phonebook {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view CsvHeader = "Kurzwahl;Name;Telefon";
constexpr char CsvSeparator = ';';

static_assert(rec::KwzNames == rec::KwzNumbers + SlotCount * rec::KwzNumberSize);

std::size_t numberAt(int slot) { return rec::KwzNumberSize * std::size_t(slot); }
std::size_t nameAt(int slot) { return rec::KwzNames - rec::KwzNumbers + rec::KwzNameSize * std::size_t(slot); }

std::string textAt(const unsigned char *slot, std::size_t size)
{
    auto *text = reinterpret_cast<const char *>(slot);
    return std::string(text, strnlen(text, size));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(std::string_view s) { return std::all_of(s.begin(), s.end(), isDigit); }
bool anyDigit(std::string_view s) { return std::any_of(s.begin(), s.end(), isDigit); }

std::string_view withoutMark(std::string_view bytes)
{
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        bytes.remove_prefix(ByteOrderMark.size());
    return bytes;
}

// An entry as the input gave it.
struct Candidate {
    int line;
    std::string code;   // "" for none
    std::string name;   // UTF-8
    std::string number; // as written
};

// The code's slot, -1 when code is not one.
int slotOfCode(std::string_view code)
{
    if (code.empty() || code.size() > 3 || !allDigits(code))
        return -1;
    int value = std::stoi(std::string(code));
    return value >= FirstCode && value < FirstCode + SlotCount ? value - FirstCode : -1;
}

bool holds(ConstTables tables, int slot, const std::string &name, const std::string &number)
{
    return occupied(tables, slot) && numberOf(tables, slot) == number && nameOf(tables, slot) == name;
}

// The first slot holding exactly this entry, -1 for none.
int slotHolding(ConstTables tables, const std::string &name, const std::string &number)
{
    for (int slot = 0; slot < SlotCount; ++slot)
        if (holds(tables, slot, name, number))
            return slot;
    return -1;
}

// Entries with a code first, so that an entry without one cannot take a slot
// that a later line of the file names.
void place(const std::vector<Candidate> &candidates, Tables tables, const ImportOptions &options,
           ImportResult &result)
{
    std::array<int, SlotCount> takenBy{}; // the line whose entry this import put there
    int nextFree = 0;
    for (bool coded : {true, false}) {
        for (const Candidate &c : candidates) {
            std::string_view code = trimmed(c.code);
            if (code.empty() == coded)
                continue;
            Latin1Text name = utf8ToLatin1(c.name);
            bool cut = name.text.size() > NameMax;
            if (cut) {
                name.text.resize(NameMax);
                while (!name.text.empty() && name.text.back() == ' ')
                    name.text.pop_back();
            }
            std::string number = directoryNumber(c.number, options.ownCountry);
            SkippedEntry skip{c.line, SkipReason::EmptyNumber, name.text, number, std::string(code), 0};
            auto skipped = [&](SkipReason reason) {
                skip.reason = reason;
                result.skipped.push_back(skip);
            };
            int slot = coded ? slotOfCode(code) : -1;
            if (coded && slot < 0) {
                skipped(SkipReason::CodeOutOfRange);
                continue;
            }
            if (number.empty()) {
                skipped(SkipReason::EmptyNumber);
                continue;
            }
            if (number.size() > NumberMax) {
                skipped(SkipReason::NumberTooLong);
                continue;
            }
            int same = coded ? (holds(tables, slot, name.text, number) ? slot : -1)
                             : slotHolding(tables, name.text, number);
            if (same >= 0) {
                skip.code = std::to_string(FirstCode + same);
                skipped(SkipReason::AlreadyThere);
                continue;
            }
            bool replaced = false;
            if (coded) {
                if (takenBy[std::size_t(slot)] != 0) {
                    skip.earlierLine = takenBy[std::size_t(slot)];
                    skipped(SkipReason::DuplicateCode);
                    continue;
                }
                replaced = occupied(tables, slot);
                if (replaced && !options.replace) {
                    skipped(SkipReason::Occupied);
                    continue;
                }
            } else {
                while (nextFree < SlotCount && occupied(tables, nextFree))
                    ++nextFree;
                if (nextFree == SlotCount) {
                    skipped(SkipReason::DirectoryFull);
                    continue;
                }
                slot = nextFree;
            }
            storeEntry(tables, slot, name.text, number);
            takenBy[std::size_t(slot)] = c.line;
            result.imported.push_back({c.line, FirstCode + slot, name.text, number, cut, name.approximated, replaced});
        }
    }
    auto byLine = [](const auto &a, const auto &b) { return a.line < b.line; };
    std::stable_sort(result.imported.begin(), result.imported.end(), byLine);
    std::stable_sort(result.skipped.begin(), result.skipped.end(), byLine);
}

// A first line whose code is no number or whose number has no digit names
// the columns.
bool isHeader(const std::vector<std::string> &fields)
{
    return (!fields[0].empty() && !allDigits(fields[0])) || (!fields[2].empty() && !anyDigit(fields[2]));
}

} // namespace

bool occupied(ConstTables tables, int slot) { return tables[numberAt(slot)] != 0; }

std::string nameOf(ConstTables tables, int slot) { return textAt(&tables[nameAt(slot)], rec::KwzNameSize); }

std::string numberOf(ConstTables tables, int slot) { return textAt(&tables[numberAt(slot)], rec::KwzNumberSize); }

void storeEntry(Tables tables, int slot, std::string_view name, std::string_view number)
{
    unsigned char *nameSlot = &tables[nameAt(slot)];
    std::size_t n = std::min({name.size(), name.find('\0'), NameMax});
    std::memcpy(nameSlot, name.data(), n);
    nameSlot[n] = 0;
    unsigned char *numberSlot = &tables[numberAt(slot)];
    std::memset(numberSlot, 0, NumberMax);
    n = std::min({number.size(), number.find('\0'), NumberMax});
    std::memcpy(numberSlot, number.data(), n);
    numberSlot[n] = 0;
}

std::string directoryNumber(std::string_view text, std::string_view ownCountry)
{
    std::size_t first = text.find_first_of("+0123456789");
    bool international = first != std::string_view::npos && text[first] == '+';
    std::string written;
    for (char c : text)
        if (c != ' ' && c != '\t')
            written += c;
    if (international) {
        if (std::size_t trunk = written.find("(0)"); trunk != std::string::npos)
            written.erase(trunk, 3);
    }
    std::string digits;
    std::copy_if(written.begin(), written.end(), std::back_inserter(digits), isDigit);
    if (!international || digits.empty())
        return digits;
    std::string own;
    std::copy_if(ownCountry.begin(), ownCountry.end(), std::back_inserter(own), isDigit);
    if (own.empty() || !digits.starts_with(own))
        return "00" + digits;
    return digits.size() == own.size() ? "" : "0" + digits.substr(own.size());
}

Format formatOf(std::string_view bytes)
{
    bytes = withoutMark(bytes);
    std::size_t first = bytes.find_first_not_of(" \t\r\n");
    std::string_view start = first == std::string_view::npos ? "" : bytes.substr(first, 11);
    std::string upper(start);
    for (char &c : upper)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    return upper == "BEGIN:VCARD" ? Format::VCard : Format::Csv;
}

int ImportResult::cutCount() const
{
    return int(std::count_if(imported.begin(), imported.end(), [](const ImportedEntry &e) { return e.cut; }));
}

ImportResult importCsv(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result;
    result.format = Format::Csv;
    bytes = withoutMark(bytes);
    result.utf8 = isUtf8(bytes);
    std::string text = result.utf8 ? std::string(bytes) : legacyToUtf8(bytes);
    std::vector<Candidate> candidates;
    bool first = true;
    for (csv::Record &record : csv::read(text, csv::separatorOf(text))) {
        record.fields.resize(std::max<std::size_t>(record.fields.size(), 3));
        std::vector<std::string> &f = record.fields;
        if (f[0].empty() && f[1].empty() && f[2].empty())
            continue;
        if (first && isHeader(f)) {
            result.headerLine = record.line;
            first = false;
            continue;
        }
        first = false;
        candidates.push_back({record.line, f[0], f[1], f[2]});
    }
    place(candidates, tables, options, result);
    return result;
}

ImportResult importVCard(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result;
    result.format = Format::VCard;
    result.utf8 = isUtf8(withoutMark(bytes));
    std::vector<Candidate> candidates;
    for (const vcard::Card &card : vcard::read(bytes)) {
        if (card.tels.empty())
            candidates.push_back({card.line, card.code, card.name, ""});
        // The code belongs to the first number; the others find free slots.
        bool first = true;
        for (const vcard::Tel &tel : card.tels) {
            candidates.push_back({tel.line, first ? card.code : "", card.name, tel.value});
            first = false;
        }
    }
    place(candidates, tables, options, result);
    return result;
}

ImportResult importAddressBook(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    return formatOf(bytes) == Format::VCard ? importVCard(bytes, tables, options)
                                            : importCsv(bytes, tables, options);
}

std::string exportCsv(ConstTables tables)
{
    std::string out(ByteOrderMark);
    out.append(CsvHeader).append("\r\n");
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!occupied(tables, slot))
            continue;
        out += std::to_string(FirstCode + slot) + CsvSeparator;
        out += csv::field(latin1ToUtf8(nameOf(tables, slot)), CsvSeparator) + CsvSeparator;
        out += csv::field(latin1ToUtf8(numberOf(tables, slot)), CsvSeparator) + "\r\n";
    }
    return out;
}

std::string exportVCard(ConstTables tables)
{
    std::string out;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!occupied(tables, slot))
            continue;
        std::string name = vcard::escaped(latin1ToUtf8(nameOf(tables, slot)));
        vcard::appendLine(out, "BEGIN:VCARD");
        vcard::appendLine(out, "VERSION:3.0");
        vcard::appendLine(out, "FN:" + name);
        vcard::appendLine(out, "N:" + name + ";;;;");
        vcard::appendLine(out, "TEL:" + vcard::escaped(latin1ToUtf8(numberOf(tables, slot))));
        vcard::appendLine(out, std::string(vcard::CodeProperty) + ":" + std::to_string(FirstCode + slot));
        vcard::appendLine(out, "END:VCARD");
    }
    return out;
}

} // namespace phonebook
