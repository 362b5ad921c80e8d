// What the three printouts hand the spooler (the character set, the widths,
// lpr's pitch), the speed-dial number that no longer fits its column, and the
// call lists' table for spreadsheets.
#include <gtest/gtest.h>

#include "charges/callsheet.h"
#include "charges/calltransfer.h"
#include "phonebook/latin1.h"
#include "print/printout.h"
#include "speeddial/kwzformat.h"
#include "support/calls_model.h"
#include "support/tempdir.h"

#include <cstring>
#include <sstream>
#include <sys/stat.h>

namespace {

using Store = std::vector<unsigned char>;

Store outStore()
{
    Store store;
    for (const auto &r : pbxWithCalls().outcalls)
        store.insert(store.end(), r.begin(), r.end());
    store.resize(std::size_t(OutCallSize) * OutCallCount, 0);
    return store;
}

Store inStore()
{
    Store store;
    for (const auto &r : pbxWithCalls().incalls)
        store.insert(store.end(), r.begin(), r.end());
    store.resize(std::size_t(InCallSize) * InCallCount, 0);
    return store;
}

// The model's names, and entry 150 with a number longer than its column.
void loadDirectory()
{
    std::string file = callNamesFile();
    std::memcpy(file.data() + 20 + 25 * 150, "004319300012345", 16);
    std::memcpy(file.data() + 5020 + 39 * 150, "Wien Büro", 10);
    FILE *fp = fmemopen(file.data(), file.size(), "rb");
    ASSERT_EQ(loadKwzImage(fp), FileLoad::Loaded);
    std::fclose(fp);
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::size_t characters(const std::string &utf8)
{
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

struct Printout {
    const char *what;
    std::function<bool(FILE *)> write;
    std::size_t width; // every line exactly this wide; 0: at most 80
    const char *holds; // an ISO 8859-1 piece of a line
};

// Through a stand-in lpr, in both character sets: lpr is told the pitch
// first, the text arrives in the set asked for, every umlaut of the names in
// it, and no line is wider than 80 characters.
TEST(Printouts, CharacterSetAndWidthAsTheSpoolerGetsThem)
{
    loadDirectory();
    Store out = outStore(), in = inStore();
    const Printout printouts[] = {
        {"speed dial", writeTextFile, 0, " 250 Wien Büro                 004319300012345"},
        {"outgoing calls", [&](FILE *fp) { return writeCallLines(outgoingCalls, out, fp, true, CallForm::Text); }, 80,
         "Jürgen Weiß-Öztürk 1"},
        {"incoming calls", [&](FILE *fp) { return writeCallLines(incomingCalls, in, fp, true, CallForm::Text); }, 80,
         "Privatgespräch"},
    };
    TempDir dir;
    mkdir(dir.file("bin").c_str(), 0755);
    writeFile(dir.file("bin/lpr"), "#!/bin/sh\necho \"$*\" > \"$0.args\"\ncat > \"$0.text\"\n");
    chmod(dir.file("bin/lpr").c_str(), 0755);
    for (const Printout &p : printouts) {
        for (print::Encoding encoding : {print::Encoding::Utf8, print::Encoding::Latin1}) {
            bool utf8 = encoding == print::Encoding::Utf8;
            std::string what = std::string(p.what) + (utf8 ? " in UTF-8" : " in ISO 8859-1");
            print::Outcome outcome = print::printText(p.write, {dir.file("bin/lpr") + " -P office", encoding});
            ASSERT_EQ(outcome.kind, print::Outcome::Printed) << what;
            EXPECT_EQ(readFile(dir.file("bin/lpr.args")), "-o cpi=12 -o lpi=7 -P office\n") << what;
            std::string text = readFile(dir.file("bin/lpr.text"));
            EXPECT_EQ(phonebook::isUtf8(text), utf8) << what;
            std::string latin1 = std::string(p.holds);
            EXPECT_NE(text.find(utf8 ? phonebook::latin1ToUtf8(latin1) : latin1), std::string::npos) << what;
            std::vector<std::string> lines = linesOf(text);
            EXPECT_GT(lines.size(), 50u) << what;
            for (const std::string &line : lines) {
                std::size_t width = utf8 ? characters(line) : line.size();
                if (p.width)
                    EXPECT_EQ(width, p.width) << what << ": " << line;
                else
                    EXPECT_LE(width, 80u) << what << ": " << line;
            }
        }
    }
}

TEST(Printouts, LprGetsThePitchAheadOfTheUsersOptionsAndOtherCommandsNothing)
{
    const std::pair<const char *, const char *> cases[] = {
        {"lpr", "lpr -o cpi=12 -o lpi=7"},
        {"/usr/bin/lpr -o cpi=10", "/usr/bin/lpr -o cpi=12 -o lpi=7 -o cpi=10"},
        {"  lpr\t-P office", "  lpr -o cpi=12 -o lpi=7\t-P office"},
        {"lpr2", "lpr2"},
        {"a2ps -1 --no-header", "a2ps -1 --no-header"},
    };
    for (auto [command, line] : cases)
        EXPECT_EQ(print::commandLine(command), line) << command;
}

// Numbers that fit keep the column as it was; a longer one is written whole.
TEST(Printouts, ASpeedDialNumberLongerThanItsColumnIsWrittenWhole)
{
    loadDirectory();
    std::memcpy(kwzNumber(151), "123456789012", 13);
    std::memcpy(kwzNumber(152), "1234567890123456789012345", 25); // a full slot, no zero byte
    char *text = nullptr;
    std::size_t size = 0;
    FILE *fp = open_memstream(&text, &size);
    ASSERT_TRUE(writeTextFile(fp));
    std::fclose(fp);
    std::string exported(text, size);
    std::free(text);
    for (const char *line : {" 100 Kunde 0                      030000000\n", " 250 Wien Büro                 004319300012345\n",
                             " 251 Kunde 151                 123456789012\n",
                             " 252 Kunde 152                 1234567890123456789012345\n"})
        EXPECT_NE(exported.find(line), std::string::npos) << line;
}

TEST(CallSheet, TheYearIsThatOfTheLastSuchDayNotAfterToday)
{
    const CivilDate today{2026, 12, 9};
    const struct {
        int day, month;
        CivilDate date;
    } cases[] = {
        {9, 12, {2026, 12, 9}},  {10, 12, {2025, 12, 10}}, {24, 12, {2025, 12, 24}}, {1, 1, {2026, 1, 1}},
        {29, 2, {2024, 2, 29}},  {31, 4, {}},              {0, 0, {}},               {1, 13, {}},
    };
    for (const auto &c : cases) {
        CivilDate d = lastSuchDay(c.day, c.month, today);
        EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, c.date.year * 10000 + c.date.month * 100 + c.date.day)
            << c.day << "." << c.month;
    }
    CivilDate leap = lastSuchDay(29, 2, {2028, 3, 1});
    EXPECT_EQ(leap.year, 2028);
}

TEST(CallSheet, ColumnsOfBothLists)
{
    loadDirectory();
    Store out = outStore(), in = inStore();
    // Call 5: 06.06 05:05, 185 seconds, 35 pfennig, named by entry 1.
    // Call 49 is private, 76 analogue, 200 costs 100014 pfennig.
    out[std::size_t(OutCallSize) * 0 + 8] = 0xFF; // call 0 without a day
    std::strcpy(kwzName(0), "Kunde; \"0\"");
    std::string sheet = callSheet(outgoingCalls, out, {2026, 3, 1});
    ASSERT_EQ(sheet.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> rows = linesOf(sheet.substr(3));
    ASSERT_EQ(rows.size(), 1001u);
    EXPECT_EQ(rows[0], phonebook::latin1ToUtf8("Nebenstelle;Datum;Uhrzeit;Dauer;Gebühr;Nummer;Name\r"));
    EXPECT_EQ(rows[1], phonebook::latin1ToUtf8("11;;00:00;0:00:00;0,00;=\"030000000\";\"Kunde; \"\"0\"\"\"\r"));
    EXPECT_EQ(rows[1 + 5], phonebook::latin1ToUtf8("16;2025-06-06;05:05;0:03:05;0,35;=\"030000065\";Jürgen Weiß-Öztürk 1\r"));
    EXPECT_EQ(rows[1 + 49], phonebook::latin1ToUtf8("1A;2026-02-22;01:49;0:30:13;3,43;=\"#9\";Privatgespräch\r"));
    EXPECT_EQ(rows[1 + 76], phonebook::latin1ToUtf8("17;2025-05-21;04:16;0:46:52;5,32;=\"-----\";Analoger Teilnehmer\r"));
    EXPECT_EQ(rows[1 + 200], phonebook::latin1ToUtf8("11;2025-09-05;08:20;2:03:20;2014,00;=\"030002600\";Kunde 40\r"));
    EXPECT_EQ(rows[1 + 15], phonebook::latin1ToUtf8("16;2025-04-16;15:15;0:09:15;1,05;=\"030000195\";Meier, Anna\r")) << "a comma is no separator here";

    sheet = callSheet(incomingCalls, in, {2026, 3, 1});
    rows = linesOf(sheet.substr(3));
    ASSERT_EQ(rows.size(), 76u);
    EXPECT_EQ(rows[0], phonebook::latin1ToUtf8("Nebenstelle;Datum;Uhrzeit;Nummer;Name\r"));
    EXPECT_EQ(rows[1], phonebook::latin1ToUtf8("--;2025-04-20;15:39;=\"#9\";Privatgespräch\r"));
}

} // namespace
