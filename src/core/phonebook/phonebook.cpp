#include "phonebook/phonebook.h"

#include "phonebook/columns.h"
#include "phonebook/csv.h"
#include "phonebook/latin1.h"
#include "phonebook/ldif.h"
#include "phonebook/vcard.h"
#include "phonebook/xmlbook.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

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

// An entry as it goes into the directory.
struct Candidate {
    int line;
    std::string code;   // "" for none
    std::string name;   // UTF-8
    std::string number; // digits, as the directory holds them
    bool fax = false;
    bool lostZero = false; // see looksLikeLostZero
};

// What one row or card gives: a name and its numbers as written.
struct Contact {
    struct Number {
        int line;
        std::string value;
        bool fax;
    };
    int line;
    std::string code, name;
    std::vector<Number> numbers;
};

struct StoredName {
    Latin1Text name;
    bool cut = false;
};

// The name as it is stored: ISO 8859-1, cut to NameMax with room for the
// fax label.
StoredName storedName(const std::string &utf8, bool fax)
{
    StoredName out{utf8ToLatin1(utf8)};
    std::string &text = out.name.text;
    std::size_t room = NameMax - (fax ? FaxLabel.size() : 0);
    if (text.size() > room) {
        out.cut = true;
        text.resize(room);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
    }
    if (fax)
        text += FaxLabel;
    return out;
}

// A contact's numbers as entries: each number once, faxes only when asked
// for, the code with the first; no number at all is an entry without one,
// which place() skips.
void addContact(const Contact &contact, const ImportOptions &options, std::vector<Candidate> &candidates,
                ImportResult &result)
{
    std::vector<Candidate> mine;
    std::unordered_set<std::string> taken; // the numbers in mine: a contact may have a million
    bool faxLeftOut = false;
    for (const Contact::Number &n : contact.numbers) {
        std::string digits = directoryNumber(n.value, options.ownCountry);
        if (digits.empty() || taken.count(digits))
            continue;
        if (n.fax && !options.withFax) {
            faxLeftOut = true;
            continue;
        }
        taken.insert(digits);
        mine.push_back({n.line, mine.empty() ? contact.code : "", contact.name, digits, n.fax,
                        looksLikeLostZero(n.value, options.ownCountry)});
    }
    // Voice numbers first: the code goes to the first of them.
    std::stable_partition(mine.begin(), mine.end(), [](const Candidate &c) { return !c.fax; });
    if (!mine.empty() && !mine[0].fax)
        for (std::size_t k = 0; k < mine.size(); ++k)
            mine[k].code = k == 0 ? contact.code : "";
    if (mine.empty() && faxLeftOut) {
        StoredName name = storedName(contact.name, false);
        result.skipped.push_back({contact.line, SkipReason::OnlyFax, name.name.text, "", std::string(trimmed(contact.code)), 0});
        return;
    }
    if (mine.empty())
        mine.push_back({contact.line, contact.code, contact.name, "", false, false});
    candidates.insert(candidates.end(), mine.begin(), mine.end());
}

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
// that a later line of the file names.  A code out of range is said and
// passed over: the entry goes to a free slot.
void place(const std::vector<Candidate> &candidates, Tables tables, const ImportOptions &options,
           ImportResult &result)
{
    std::array<int, SlotCount> takenBy{}; // the line whose entry this import put there
    int nextFree = 0;
    for (bool coded : {true, false}) {
        for (const Candidate &c : candidates) {
            std::string_view code = trimmed(c.code);
            int slot = slotOfCode(code);
            if ((slot >= 0) != coded)
                continue;
            StoredName stored = storedName(c.name, c.fax);
            const Latin1Text &name = stored.name;
            const std::string &number = c.number;
            SkippedEntry skip{c.line, SkipReason::EmptyNumber, name.text, number, utf8ToLatin1(code).text, 0};
            auto skipped = [&](SkipReason reason) {
                skip.reason = reason;
                result.skipped.push_back(skip);
            };
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
            result.imported.push_back(
                {c.line, FirstCode + slot, name.text, number, stored.cut, name.approximated, replaced});
            if (!coded && !code.empty())
                result.notices.push_back({c.line, NoticeKind::CodeIgnored, name.text, number, skip.code, FirstCode + slot});
            if (c.lostZero)
                result.notices.push_back({c.line, NoticeKind::LostZero, name.text, number});
        }
    }
    auto byLine = [](const auto &a, const auto &b) { return a.line < b.line; };
    std::stable_sort(result.imported.begin(), result.imported.end(), byLine);
    std::stable_sort(result.skipped.begin(), result.skipped.end(), byLine);
    std::stable_sort(result.notices.begin(), result.notices.end(), byLine);
}

// A first line whose code is no number or whose number has no digit names
// the columns.
bool isHeader(std::vector<std::string> fields)
{
    fields.resize(std::max<std::size_t>(fields.size(), 3));
    return (!fields[0].empty() && !allDigits(fields[0])) || (!fields[2].empty() && !anyDigit(fields[2]));
}

