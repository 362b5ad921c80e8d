// Address books into the directory: input lines against the slot bytes they
// give, what is skipped and why, and the slots an import must not touch.
#include <gtest/gtest.h>

#include "phonebook_env.h"
#include "speeddial/kwzfile.h"

#include <cstring>
#include <unistd.h>

using namespace phonebook;

namespace {

struct Skip {
    int line;
    SkipReason reason;
    int earlierLine = 0;
};

struct ImportCase {
    const char *what;
    std::string input;
    std::vector<Slot> slots; // into cleared slots: the text, then zero bytes
    std::vector<Skip> skipped = {};
    int cut = 0;
};

const ImportCase importCases[] = {
    {"header, a code, free slots from 100 on, own and foreign country",
     "Kurzwahl;Name;Telefon\r\n105;Meier;030 1234\r\n;Schulz;+49 (0)40 999\r\n;Smith;+44 20 7946 0958\r\n",
     {{105, "Meier", "0301234"}, {100, "Schulz", "040999"}, {101, "Smith", "00442079460958"}}},
    {"entries with a code first: a free-slot entry never takes a code named later",
     ";Erst;1\n100;Zweit;2\n", {{100, "Zweit", "2"}, {101, "Erst", "1"}}},
    {"8-bit file, commas, a quoted name across two lines",
     "101,\"M\xFCller,\nHans\",0301\n102,\xC4nne,1\n", {{101, "Müller, Hans", "0301"}, {102, "Änne", "1"}}},
    {"UTF-8 with its byte order mark; names cut to 37, 24 digits fit",
     "\xEF\xBB\xBF;" + utf8(u8"Größenwahn-Gesellschaft für Übergrößen mbH") + ";123456789012345678901234\n",
     {{100, "Größenwahn-Gesellschaft für Übergröße", "123456789012345678901234"}}, {}, 1},
    {"every reason to skip, each with its line; a code out of range is passed over, the entry stays",
     "300;A;1\n1x;B;2\n;C;-\n;D;1234567890123456789012345\n105;E;1\n105;F;2\n099;G;3\n",
     {{105, "E", "1"}, {100, "A", "1"}, {101, "B", "2"}, {102, "G", "3"}},
     {{3, SkipReason::EmptyNumber}, {4, SkipReason::NumberTooLong}, {6, SkipReason::DuplicateCode, 5}}},
    {"an entry stored already, by this import or before, is not stored again",
     ";Anna;1\n;Anna;1\n;Anna;2\n105;B;3\n;B;3\n105;B;3\n",
     {{100, "Anna", "1"}, {101, "Anna", "2"}, {105, "B", "3"}},
     {{2, SkipReason::AlreadyThere}, {5, SkipReason::AlreadyThere}, {6, SkipReason::AlreadyThere}}},
    {"a header only on the first line; separator-only lines pass unseen",
     "Kurzwahl,Name,Telefon\n,,\nKurzwahl,Name,Telefon\n", {}, {{3, SkipReason::EmptyNumber}}},
    {"vCard: each number an entry, the code goes to the first; a card without number is skipped",
     "BEGIN:VCARD\r\nFN:" + utf8(u8"Büro") + "\r\nTEL:+49 30 1\r\nTEL:+33 1 2\r\nX-KELVORA-SPEEDDIAL:150\r\n"
     "END:VCARD\r\nBEGIN:VCARD\r\nFN:Leer\r\nEND:VCARD\r\n",
     {{150, "Büro", "0301"}, {100, "Büro", "003312"}}, {{7, SkipReason::EmptyNumber}}},
};

TEST(Import, InputLinesIntoSlotBytes)
{
    for (const ImportCase &c : importCases) {
        Directory d = fenced();
        ImportResult result = importAddressBook(c.input, d.tables());
        expectSlots(d, c.slots, c.what);
        EXPECT_EQ(result.imported.size(), c.slots.size()) << c.what;
        EXPECT_EQ(result.cutCount(), c.cut) << c.what;
        ASSERT_EQ(result.skipped.size(), c.skipped.size()) << c.what;
        for (std::size_t k = 0; k < c.skipped.size(); ++k) {
            EXPECT_EQ(result.skipped[k].line, c.skipped[k].line) << c.what << ", skip " << k;
            EXPECT_EQ(result.skipped[k].reason, c.skipped[k].reason) << c.what << ", skip " << k;
            EXPECT_EQ(result.skipped[k].earlierLine, c.skipped[k].earlierLine) << c.what << ", skip " << k;
        }
    }
}

TEST(Import, DetectsHeaderEncodingAndFormat)
{
    Directory d;
    ImportResult latin = importCsv("Nr;Name;Nummer\n;M\xFCller;1\n150;Code;2\n", d.tables());
    EXPECT_EQ(latin.format, Format::Csv);
    EXPECT_EQ(latin.encoding, Encoding::Windows1252);
    EXPECT_EQ(latin.headerLine, 1);
    ImportResult plain = importCsv(utf8(u8";Müller;2\n"), d.tables());
    EXPECT_EQ(plain.encoding, Encoding::Utf8);
    EXPECT_EQ(plain.headerLine, 0);
    EXPECT_EQ(nameOf(d.tables(), 0), "Müller");
    EXPECT_EQ(nameOf(d.tables(), 1), "Code") << "a member number \"Nr\" is no code";
    EXPECT_EQ(nameOf(d.tables(), 2), "Müller");
    EXPECT_EQ(formatOf("\xEF\xBB\xBF\r\n  begin:vcard\r\n"), Format::VCard);
    EXPECT_EQ(formatOf("BEGIN:VCARD"), Format::VCard);
    EXPECT_EQ(formatOf("Kurzwahl;Name;Telefon\nBEGIN:VCARD\n"), Format::Csv);
    EXPECT_EQ(formatOf(""), Format::Csv);
}

// As a telephone behind the PBX dials them; lostZero: the import warns.
TEST(Import, NumberRules)
{
    struct {
        const char *written, *country, *stored;
        bool lostZero = false;
    } cases[] = {
        {"+49 30 1234567", "49", "0301234567"},     {"+49 (0)30 123", "49", "030123"},
        {"+49(0) 30 123", "49", "030123"},           {"+49 (0) 911 123", "49", "0911123"},
        {"+49 (030) 6912345", "49", "0306912345"},   {"+49 0157 71234567", "49", "015771234567"},
        {"+49-711-123456-12", "49", "071112345612"}, {"0711 123456-12", "49", "071112345612"},
        {"+44 (0)20 7946 0958", "49", "00442079460958"}, {"+39 06 6982", "49", "0039066982"},
        {"+39 06 6982", "39", "066982"},             {"+43 1 234", "43", "01234"},
        {"+43 (0)1 234", "49", "00431234"},          {"+1 212 555", "", "001212555"},
        {"+1 (212) 555-0142 ext. 7", "49", "0012125550142"}, {"+1 212 555 0142 x7", "49", "0012125550142"},
        {"tel:+49-30-1234;ext=5", "49", "0301234"},  {"030 1234 Extension 12", "49", "0301234"},
        {"+420 2 1234", "49", "0042021234"},         {"0049 30 1", "49", "0049301"},
        {"030/123-45 (0)", "49", "030123450"},       {"Tel. +49 30 1", "49", "0301"},
        {"+49", "49", ""},                           {"gesperrt", "49", ""},
        {"1701234567", "49", "1701234567", true},    {"30 1234567", "49", "301234567", true},
        {"12345678", "49", "12345678"},              {"3331234567", "39", "3331234567"},
        {"12345678901234", "49", "12345678901234"},
        // 00 as +: only the trunk 0 after a country code standing apart goes.
        {"0049 (0)711 2468-10", "49", "0711246810"}, {"0049 0711 2468-10", "49", "0711246810"},
        {"00 49 (0) 30 1", "49", "0301"},            {"0049-(030)-1", "49", "0301"},
        {"0044 (0)20 7946 0958", "49", "00442079460958"}, {"0033 (0)1 42 68", "49", "003314268"},
        {"0039 06 6982", "49", "0039066982"},        {"0049711246810", "49", "0049711246810"},
        {"00 440201", "49", "00440201"},             {"0049 30 1", "49", "0049301"},
        {"000 49 (0) 30", "49", "00049030"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(directoryNumber(c.written, c.country), c.stored) << c.written << " in " << c.country;
        EXPECT_EQ(looksLikeLostZero(c.written, c.country), c.lostZero) << c.written << " in " << c.country;
    }
    // The export's form: text to a spreadsheet, the same digits back.
    struct {
        const char *stored, *country, *written;
    } exported[] = {
        {"01701234567", "49", "+49 1701234567"}, {"00442079460958", "49", "+44 2079460958"},
        {"0039066982", "49", "+39 066982"},     {"066982", "39", "+39 066982"},
        {"0049301", "49", "00 49301"},           {"00440201", "49", "00 440201"},
        {"0301", "", "0 301"},                   {"0001", "49", "000 1"},
        {"1701234567", "49", "1701234567"},      {"000", "49", "000"},
        {"0012125550142", "49", "+1 2125550142"}, {"00420212", "49", "+420 212"},
    };
    for (const auto &c : exported) {
        EXPECT_EQ(textSafeNumber(c.stored, c.country), c.written) << c.stored << " in " << c.country;
        EXPECT_EQ(directoryNumber(c.written, c.country), c.stored) << c.written << " in " << c.country;
    }
}

TEST(Import, OccupiedSlotsStayUnlessReplacing)
{
    for (bool replace : {false, true}) {
        Directory d;
        storeEntry(d.tables(), 5, "Alter Eintrag mit langem Namen", "111");
        storeEntry(d.tables(), 0, "Belegt", "1");
        std::string before = d.nameSlot(105);
        ImportResult result = importCsv("105;Neu;222\n;Frei;333\n", d.tables(), {.replace = replace});
        EXPECT_EQ(nameOf(d.tables(), 1), "Frei") << replace;
        if (replace) {
            ASSERT_EQ(result.imported.size(), 2u);
            EXPECT_TRUE(result.imported[0].replaced);
            // As the editor overwrites: the old name's tail stays behind the zero byte.
            EXPECT_EQ(d.nameSlot(105), std::string("Neu\0", 4) + before.substr(4));
            EXPECT_EQ(d.numberSlot(105), padded("222", 25));
        } else {
            ASSERT_EQ(result.skipped.size(), 1u);
            EXPECT_EQ(result.skipped[0].reason, SkipReason::Occupied);
            EXPECT_EQ(d.nameSlot(105), before);
        }
        EXPECT_EQ(nameOf(d.tables(), 0), "Belegt") << "an entry without code never replaces";
    }
}

TEST(Import, FullDirectory)
{
    Directory d;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (slot != 150)
            storeEntry(d.tables(), slot, "X", "1");
    ImportResult result = importCsv(";A;1\n;B;2\n", d.tables());
    ASSERT_EQ(result.imported.size(), 1u);
    EXPECT_EQ(result.imported[0].code, 250);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].line, 2);
    EXPECT_EQ(result.skipped[0].reason, SkipReason::DirectoryFull);
}

