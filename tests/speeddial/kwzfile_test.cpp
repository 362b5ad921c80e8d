// Speed-dial files, the name merge, the text export and printing, driven
// through the dialog's buttons and its file dialogs.
#include "kwz_env.h"

#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace {

// " Nr.", "Name" padded to 25, "Telefon" right-aligned in 12, a blank and 42 dashes.
const std::string Header = " Nr. Name" + std::string(27, ' ') + "Telefon\n" + " " + std::string(42, '-') + "\n";

std::string exportOf()
{
    char *text = nullptr;
    std::size_t size = 0;
    FILE *fp = open_memstream(&text, &size);
    EXPECT_TRUE(writeTextFile(fp));
    std::fclose(fp);
    std::string result(text, size);
    std::free(text);
    return result;
}

struct ExportCase {
    const char *what;
    std::vector<std::pair<int, const char *>> entries; // index, number (named "Name<code>")
    std::string text;
};

const ExportCase exportCases[] = {
    {"empty directory", {}, Header + "\f" + Header},
    {"101, 102 and 250",
     {{1, "301234567"}, {2, "8912345"}, {150, "221456789"}},
     Header + " ...\n"
              " 101 Name101                      301234567\n"
              " 102 Name102                        8912345\n"
              "\f" + Header + " ...\n"
              " 250 Name250                      221456789\n"},
    {"100 and 200 start their pages without dots; 15 digits are written whole",
     {{0, "491701234567890"}, {100, "1"}, {102, "2"}},
     Header + " 100 Name100                   491701234567890\n"
              "\f" + Header + " 200 Name200                              1\n"
              " ...\n"
              " 202 Name202                              2\n"},
};

class KwzFiles : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        kwzDialog();
        freshKwz();
    }
    void load(const std::string &path)
    {
        answerFile(path);
        press("*loadall");
    }
    // A directory as after a read: present, one change, no file loaded.
    void readDirectory()
    {
        freshKwz(1, 1, 0, 1);
        std::strcpy(recText(rec::KwzHeader), "KwDaten");
        for (int i = 0; i < rec::KwzCount; ++i)
            setEntry(i, ("Old" + std::to_string(i)).c_str(), std::to_string(500 + i).c_str());
    }
};

TEST_F(KwzFiles, TextExport)
{
    for (const ExportCase &c : exportCases) {
        freshKwz(1);
        for (auto [i, number] : c.entries)
            setEntry(i, ("Name" + std::to_string(100 + i)).c_str(), number);
        EXPECT_EQ(exportOf(), c.text) << c.what;
    }
}

TEST_F(KwzFiles, TextSavedToAFileAndPrintedThroughLpr)
{
    freshKwz(1);
    for (auto [i, number] : exportCases[1].entries)
        setEntry(i, ("Name" + std::to_string(100 + i)).c_str(), number);
    answerFile(dir.file("list.txt"));
    press("*savetxt");
    EXPECT_EQ(fileBytes(dir.file("list.txt")), std::vector<char>(exportCases[1].text.begin(), exportCases[1].text.end()));

    // A stand-in lpr first on PATH keeps what it is given and exits as told.
    mkdir(dir.file("bin").c_str(), 0755);
    std::string script = "#!/bin/sh\ncat > \"$LPR_OUT\"\nexit ${LPR_EXIT:-0}\n";
    writeFile(dir.file("bin/lpr"), script);
    chmod(dir.file("bin/lpr").c_str(), 0755);
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir.file("bin") + ":" + path).c_str(), 1);
    setenv("LPR_OUT", dir.file("printed").c_str(), 1);
    press("*print");
    EXPECT_EQ(takeMessage("printError"), "");
    EXPECT_EQ(fileBytes(dir.file("printed")), fileBytes(dir.file("list.txt")));

    setenv("LPR_EXIT", "2", 1);
    press("*print");
    EXPECT_NE(takeMessage("printError").find("(Status 2)"), std::string::npos) << "an lpr that fails is told";
    unsetenv("LPR_EXIT");

    setenv("PATH", dir.file("nowhere").c_str(), 1);
    press("*print");
    EXPECT_NE(takeMessage("printError").find("nicht gefunden"), std::string::npos) << "a missing lpr is told";
    setenv("PATH", path.c_str(), 1);
}