// Lines without a header that reads as names: code;name;number, as this
// program writes them and as hand-made lists have them, when most lines look
// like that.
bool positional(const std::vector<csv::Record> &records)
{
    std::size_t alike = 0;
    for (const csv::Record &r : records) {
        const std::vector<std::string> &f = r.fields;
        alike += f.size() >= 3 && (f[0].empty() || anyDigit(f[0])) && anyDigit(f[2]);
    }
    return 2 * alike >= records.size();
}

std::vector<std::string> latin1Fields(const std::vector<std::string> &fields)
{
    std::vector<std::string> out;
    for (const std::string &f : fields)
        out.push_back(utf8ToLatin1(f).text);
    return out;
}

// The columns the options name, into layout; false (and the trouble in
// result) when one is not in the header.
bool chosenColumns(const std::vector<std::string> &header, const ImportOptions &options, columns::Layout &layout,
                   ImportResult &result)
{
    std::vector<std::size_t> names, numbers;
    for (auto [wanted, into] : {std::pair{&options.nameColumns, &names}, {&options.numberColumns, &numbers}}) {
        for (const std::string &name : *wanted) {
            std::size_t column = columns::columnNamed(header, name);
            if (column == columns::NoColumn) {
                result.trouble = Trouble::ColumnMissing;
                result.missingColumn = utf8ToLatin1(anyToUtf8(name)).text;
                result.header = latin1Fields(header);
                return false;
            }
            into->push_back(column);
        }
    }
    layout.chosen = names;
    if (!numbers.empty()) {
        layout.numbers.clear();
        for (std::size_t column : numbers)
            layout.numbers.push_back({column, false, columns::NoColumn});
    }
    return true;
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

Format formatOf(std::string_view text)
{
    text = withoutMark(text);
    if (text.find('\0') != std::string_view::npos)
        return Format::Unknown;
    std::size_t first = text.find_first_not_of(" \t\r\n");
    std::string_view start = first == std::string_view::npos ? "" : text.substr(first, 11);
    std::string upper(start);
    for (char &c : upper)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    if (upper == "BEGIN:VCARD")
        return Format::VCard;
    if (ldif::looksLikeLdif(text))
        return Format::Ldif;
    if (xmlbook::looksLikeXml(text))
        return Format::Xml;
    return start.empty() || csv::separated(text) ? Format::Csv : Format::Unknown;
}

int ImportResult::cutCount() const
{
    return int(std::count_if(imported.begin(), imported.end(), [](const ImportedEntry &e) { return e.cut; }));
}

namespace {

ImportResult begun(Format format, std::string_view bytes)
{
    ImportResult result;
    result.format = format;
    result.encoding = encodingOf(bytes);
    return result;
}

bool blank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// A file that is not blank and gave no contact says so, unless it said why.
void noContact(std::string_view text, ImportResult &result)
{
    if (result.trouble == Trouble::Clear && result.contacts == 0 && !blank(withoutMark(text)))
        result.trouble = Trouble::NoEntries;
}

// The contacts of a reader into the tables.
void placeCards(const std::vector<Card> &cards, Tables tables, const ImportOptions &options, ImportResult &result)
{
    std::vector<Candidate> candidates;
    for (const Card &card : cards) {
        Contact contact{card.line, card.code, card.name, {}};
        for (const Tel &tel : card.tels)
            contact.numbers.push_back({tel.line, tel.value, tel.fax});
        addContact(contact, options, candidates, result);
    }
    result.contacts = int(cards.size());
    place(candidates, tables, options, result);
}

void importCsvText(const std::string &text, Tables tables, const ImportOptions &options, ImportResult &result)
{
    result.format = Format::Csv;
    result.separator = csv::separatorOf(text);
    std::vector<int> unclosed;
    std::vector<csv::Record> records;
    for (csv::Record &record : csv::read(text, result.separator, &unclosed))
        if (std::any_of(record.fields.begin(), record.fields.end(), [](const std::string &f) { return !f.empty(); }))
            records.push_back(std::move(record));
    for (int line : unclosed)
        result.notices.push_back({line, NoticeKind::UnclosedQuote, "", ""});
    if (records.empty())
        return;

    const std::vector<std::string> &first = records.front().fields;
    columns::Layout layout = columns::layoutOf(first);
    bool chosen = !options.nameColumns.empty() || !options.numberColumns.empty();
    if (chosen && !chosenColumns(first, options, layout, result))
        return;
    std::vector<Candidate> candidates;
    if (chosen || layout.recognised()) {
        result.headerLine = records.front().line;
        for (std::size_t k = 1; k < records.size(); ++k) {
            columns::Row row = columns::rowOf(layout, records[k].fields);
            Contact contact{records[k].line, row.code, row.name, {}};
            for (columns::Number &n : row.numbers)
                contact.numbers.push_back({records[k].line, std::move(n.value), n.fax});
            addContact(contact, options, candidates, result);
        }
        result.contacts = int(records.size() - 1);
    } else {
        std::size_t from = isHeader(first) ? 1 : 0;
        if (!positional({records.begin() + std::ptrdiff_t(from), records.end()})) {
            result.trouble = Trouble::ColumnsUnknown;
            result.header = latin1Fields(first);
            return;
        }
        if (from == 1)
            result.headerLine = records.front().line;
        for (std::size_t k = from; k < records.size(); ++k) {
            std::vector<std::string> f = records[k].fields;
            f.resize(std::max<std::size_t>(f.size(), 3));
            addContact({records[k].line, f[0], f[1], {{records[k].line, f[2], false}}}, options, candidates, result);
        }
        result.contacts = int(records.size() - from);
    }
    place(candidates, tables, options, result);
}

} // namespace

ImportResult importCsv(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result = begun(Format::Csv, bytes);
    std::string text = toUtf8(bytes, result.encoding);
    importCsvText(text, tables, options, result);
    noContact(text, result);
    return result;
}

ImportResult importVCard(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result = begun(Format::VCard, bytes);
    // Values say their own 8-bit code page (CHARSET): only UTF-16 is turned
    // into UTF-8 beforehand.
    bool wide = result.encoding == Encoding::Utf16Le || result.encoding == Encoding::Utf16Be;
    if (result.encoding == Encoding::MacRoman)
        result.encoding = Encoding::Windows1252;
    std::string text = wide ? toUtf8(bytes, result.encoding) : std::string(bytes);
    placeCards(vcard::read(text), tables, options, result);
    noContact(text, result);
    return result;
}

ImportResult importLdif(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result = begun(Format::Ldif, bytes);
    std::string text = toUtf8(bytes, result.encoding);
    placeCards(ldif::read(text), tables, options, result);
    noContact(text, result);
    return result;
}

ImportResult importXml(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    ImportResult result = begun(Format::Xml, bytes);
    xmlbook::Book book = xmlbook::read(bytes);
    result.declaredEncoding = utf8ToLatin1(book.declaredEncoding).text;
    if (book.errorLine > 0) {
        result.trouble = Trouble::BrokenXml;
        result.errorLine = book.errorLine;
        result.error = book.error;
    } else if (book.cards.empty() && book.root != "phonebooks" && book.root != "phonebook") {
        result.trouble = Trouble::NoPhoneBook;
        result.xmlRoot = utf8ToLatin1(book.root).text;
    } else {
        placeCards(book.cards, tables, options, result);
    }
    noContact(bytes, result);
    return result;
}

ImportResult importAddressBook(std::string_view bytes, Tables tables, const ImportOptions &options)
{
    Encoding encoding = encodingOf(bytes);
    switch (formatOf(toUtf8(bytes, encoding))) {
    case Format::VCard: return importVCard(bytes, tables, options);
    case Format::Ldif: return importLdif(bytes, tables, options);
    case Format::Xml: return importXml(bytes, tables, options);
    case Format::Csv: return importCsv(bytes, tables, options);
    case Format::Unknown: break;
    }
    ImportResult result;
    result.format = Format::Unknown;
    result.encoding = encoding;
    result.trouble = Trouble::NoFormat;
    return result;
}

std::string exportCsv(ConstTables tables, std::string_view ownCountry)
{
    std::string out(ByteOrderMark);
    out.append(CsvHeader).append("\r\n");
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!occupied(tables, slot))
            continue;
        out += std::to_string(FirstCode + slot) + CsvSeparator;
        out += csv::field(latin1ToUtf8(nameOf(tables, slot)), CsvSeparator) + CsvSeparator;
        out += csv::field(textSafeNumber(numberOf(tables, slot), ownCountry), CsvSeparator) + "\r\n";
    }
    return out;
}

