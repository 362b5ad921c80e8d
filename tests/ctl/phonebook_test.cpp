// phonebook-import and phonebook-export as a user runs them: the bytes of the
// speed-dial file they leave, the summary they print, their exit status.
#include "ctl_env.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t NumberAt = 20, NumberSize = 25, NameAt = 5020, NameSize = 39, PrefixesAt = 12820;

// A slot as the entry editor stores it: 24 number bytes cleared, the number;
// the name and its zero byte, the bytes after it left.
void put(std::string &file, int code, const std::string &name, const std::string &number)
{
    std::size_t slot = std::size_t(code - 100);
    file.replace(NumberAt + NumberSize * slot, 24, std::string(24, '\0'));
    file.replace(NumberAt + NumberSize * slot, number.size(), number);
    file.replace(NameAt + NameSize * slot, name.size() + 1, name + '\0');
}

std::string emptyKwz()
{
    std::string file(13060, '\0');
    std::memcpy(file.data(), "KwDaten", 7);
    return file;
}

// Slot 101 taken; header and prefix lists hold bytes an import must keep.
std::string baseKwz()
{
    std::string file = emptyKwz();
    file.replace(8, 12, std::string(12, '\x44'));
    for (std::size_t i = PrefixesAt; i < file.size(); i++)
        file[i] = char('0' + i % 10);
    put(file, 101, "Alt", "0301111");
    return file;
}

struct Entry {
    int code;
    std::string name, number; // ISO 8859-1, as stored
};

struct ImportCase {
    const char *what;
    std::vector<std::string> options;
    std::string input;             // the address book, UTF-8 unless it says so
    std::vector<Entry> stored;     // the slots that change from baseKwz()
    std::vector<std::string> said; // standard output, line by line, ISO 8859-1, but for what it was read as
    const char *readAs = "Gelesen als CSV in UTF-8, Trennzeichen Semikolon, ohne Kopfzeile: Kurzwahl, Name, Nummer";
};

const char *const CountsNone = "Importiert: 1 (davon 0 mit gekürztem Namen), übersprungen: 0";

const ImportCase importCases[] = {
    {"a code", {}, "105;M\xC3\xBC" "ller;030 12345\n", {{105, "Müller", "03012345"}}, {CountsNone}},
    {"no code: free slots in order, past the taken 101", {}, "Kurzwahl;Name;Telefon\n;Schulz;040 999\n;Meier;1\n",
     {{100, "Schulz", "040999"}, {102, "Meier", "1"}},
     {"Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 0"},
     "Gelesen als CSV in UTF-8, Trennzeichen Semikolon, Kopfzeile in Zeile 1"},
    {"a duplicate code: the first keeps it", {}, "105;Erst;1\n105;Zweit;2\n", {{105, "Erst", "1"}},
     {"Importiert: 1 (davon 0 mit gekürztem Namen), übersprungen: 1", "Zeile 2 (Zweit): Kurzwahl 105 schon in Zeile 1"}},
    {"an occupied slot stays", {}, "101;Neu;2\n", {},
     {"Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 1", "Zeile 1 (Neu): Kurzwahl 101 ist belegt"}},
    {"an occupied slot with --replace", {"--replace"}, "101;Neuer Name;2\n", {{101, "Neuer Name", "2"}},
     {CountsNone}},
    {"foreign and own country, 49 by default", {}, ";Smith;+44 20 7946 0958\n;Meier;+49 (0)30 1\n",
     {{100, "Smith", "00442079460958"}, {102, "Meier", "0301"}},
     {"Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 0"}},
    {"--country makes another country the own", {"--country", "44"}, ";Smith;+44 20 7946 0958\n;Meier;+49 30 1\n",
     {{100, "Smith", "02079460958"}, {102, "Meier", "0049301"}},
     {"Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 0"}},
    {"a name cut, a number too long, lines counted", {"--country=49"},
     "110;Gesellschaft f\xC3\xBCr lange Namen und Titel mbH;1\n\n111;B;1234567890123456789012345\n",
     {{110, "Gesellschaft für lange Namen und Tite", "1"}},
     {"Importiert: 1 (davon 1 mit gekürztem Namen), übersprungen: 1", "Zeile 1 (Gesellschaft für lange Namen und Tite): Name gekürzt (Kurzwahl 110)",
      "Zeile 3 (B): Nummer länger als 24 Ziffern"}},
    {"what the directory holds is skipped: with its code in that slot, without anywhere", {},
     "101;Alt;030 1111\n;Alt;0301111\n;Neu;1\n", {{100, "Neu", "1"}},
     {"Importiert: 1 (davon 0 mit gekürztem Namen), übersprungen: 2", "Zeile 1 (Alt): steht schon unter Kurzwahl 101",
      "Zeile 2 (Alt): steht schon unter Kurzwahl 101"}},
};