TEST_F(KwzFiles, SaveWritesTheAreaAndLoadNormalisesNumbers)
{
    readDirectory();
    for (std::size_t i = rec::NahBerList; i < rec::NahBerList + 2 * rec::PrefixListSize; ++i)
        all[i] = static_cast<unsigned char>(i);
    std::memset(kwzNumber(3), 'Z', 25);
    std::memcpy(kwzNumber(3), "12", 3); // bytes after its zero up to the 25th
    std::memset(kwzNumber(4), '7', 25);                      // no zero at all
    std::vector<char> area(all + rec::KwzHeader, all + rec::KwzHeader + rec::KwzSizeInFile);
    answerFile(dir.file("a.kwz"));
    press("*saveas");
    EXPECT_EQ(fileBytes(dir.file("a.kwz")), area) << "the file is the record's bytes 5818-18877";
    EXPECT_EQ(recInt(rec::KwzChanges), 0);
    EXPECT_EQ(recInt(rec::KwzFileCount), 0) << "only a load counts a file";
    EXPECT_FALSE(usable("*save"));

    std::memset(all + rec::KwzHeader, 0x55, rec::KwzSizeInFile);
    load(dir.file("a.kwz"));
    std::memcpy(area.data() + 20 + 3 * 25 + 3, std::string(21, '\0').data(), 21); // cleared up to the 24th byte
    EXPECT_EQ(std::vector<char>(all + rec::KwzHeader, all + rec::KwzHeader + rec::KwzSizeInFile), area);
    EXPECT_EQ(kwzNumber(3)[24], 'Z') << "the 25th byte is not normalised";
    EXPECT_EQ(std::vector<int>({recInt(rec::KwzChanges), recInt(rec::KwzPresent), recInt(rec::PrefixPresent),
                                recInt(rec::KwzFileCount)}),
              std::vector<int>({0, 2, 2, 1}));
    EXPECT_EQ(listLine(5), " 104 Old4" + std::string(34, ' ') + " " + std::string(25, '7'))
        << "a slot filled to its last byte reads as 25 characters";
    EXPECT_STREQ(recText(rec::KwzFilePath), dir.file("a.kwz").c_str());

    // The call lists load names without a list to show.
    setEntry(8, "Anders", "1");
    showkwz();
    std::string shown = listLine(9);
    answerFile(dir.file("a.kwz"));
    EXPECT_TRUE(loadNshowFile(toplevel, 0));
    EXPECT_EQ(nameOf(8), "Old8");
    EXPECT_EQ(listLine(9), shown) << "show flag 0: the list is not rebuilt";

    // Now "Sichern" writes the loaded file again.
    setEntry(7, "Neu", "123");
    selectLine(1);
    press("*delcfg");
    EXPECT_TRUE(usable("*save"));
    press("*save");
    EXPECT_EQ(std::vector<char>(all + rec::KwzHeader, all + rec::KwzHeader + rec::KwzSizeInFile),
              fileBytes(dir.file("a.kwz")));
    EXPECT_FALSE(usable("*save"));
}

