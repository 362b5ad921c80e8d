// Shared by the address-book targets: one import of the input into a
// directory that already holds entries, with replace off and on.  Checked:
// no byte outside the two tables changes; only the slots of imported entries
// change, each holding its entry as the editor stores it (the name's zero
// byte, the number's first 24 bytes cleared) and the rest of the slot as it
// was; the same import again gives the same bytes and the same result; and
// every entry comes back unchanged from an export to CSV and to vCard.
#pragma once

#include "config/record.h"
#include "fuzzfile.h"
#include "phonebook/phonebook.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace fuzzphonebook {

using namespace phonebook;
using Importer = ImportResult (*)(std::string_view, Tables, const ImportOptions &);

constexpr unsigned char Fill = 0x5A;

inline unsigned char *numberSlot(std::vector<unsigned char> &r, int slot)
{
    return r.data() + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(slot);
}
inline unsigned char *nameSlot(std::vector<unsigned char> &r, int slot)
{
    return r.data() + rec::KwzNames + rec::KwzNameSize * std::size_t(slot);
}

// Fill everywhere, every slot free with Fill behind its first byte, and a
// few entries: with a name's tail behind the new one, without a name, full.
inline std::vector<unsigned char> startRecord()
{
    std::vector<unsigned char> r(rec::RecordSize, Fill);
    for (int slot = 0; slot < SlotCount; ++slot)
        numberSlot(r, slot)[0] = nameSlot(r, slot)[0] = 0;
    Tables tables = tablesOfRecord(r.data());
    storeEntry(tables, 0, "Zentrale mit einem langen Namen", "0301111");
    storeEntry(tables, 0, "Zentrale", "0301111");
    storeEntry(tables, 5, "", "112");
    storeEntry(tables, 7, "Nur ein Name", "");
    storeEntry(tables, 199, std::string(NameMax, 'N'), std::string(NumberMax, '9'));
    return r;
}

inline bool sameResult(const ImportResult &a, const ImportResult &b)
{
    if (a.imported.size() != b.imported.size() || a.skipped.size() != b.skipped.size() || a.encoding != b.encoding ||
        a.headerLine != b.headerLine)
        return false;
    for (std::size_t k = 0; k < a.imported.size(); ++k) {
        const ImportedEntry &x = a.imported[k], &y = b.imported[k];
        if (x.line != y.line || x.code != y.code || x.name != y.name || x.number != y.number || x.cut != y.cut ||
            x.approximated != y.approximated || x.replaced != y.replaced)
            return false;
    }
    for (std::size_t k = 0; k < a.skipped.size(); ++k) {
        const SkippedEntry &x = a.skipped[k], &y = b.skipped[k];
        if (x.line != y.line || x.reason != y.reason || x.name != y.name || x.number != y.number ||
            x.code != y.code || x.earlierLine != y.earlierLine)
            return false;
    }
    return true;
}

inline void checkSlot(const char *target, std::vector<unsigned char> &record, const std::vector<unsigned char> &start,
               const ImportedEntry &entry, bool replace)
{
    int slot = entry.code - FirstCode;
    std::size_t at = std::size_t(numberSlot(record, slot) - record.data());
    std::size_t nameLength = entry.name.size(), numberLength = entry.number.size();
    if (nameLength > NameMax || entry.name.find('\0') != std::string::npos)
        fuzzFail(target, "name longer than the editor takes", at);
    if (numberLength == 0 || numberLength > NumberMax ||
        entry.number.find_first_not_of("0123456789") != std::string::npos)
        fuzzFail(target, "number not of 1 to 24 digits", at);
    if (entry.replaced != (start[at] != 0) || (entry.replaced && !replace))
        fuzzFail(target, "occupied slot overwritten against the rule", at);
    const unsigned char *number = numberSlot(record, slot);
    if (std::memcmp(number, entry.number.data(), numberLength) != 0)
        fuzzFail(target, "number not stored", at);
    for (std::size_t k = numberLength; k < NumberMax; ++k)
        if (number[k] != 0)
            fuzzFail(target, "number slot not cleared", at + k);
    if (number[NumberMax] != (numberLength == NumberMax ? 0 : start[at + NumberMax]))
        fuzzFail(target, "last byte of the number slot", at + NumberMax);
    at = std::size_t(nameSlot(record, slot) - record.data());
    const unsigned char *name = nameSlot(record, slot);
    if (std::memcmp(name, entry.name.data(), nameLength) != 0 || name[nameLength] != 0)
        fuzzFail(target, "name not stored with its zero byte", at);
    if (std::memcmp(name + nameLength + 1, &start[at + nameLength + 1], rec::KwzNameSize - nameLength - 1) != 0)
        fuzzFail(target, "name slot changed behind the name", at);
}

