// The directory out to CSV and vCard: the exact bytes, and back in again.
#include <gtest/gtest.h>

#include "phonebook/latin1.h"
#include "phonebook_env.h"

#include <random>

using namespace phonebook;

namespace {

Directory sample()
{
    Directory d;
    storeEntry(d.tables(), 0, "Müller; Hans", "0301234");
    storeEntry(d.tables(), 1, "", "5");
    storeEntry(d.tables(), 150, " Pforte", "12");
    storeEntry(d.tables(), 151, "Nur ein Name", ""); // not occupied: not exported
    return d;
}

TEST(Export, CsvAndVCardBytes)
{
    Directory d = sample();
    EXPECT_EQ(exportCsv(d.tables()), "\xEF\xBB\xBF" "Kurzwahl;Name;Telefon\r\n" +
                                         utf8(u8"100;\"Müller; Hans\";+49 301234\r\n") +
                                         "101;;5\r\n"
                                         "250;\" Pforte\";12\r\n");
    storeEntry(d.tables(), 2, "Meier, Hans-Peter", "040");
    storeEntry(d.tables(), 3, "Anna Maria Schulz", "1");
    auto card = [](std::string fn, std::string n, const char *number, const char *code) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + fn + "\r\nN:" + n + ";;;\r\nTEL;TYPE=voice:" + number +
               "\r\nX-KELVORA-SPEEDDIAL:" + code + "\r\nEND:VCARD\r\n";
    };
    EXPECT_EQ(exportVCard(d.tables()), card(utf8(u8"Müller\\; Hans"), utf8(u8"Hans;Müller\\;"), "0301234", "100") +
                                           card("", ";", "5", "101") + card("Meier\\, Hans-Peter", "Meier;Hans-Peter", "040", "102") +
                                           card("Anna Maria Schulz", "Schulz;Anna Maria", "1", "103") +
                                           card(" Pforte", "Pforte;", "12", "250"));
}

// Directories as the editor or an import leaves them: occupied slots with a
// name of printable ISO 8859-1 and 1 to 24 digits, all other bytes zero.
Directory randomDirectory(unsigned seed)
{
    std::mt19937 random(seed);
    std::string alphabet = " ;,\"\\'=:";
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b < 0x7F || b >= 0xA0)
            alphabet += char(b);
    const double fullness[] = {0.05, 0.5, 0.9, 1.0};
    std::bernoulli_distribution used(fullness[seed % 4]);
    std::uniform_int_distribution<std::size_t> nameLength(0, NameMax), letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> numberLength(1, int(NumberMax)), digit('0', '9');
    Directory d;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!used(random))
            continue;
        std::string name(nameLength(random), ' '), number(std::size_t(numberLength(random)), '0');
        for (char &c : name)
            c = alphabet[letter(random)];
        for (char &c : number)
            c = char(digit(random));
        storeEntry(d.tables(), slot, name, number);
    }
    return d;
}

TEST(Export, ImportOfTheExportGivesTheSameBytes)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Directory original = randomDirectory(seed);
        int occupiedSlots = 0;
        for (int slot = 0; slot < SlotCount; ++slot)
            occupiedSlots += occupied(original.tables(), slot);
        for (Format format : {Format::Csv, Format::VCard}) {
            std::string file = format == Format::Csv ? exportCsv(original.tables()) : exportVCard(original.tables());
            ASSERT_TRUE(isUtf8(file));
            Directory back;
            ImportResult result = importAddressBook(file, back.tables());
            EXPECT_EQ(result.format, format);
            EXPECT_EQ(int(result.imported.size()), occupiedSlots) << "seed " << seed;
            EXPECT_TRUE(result.skipped.empty()) << "seed " << seed;
            EXPECT_EQ(result.cutCount(), 0) << "seed " << seed;
            if (back.record != original.record) {
                std::size_t at = 0;
                while (back.record[at] == original.record[at])
                    ++at;
                ADD_FAILURE() << "seed " << seed << (format == Format::Csv ? ", CSV" : ", vCard")
                              << ": the record differs from byte " << at << " on";
            }
        }
    }
}

} // namespace