// The store is the entry editor's, byte for byte, over slots that held
// anything before (no zero byte at all, other entries).
TEST(Import, StoresAsTheEditorDoes)
{
    const std::pair<std::string, std::string> entries[] = {
        {"", ""}, {"Meier", "0301234"}, {std::string(37, 'N'), std::string(24, '9')}, {"A", "12"},
    };
    for (unsigned char fill : {0x00, 0x5A, 0xFF}) {
        for (const auto &[name, number] : entries) {
            Directory ours, editors;
            std::memset(ours.record.data(), fill, rec::RecordSize);
            editors.record = ours.record;
            storeEntry(ours.tables(), 7, name, number);
            unsigned char *saved = all;
            all = editors.record.data();
            putEntry(7, name.c_str(), number.c_str());
            all = saved;
            EXPECT_EQ(ours.bytesAt(rec::KwzNumbers, TablesSize), editors.bytesAt(rec::KwzNumbers, TablesSize))
                << "fill " << int(fill) << ", name " << name << ", number " << number;
        }
    }
    EXPECT_EQ(NameMax, std::size_t(KwzNameMax));
    EXPECT_EQ(NumberMax, std::size_t(KwzNumberMax));
}

// The address book the issue asks about: umlauts, a number with +49, a
// foreign one, a name too long and a code taken twice.
const std::string sampleBook = utf8(u8R"(BEGIN:VCARD
VERSION:3.0
FN:Jürgen Müller
TEL;TYPE=HOME:+49 (0)30 1234567
X-KELVORA-SPEEDDIAL:105
END:VCARD
BEGIN:VCARD
VERSION:3.0
FN:Zoë Brontë-Łukasiewicz
TEL;TYPE=CELL:+44 20 7946 0958
END:VCARD
BEGIN:VCARD
VERSION:3.0
FN:Gemeinschaftspraxis Dr. med. Schäfer und Partner (Anmeldung)
TEL:06356 98765
END:VCARD
BEGIN:VCARD
VERSION:4.0
FN:Bäckerei Größ
TEL;VALUE=uri:tel:+49-6356-4711
X-KELVORA-SPEEDDIAL:105
END:VCARD
)");