namespace {

// N's family and given name of a directory name: "Last, First" or "First
// Last"; a single word is the family name.
std::pair<std::string, std::string> familyAndGiven(std::string_view name)
{
    name = trimmed(name);
    if (std::size_t comma = name.find(", "); comma != std::string_view::npos)
        return {std::string(trimmed(name.substr(0, comma))), std::string(trimmed(name.substr(comma + 2)))};
    std::size_t blank = name.rfind(' ');
    if (blank == std::string_view::npos)
        return {std::string(name), ""};
    return {std::string(name.substr(blank + 1)), std::string(trimmed(name.substr(0, blank)))};
}

} // namespace

std::string exportVCard(ConstTables tables)
{
    std::string out;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!occupied(tables, slot))
            continue;
        std::string name = latin1ToUtf8(nameOf(tables, slot));
        auto [family, given] = familyAndGiven(name);
        vcard::appendLine(out, "BEGIN:VCARD");
        vcard::appendLine(out, "VERSION:3.0");
        vcard::appendLine(out, "FN:" + vcard::escaped(name));
        vcard::appendLine(out, "N:" + vcard::escaped(family) + ";" + vcard::escaped(given) + ";;;");
        vcard::appendLine(out, "TEL;TYPE=voice:" + vcard::escaped(latin1ToUtf8(numberOf(tables, slot))));
        vcard::appendLine(out, std::string(vcard::CodeProperty) + ":" + std::to_string(FirstCode + slot));
        vcard::appendLine(out, "END:VCARD");
    }
    return out;
}

} // namespace phonebook