// ISO 8859-1 output, as the expectations are written.
const CtlOptions Latin1{{"LC_ALL=C"}};

TEST(Phonebook, ImportCases)
{
    for (const ImportCase &c : importCases) {
        TempDir dir;
        writeFile(dir.file("in.csv"), c.input);
        writeFile(dir.file("k.kwz"), baseKwz());
        std::vector<std::string> args = {"phonebook-import"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {dir.file("in.csv"), dir.file("k.kwz")});
        struct stat before, after;
        ASSERT_EQ(stat(dir.file("k.kwz").c_str(), &before), 0);
        CtlRun run = runCtl(args, Latin1);
        ASSERT_EQ(stat(dir.file("k.kwz").c_str(), &after), 0);
        // Written means replaced by a new file; nothing imported, nothing written.
        EXPECT_EQ(after.st_ino != before.st_ino, !c.stored.empty()) << c.what;
        EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_EQ(run.err, "") << c.what;
        std::vector<std::string> said = c.said;
        said.insert(said.begin() + 1, c.readAs);
        EXPECT_EQ(linesOf(run.out), said) << c.what;
        std::string expected = baseKwz();
        for (const Entry &e : c.stored)
            put(expected, e.code, e.name, e.number);
        // Byte for byte: the slots changed, nothing else (the header and the
        // prefix lists of baseKwz() are no directory's bytes).
        std::string file = readFile(dir.file("k.kwz"));
        ASSERT_EQ(file.size(), expected.size()) << c.what;
        auto [differs, _] = std::mismatch(file.begin(), file.end(), expected.begin());
        EXPECT_TRUE(differs == file.end()) << c.what << ": first difference at byte " << differs - file.begin();
    }
}

// Every third slot empty; umlauts, a name of the full 37 characters, the
// longest number.
std::string fullishKwz()
{
    std::string file = emptyKwz();
    for (int code = 100; code < 300; code++) {
        if (code % 3 == 0)
            continue;
        std::string name = code % 10 == 1 ? "Müller-Lüdenscheidt, Ärztehaus Süd " + std::to_string(code % 100 / 10)
                                          : "Kunde " + std::to_string(code);
        std::string number = code == 299 ? "123456789012345678901234" : "0" + std::to_string(30000000 + 17 * code);
        put(file, code, name.substr(0, 37), number);
    }
    return file;
}

// Exported, then imported from standard input into a file not there yet: the
// same directory again.
TEST(Phonebook, ExportThenImportIntoANewFileGivesTheSameBytes)
{
    TempDir dir;
    writeFile(dir.file("full.kwz"), fullishKwz());
    for (const char *out : {"book.csv", "book.vcf", "BOOK.VCF"}) {
        CtlRun run = runCtl({"phonebook-export", dir.file("full.kwz"), dir.file(out)});
        ASSERT_EQ(run.status, 0) << out << ": " << run.err;
        EXPECT_EQ(run.out, "") << out;
        std::string book = readFile(dir.file(out));
        bool vcard = out[5] != 'c';
        EXPECT_EQ(book.substr(0, vcard ? 11 : 3), vcard ? "BEGIN:VCARD" : "\xEF\xBB\xBF") << out;

        std::string fresh = dir.file(std::string(out) + ".kwz");
        CtlOptions options = Latin1;
        options.input = book;
        run = runCtl({"phonebook-import", "-", fresh}, options);
        EXPECT_EQ(run.status, 0) << out << ": " << run.err;
        EXPECT_EQ(linesOf(run.out),
                  (std::vector<std::string>{"Importiert: 134 (davon 0 mit gekürztem Namen), übersprungen: 0",
                                            vcard ? "Gelesen als vCard in UTF-8"
                                                  : "Gelesen als CSV in UTF-8 mit BOM, Trennzeichen Semikolon, "
                                                    "Kopfzeile in Zeile 1"}))
            << out;
        EXPECT_TRUE(readFile(fresh) == fullishKwz()) << out;
    }
}