inline void checkImport(const char *target, Importer import, const std::uint8_t *data, std::size_t size)
{
    static const std::vector<unsigned char> start = startRecord();
    std::string_view text(reinterpret_cast<const char *>(data), size);
    for (bool replace : {false, true}) {
        ImportOptions options{replace, "49"};
        std::vector<unsigned char> record = start, again = start;
        ImportResult result = import(text, tablesOfRecord(record.data()), options);

        std::vector<bool> stored(SlotCount);
        for (const ImportedEntry &entry : result.imported) {
            int slot = entry.code - FirstCode;
            if (slot < 0 || slot >= SlotCount || stored[std::size_t(slot)])
                fuzzFail(target, "entry imported into no slot or a slot twice", std::size_t(entry.line));
            stored[std::size_t(slot)] = true;
            checkSlot(target, record, start, entry, replace);
        }
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (stored[std::size_t(slot)])
                continue;
            std::size_t number = std::size_t(numberSlot(record, slot) - record.data());
            std::size_t name = std::size_t(nameSlot(record, slot) - record.data());
            if (std::memcmp(&record[number], &start[number], rec::KwzNumberSize) != 0 ||
                std::memcmp(&record[name], &start[name], rec::KwzNameSize) != 0)
                fuzzFail(target, "slot changed without an imported entry", number);
        }
        if (std::memcmp(record.data(), start.data(), rec::KwzNumbers) != 0 ||
            std::memcmp(&record[rec::NahBerList], &start[rec::NahBerList], rec::RecordSize - rec::NahBerList) != 0) {
            std::size_t i = 0;
            while (record[i] == start[i] || (i >= rec::KwzNumbers && i < rec::NahBerList))
                ++i;
            fuzzFail(target, "byte outside the tables changed", i);
        }

        ImportResult second = import(text, tablesOfRecord(again.data()), options);
        if (again != record || !sameResult(result, second))
            fuzzFail(target, "the same import gave another outcome", 0);

        ConstTables tables = tablesOfRecord(record.data());
        for (bool csv : {true, false}) {
            std::string file = csv ? exportCsv(tables) : exportVCard(tables);
            std::vector<unsigned char> back(rec::RecordSize);
            ConstTables backTables = tablesOfRecord(back.data());
            ImportResult reread = csv ? importCsv(file, tablesOfRecord(back.data()))
                                      : importVCard(file, tablesOfRecord(back.data()));
            if (!reread.skipped.empty())
                fuzzFail(target, csv ? "CSV export not taken whole" : "vCard export not taken whole", 0);
            for (int slot = 0; slot < SlotCount; ++slot)
                if (occupied(tables, slot) != occupied(backTables, slot) ||
                    (occupied(tables, slot) && (nameOf(tables, slot) != nameOf(backTables, slot) ||
                                                numberOf(tables, slot) != numberOf(backTables, slot))))
                    fuzzFail(target, csv ? "entry changed by a CSV export and import" : "entry changed by a vCard export and import",
                             std::size_t(slot));
        }
    }
}

} // namespace fuzzphonebook
