// What the three printouts hand the spooler (character set, widths, lpr's
// pitch) and the call lists' table for spreadsheets.
#include <gtest/gtest.h>

#include "charges/callsheet.h"
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

// The model's calls as the read leaves them: records, then zeros.
template <typename Records> Store storeOf(const Records &records, int size, int count)
{
    Store store;
    for (const auto &r : records)
        store.insert(store.end(), r.begin(), r.end());
    store.resize(std::size_t(size) * std::size_t(count), 0);
    return store;
}

// The model's names; entry 150 with a number longer than its column.
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

// Through a stand-in lpr in both character sets: lpr is told the pitch ahead
// of the user's options, the text arrives in the set asked for with the
// names' umlauts, and no line is wider than 80 characters.
TEST(Printouts, CharacterSetAndWidthAsTheSpoolerGetsThem)
{
    loadDirectory();
    Store out = storeOf(pbxWithCalls().outcalls, OutCallSize, OutCallCount);
    Store in = storeOf(pbxWithCalls().incalls, InCallSize, InCallCount);
    const struct {
        const char *what;
        std::function<bool(FILE *)> write;
        std::size_t width; // every line this wide; 0: at most 80
        const char *holds; // ISO 8859-1
    } printouts[] = {
        {"speed dial", writeTextFile, 0, "\n 250 Wien Büro                 004319300012345\n"},
        {"outgoing calls", [&](FILE *fp) { return writeCallLines(outgoingCalls, out, fp, true, CallForm::Text, all); }, 80,
         " 030000065 Jürgen Weiß-Öztürk 1 "},
        {"incoming calls", [&](FILE *fp) { return writeCallLines(incomingCalls, in, fp, true, CallForm::Text, all); }, 80,
         "#9 Privatgespräch"},
    };
    TempDir dir;
    std::string lpr = dir.file("lpr");
    writeFile(lpr, "#!/bin/sh\necho \"$*\" > \"$0.args\"\ncat > \"$0.text\"\n");
    chmod(lpr.c_str(), 0755);
    for (const auto &p : printouts) {
        for (print::Encoding encoding : {print::Encoding::Utf8, print::Encoding::Latin1}) {
            bool utf8 = encoding == print::Encoding::Utf8;
            std::string what = std::string(p.what) + (utf8 ? " in UTF-8" : " in ISO 8859-1");
            ASSERT_EQ(print::printText(p.write, {lpr + " -P office", encoding}).kind, print::Outcome::Printed) << what;
            EXPECT_EQ(readFile(lpr + ".args"), "-o cpi=12 -o lpi=7 -P office\n") << what;
            std::string text = readFile(lpr + ".text");
            EXPECT_EQ(phonebook::isUtf8(text), utf8) << what;
            EXPECT_NE(text.find(utf8 ? phonebook::latin1ToUtf8(p.holds) : p.holds), std::string::npos) << what;
            std::vector<std::string> lines = linesOf(text);
            EXPECT_GT(lines.size(), 70u) << what;
            for (const std::string &line : lines) {
                std::size_t width = utf8 ? phonebook::utf8ToLatin1(line).text.size() : line.size();
                EXPECT_TRUE(p.width ? width == p.width : width <= 80) << what << ": " << line;
            }
        }
    }
    EXPECT_EQ(print::commandLine("/usr/bin/lpr"), "/usr/bin/lpr -o cpi=12 -o lpi=7");
    EXPECT_EQ(print::commandLine("a2ps -1"), "a2ps -1") << "another command gets no lpr options";
}

TEST(CallSheet, TheYearIsThatOfTheLastSuchDayNotAfterToday)
{
    const struct {
        int day, month;
        CivilDate today, date;
    } cases[] = {
        {9, 12, {2026, 12, 9}, {2026, 12, 9}}, {10, 12, {2026, 12, 9}, {2025, 12, 10}},
        {29, 2, {2026, 12, 9}, {2024, 2, 29}}, {29, 2, {2028, 3, 1}, {2028, 2, 29}},
        {31, 4, {2026, 12, 9}, {}},            {0, 0, {2026, 12, 9}, {}},
    };
    for (const auto &c : cases) {
        CivilDate d = lastSuchDay(c.day, c.month, c.today);
        EXPECT_EQ(std::vector<int>({d.year, d.month, d.day}), std::vector<int>({c.date.year, c.date.month, c.date.day}))
            << c.day << "." << c.month << "." << c.today.year;
    }
}

TEST(CallSheet, ColumnsOfBothLists)
{
    loadDirectory();
    Store out = storeOf(pbxWithCalls().outcalls, OutCallSize, OutCallCount);
    out[8] = 0xFF; // call 0 has no day
    std::strcpy(kwzName(0), "Kunde; \"0\"");
    std::strcpy(kwzName(1), "=Weiß \"x\""); // shown as it is, never run as a formula
    std::string sheet = callSheet(outgoingCalls, out, {2026, 3, 1}, all);
    ASSERT_EQ(sheet.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> rows = linesOf(sheet.substr(3));
    ASSERT_EQ(rows.size(), 1001u);
    const std::pair<int, const char *> expected[] = {
        {0, "Nebenstelle;Datum;Uhrzeit;Dauer;Gebühr;Nummer;Name\r"},
        {1, "11;;00:00;0:00:00;0,00;=\"030000000\";\"Kunde; \"\"0\"\"\"\r"},
        {6, "16;2025-06-06;05:05;0:03:05;0,35;=\"030000065\";\"=\"\"=Weiß \"\"\"\"x\"\"\"\"\"\"\"\r"},
        {16, "16;2025-04-16;15:15;0:09:15;1,05;=\"030000195\";Meier, Anna\r"},
        {50, "1A;2026-02-22;01:49;0:30:13;3,43;=\"#9\";Privatgespräch\r"},
        {77, "17;2025-05-21;04:16;0:46:52;5,32;=\"-----\";Analoger Teilnehmer\r"},
        {201, "11;2025-09-05;08:20;2:03:20;2014,00;=\"030002600\";Kunde 40\r"},
    };
    for (auto [row, text] : expected)
        EXPECT_EQ(rows[std::size_t(row)], phonebook::latin1ToUtf8(text)) << "row " << row;

    rows = linesOf(callSheet(incomingCalls, storeOf(pbxWithCalls().incalls, InCallSize, InCallCount), {2026, 3, 1}, all));
    ASSERT_EQ(rows.size(), 76u);
    EXPECT_EQ(rows[0], "\xEF\xBB\xBFNebenstelle;Datum;Uhrzeit;Nummer;Name\r");
    EXPECT_EQ(rows[1], phonebook::latin1ToUtf8("--;2025-04-20;15:39;=\"#9\";Privatgespräch\r"));
}

} // namespace