TEST(Import, SampleAddressBook)
{
    Directory d;
    ImportResult result = importVCard(sampleBook, d.tables());
    ASSERT_EQ(result.imported.size(), 3u);
    const ImportedEntry &mueller = result.imported[0], &zoe = result.imported[1], &praxis = result.imported[2];
    EXPECT_EQ(mueller.line, 4);
    EXPECT_EQ(mueller.code, 105);
    EXPECT_EQ(mueller.name, "Jürgen Müller");
    EXPECT_EQ(mueller.number, "0301234567");
    EXPECT_FALSE(mueller.approximated || mueller.cut);
    EXPECT_EQ(zoe.code, 100);
    EXPECT_EQ(zoe.name, "Zoë Brontë-Lukasiewicz");
    EXPECT_EQ(zoe.number, "00442079460958");
    EXPECT_TRUE(zoe.approximated);
    EXPECT_EQ(praxis.code, 101);
    EXPECT_EQ(praxis.name, "Gemeinschaftspraxis Dr. med. Schäfer");
    EXPECT_TRUE(praxis.cut);
    EXPECT_EQ(result.cutCount(), 1);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].line, 20);
    EXPECT_EQ(result.skipped[0].reason, SkipReason::DuplicateCode);
    EXPECT_EQ(result.skipped[0].earlierLine, 4);
    EXPECT_EQ(result.skipped[0].name, "Bäckerei Größ");
    EXPECT_EQ(result.skipped[0].number, "063564711");
}