TEST_F(KwzFiles, MergeTakesEveryNameByPosition)
{
    readDirectory();
    std::vector<char> file = kwzFile();
    writeBytes(dir.file("names.kwz"), file);
    std::fill(file.begin() + 5020, file.begin() + 12820, 0);
    writeBytes(dir.file("empty.kwz"), file);
    std::vector<unsigned char> numbers(all + rec::KwzHeader, all + rec::KwzNames);

    answerFile(dir.file("names.kwz"));
    press("*mergenames");
    EXPECT_EQ(nameOf(0), "N0");
    EXPECT_EQ(nameOf(199), "N199");
    EXPECT_EQ(listLine(200).substr(0, 12), " 299 N199   ");
    EXPECT_EQ(recInt(rec::KwzChanges), 2);

    // Names are taken only from a speed-dial file.
    writeBytes(dir.file("x.cfg"), kwzFile("Daten Konfigurator DORVAN"));
    writeFile(dir.file("short.kwz"), "KwD");
    std::vector<unsigned char> before(all, all + rec::RecordSize);
    for (const char *foreign : {"x.cfg", "short.kwz"}) {
        answerFile(dir.file(foreign));
        press("*mergenames");
        EXPECT_NE(takeMessage("wrongFile").find("ist keine Kurzwahl-Datei!"), std::string::npos) << foreign;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), all)) << foreign;
    }

    answerFile(dir.file("empty.kwz"));
    press("*mergenames");
    for (int i = 0; i < rec::KwzCount; ++i)
        ASSERT_EQ(nameOf(i), "") << i;
    EXPECT_EQ(listLine(2), " 101 " + std::string(38, ' ') + " 501" + std::string(22, ' '));
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), all + rec::KwzHeader)) << "numbers stay";
    EXPECT_EQ(recInt(rec::KwzChanges), 3);
    EXPECT_EQ(recInt(rec::KwzFileCount), 0);
}

// "OK" asks only about real changes since the last read, load, save or
// programming; "Ja" saves into the file the directory came from, else asks for
// one; a save that fails or is cancelled keeps the dialog open with the edits.
TEST_F(KwzFiles, OkAsksOnlyAboutChangesAndSavesWhereTheDirectoryCameFrom)
{
    readDirectory();
    markClean(FileKind::SpeedDial, all); // as a read leaves it
    setRecInt(rec::KwzChanges, 1);
    bool asked = false;
    AnswerTicket unasked = whenUp(isQuestion, [&asked](Widget) { asked = true; }, &asked);
    press("*quit");
    *unasked = true;
    EXPECT_FALSE(asked) << "a read changes nothing to save";

    // Changed, from no file: "Ja" asks where ("Sichern unter").
    setEntry(3, "Neu", "4711");
    answerQuestion(true);
    answerFile(dir.file("neu.kwz"));
    press("*quit");
    EXPECT_EQ(fileBytes(dir.file("neu.kwz")).size(), rec::KwzSizeInFile);
    EXPECT_FALSE(unsavedChanges(FileKind::SpeedDial));

    // Changed, from a file: saved there without a file box.
    mkdir(dir.file("sub").c_str(), 0755);
    writeBytes(dir.file("sub/a.kwz"), kwzFile());
    load(dir.file("sub/a.kwz"));
    setEntry(4, "Anders", "0815");
    bool fileBox = false;
    answerQuestion(true);
    AnswerTicket noBox = whenUp(isFileBox, [&fileBox](Widget) { fileBox = true; }, &fileBox);
    press("*quit");
    *noBox = true;
    EXPECT_FALSE(fileBox);
    EXPECT_EQ(fileBytes(dir.file("sub/a.kwz")),
              std::vector<char>(all + rec::KwzHeader, all + rec::KwzHeader + rec::KwzSizeInFile));

    // Its folder gone: the save fails, the dialog stays with the edits; "Nein" then closes.
    setEntry(5, "Weg", "1");
    std::filesystem::remove_all(dir.file("sub"));
    bool stayed = false;
    runModal([] { doKurzwahlen(toplevel); },
             [&](Widget dialog) {
                 answerQuestion(true);
                 press("*quit");
                 EXPECT_NE(takeMessage("writeError").find("sub/a.kwz"), std::string::npos);
                 stayed = XmtActiveDialog() == dialog;
                 answerQuestion(false);
             },
             "*quit");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(nameOf(5), "Weg");
    EXPECT_TRUE(unsavedChanges(FileKind::SpeedDial)) << "\"Nein\" keeps the changes";
}

} // namespace