// A file that is not there yet starts as the empty directory "Sichern" writes
// (with entries: the test above), even when nothing of the address book goes in.
TEST(Phonebook, AnImportOfNothingIntoAMissingFileMakesTheEmptyDirectory)
{
    TempDir dir;
    writeFile(dir.file("in.csv"), "Kurzwahl;Name;Telefon\n;Ohne Nummer;\n");
    CtlRun run = runCtl({"phonebook-import", dir.file("in.csv"), dir.file("new.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(readFile(dir.file("new.kwz")) == emptyKwz());
}

// A file read as no address book: exit 3 (1 for a column the options name),
// why on standard error, the directory file neither written nor made.
TEST(Phonebook, FilesThatGiveNoContactChangeNothing)
{
    const struct {
        const char *what;
        std::string input;
        std::vector<std::string> options;
        int status;
        std::vector<std::string> out;
        std::string err;
    } cases[] = {
        {"a router's XML that is no phone book", "<?xml version=\"1.0\"?>\n<rss/>\n", {}, 3,
         {"Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 0", "Gelesen als XML in UTF-8"},
         "kelvoractl: XML, aber kein Telefonbuch (Wurzelelement <rss>, kein <contact>): nichts importiert\n"},
        {"a header only", "Kurzwahl;Name;Telefon\n", {}, 3,
         {"Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 0",
          "Gelesen als CSV in UTF-8, Trennzeichen Semikolon, Kopfzeile in Zeile 1"},
         "kelvoractl: Keine Einträge gefunden: nichts importiert\n"},
        {"columns nobody knows", "Wer;Wo\nAnna;1\n", {}, 3,
         {"Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 0", "Gelesen als CSV in UTF-8, Trennzeichen Semikolon"},
         "kelvoractl: Keine Spalten für Name und Telefonnummer erkannt, die erste Zeile hat: \"Wer\", \"Wo\"\n"
         "  Spalten wählen mit --name-column NAME --number-column NAME[,NAME...]\n"},
        {"a column the options name is not there", "Wer;Wo\nAnna;1\n", {"--number-column", "Was"}, 1,
         {"Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 0", "Gelesen als CSV in UTF-8, Trennzeichen Semikolon"},
         "kelvoractl: Keine Spalte \"Was\", die erste Zeile hat: \"Wer\", \"Wo\"\n"
         "  Spalten wählen mit --name-column NAME --number-column NAME[,NAME...]\n"},
    };
    for (const auto &c : cases) {
        for (bool fresh : {false, true}) {
            TempDir dir;
            writeFile(dir.file("in.txt"), c.input);
            if (!fresh)
                writeFile(dir.file("k.kwz"), baseKwz());
            struct stat before {};
            stat(dir.file("k.kwz").c_str(), &before);
            std::vector<std::string> args = {"phonebook-import"};
            args.insert(args.end(), c.options.begin(), c.options.end());
            args.insert(args.end(), {dir.file("in.txt"), dir.file("k.kwz")});
            CtlRun run = runCtl(args, Latin1);
            EXPECT_EQ(run.status, c.status) << c.what;
            EXPECT_EQ(linesOf(run.out), c.out) << c.what;
            EXPECT_EQ(run.err, c.err) << c.what;
            struct stat after {};
            bool there = stat(dir.file("k.kwz").c_str(), &after) == 0;
            EXPECT_EQ(there, !fresh) << c.what << ": a directory file made";
            EXPECT_EQ(after.st_ino, before.st_ino) << c.what << ": the directory file written";
        }
    }
}

// "-" as the file a command reads or writes gives what the file gives.
TEST(Ctl, DashIsStandardInputOrOutput)
{
    TempDir dir;
    std::string cfg = Dorvan + std::string(2099, '\0'), other = cfg;
    other[200] = '\x07';
    const std::pair<const char *, std::string> files[] = {{"a.cfg", cfg}, {"b.cfg", other}, {"k.kwz", baseKwz()}};
    for (const auto &[name, bytes] : files)
        writeFile(dir.file(name), bytes);
    const struct {
        std::vector<std::string> withDash; // "@" stands for the test's directory
        const char *input;                 // the file standard input gets
        std::vector<std::string> withFile;
        const char *written; // the file withFile writes, or nullptr: its standard output
    } cases[] = {
        {{"show", "-"}, "a.cfg", {"show", "@/a.cfg"}, nullptr},
        {{"show", "-"}, "k.kwz", {"show", "@/k.kwz"}, nullptr},
        {{"diff", "-", "@/b.cfg"}, "a.cfg", {"diff", "@/a.cfg", "@/b.cfg"}, nullptr},
        {{"phonebook-export", "@/k.kwz", "-"}, nullptr, {"phonebook-export", "@/k.kwz", "@/out.csv"}, "out.csv"},
        {{"phonebook-export", "--vcf", "@/k.kwz", "-"}, nullptr, {"phonebook-export", "@/k.kwz", "@/out.vcf"},
         "out.vcf"},
    };
    for (const auto &c : cases) {
        CtlOptions options = Latin1;
        if (c.input)
            options.input = readFile(dir.file(c.input));
        CtlRun dash = runCtl(inDir(c.withDash, dir.path()), options);
        CtlRun file = runCtl(inDir(c.withFile, dir.path()), Latin1);
        EXPECT_EQ(dash.status, file.status) << c.withDash[0] << ": " << dash.err;
        EXPECT_EQ(dash.err, "") << c.withDash[0];
        EXPECT_NE(dash.out, "") << c.withDash[0];
        std::string want = c.written ? readFile(dir.file(c.written)) : file.out;
        // A CSV file starts with a byte-order mark for spreadsheets; a pipe
        // gets the lines alone.
        const std::string mark = "\xEF\xBB\xBF";
        if (c.written && std::string(c.written).ends_with(".csv")) {
            EXPECT_EQ(want.substr(0, 3), mark);
            want.erase(0, 3);
        }
        EXPECT_EQ(dash.out, want) << c.withDash[0];
        EXPECT_NE(dash.out.substr(0, 3), mark) << c.withDash[0];
    }
}

// What the command line is for: an address book into the PBX.
TEST_F(CtlLine, AnImportedEntryProgrammedLandsInThePbx)
{
    start();
    ASSERT_EQ(ctl({"read-speeddial", dir.file("k.kwz")}).status, 0);
    // Slots 100-102 are taken in the simulator: the entry without code goes to 103.
    writeFile(dir.file("in.csv"), "150;B\xC3\xBCro;+49 30 12345\n;Smith;+44 20 1\n");
    CtlRun run = ctl({"phonebook-import", dir.file("in.csv"), dir.file("k.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    run = ctl({"program-speeddial", dir.file("k.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    pbxsim::State after = stop(), expected = pbxsim::defaultState();
    const std::pair<int, std::string> landed[] = {{50, "03012345"}, {3, "0044201"}};
    for (const auto &[slot, digits] : landed) {
        std::string number = digits + std::string(25 - digits.size(), '\0');
        std::copy(number.begin(), number.end(), expected.kwz.begin() + 25 * slot);
        EXPECT_EQ(std::string(after.kwz.begin() + 25 * slot, after.kwz.begin() + 25 * (slot + 1)), number);
    }
    EXPECT_TRUE(after.kwz == expected.kwz) << "nothing else changed";
}

} // namespace