// An address book over 16 MB is not read: a file by its size, a pipe after
// 16 MB and one byte.
TEST(Import, BooksOver16MegabytesAreRefused)
{
    char name[] = "/tmp/kelvora-book-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    unlink(name);
    for (off_t size : {off_t(MaxBookSize), off_t(MaxBookSize) + 1}) {
        ASSERT_EQ(ftruncate(fd, size), 0);
        FILE *fp = fdopen(dup(fd), "rb");
        std::string bytes;
        EXPECT_EQ(readBook(fp, bytes), size > off_t(MaxBookSize) ? BookRead::TooBig : BookRead::Read) << size;
        EXPECT_EQ(bytes.size(), size > off_t(MaxBookSize) ? 0u : MaxBookSize) << "read nothing when too big";
        std::fclose(fp);
    }
    close(fd);
    for (std::size_t size : {MaxBookSize, MaxBookSize + 1, 3 * MaxBookSize}) {
        FILE *fp = popen(("head -c " + std::to_string(size) + " /dev/zero").c_str(), "r");
        ASSERT_NE(fp, nullptr);
        std::string bytes;
        EXPECT_EQ(readBook(fp, bytes), size > MaxBookSize ? BookRead::TooBig : BookRead::Read) << size;
        EXPECT_LE(bytes.size(), MaxBookSize + 1) << size;
        pclose(fp);
    }
}

} // namespace
