// The speed-dial dialog's address-book buttons: an import shows at once, counts
// as one change, replaces occupied entries only after "Ja" and says what it did;
// an export writes what the list shows.
#include "kwz_env.h"

#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzphonebook.h"
#include "support/gui.h"

#include <Xm/FileSB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <cstring>

namespace {

std::string line(int code, const std::string &name, const std::string &number)
{
    char text[80];
    std::snprintf(text, sizeof text, "%4d %-38.38s %-25.25s", code, name.c_str(), number.c_str());
    return text;
}

} // namespace

TEST_F(KwzDialog, AddressBookImportShowsAtOnceAndReplacesOnlyAfterJa)
{
    TempDir dir;
    // 8-bit with a header; 105 is taken, 300 is no code (the entry goes to a
    // free slot), +49 is the PBX's own country.
    writeFile(dir.file("buch.csv"), "Kurzwahl;Name;Nummer\n"
                                    "105;Bäckerei Groß;06356 4711\n"
                                    ";Jürgen Müller;+49 30 1234567\n"
                                    "300;Zu weit;123\n");
    const char *read = "Gelesen als CSV in Windows-1252, Trennzeichen Semikolon, Kopfzeile in Zeile 1\n";
    const char *tooFar = "Zeile 4 (Zu weit): Kurzwahl \"300\" liegt nicht zwischen 100 und 299, übernommen unter Kurzwahl 101";
    const struct {
        bool replace;
        std::string at105, at100;
        std::string summary;
    } cases[] = {
        {false, line(105, "Praxis Dr. Maier", "69987654"), line(100, "Jürgen Müller", "0301234567"),
         std::string("Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 1\n") + read +
             "Zeile 2 (Bäckerei Groß): Kurzwahl 105 ist belegt\n" + tooFar},
        {true, line(105, "Bäckerei Groß", "063564711"), line(100, "Jürgen Müller", "0301234567"),
         std::string("Importiert: 3 (davon 0 mit gekürztem Namen), übersprungen: 0\n") + read + tooFar},
    };
    for (const auto &c : cases) {
        SetUp();
        bool asked = false;
        answerFile(dir.file("buch.csv"));
        answerQuestion(c.replace, &asked);
        press("*importab");
        EXPECT_TRUE(asked) << "an occupied code asks first";
        EXPECT_EQ(takeMessage("phonebookImport"), c.summary);
        EXPECT_EQ(listLine(6), c.at105) << c.replace;
        EXPECT_EQ(listLine(1), c.at100) << c.replace;
        EXPECT_EQ(listLine(2), line(101, "Zu weit", "123")) << c.replace;
        EXPECT_EQ(recInt(rec::KwzChanges), 1) << "one import, one change";
    }
}

// An Outlook export through the import dialog, its fax box ticked or not: the
// box's label from the resource table, the list after it, the summary.
TEST_F(KwzDialog, OutlookBookThroughTheImportDialogWithAndWithoutFaxes)
{
    TempDir dir;
    writeFile(dir.file("outlook.csv"), readFile(std::string(TEST_SOURCE_DIR) + "/phonebook/data/outlook-de.csv"));
    for (bool fax : {false, true}) {
        SetUp();
        std::string label;
        whenUp(isFileBox, [&](Widget fsb) {
            Widget box = guiFind(fsb, "*withFax");
            ASSERT_NE(box, nullptr);
            label = guiText(box, XmNlabelString);
            EXPECT_FALSE(XmToggleButtonGetState(box)) << "unticked at every opening";
            if (fax)
                XmToggleButtonSetState(box, True, True);
            XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT),
                                 const_cast<char *>(dir.file("outlook.csv").c_str()));
            guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
        });
        press("*importab");
        EXPECT_EQ(label, "Faxnummern übernehmen (Name mit \"(Fax)\")");
        EXPECT_EQ(takeMessage("phonebookImport"),
                  fax ? "Importiert: 8 (davon 0 mit gekürztem Namen), übersprungen: 0\n"
                        "Gelesen als CSV in Windows-1252, Trennzeichen Komma, Kopfzeile in Zeile 1"
                      : "Importiert: 5 (davon 0 mit gekürztem Namen), übersprungen: 1\n"
                        "Gelesen als CSV in Windows-1252, Trennzeichen Komma, Kopfzeile in Zeile 1\n"
                        "Zeile 7 (Nur Fax): nur Faxnummern");
        // 105 is taken: the sixth entry goes to 106.
        std::vector<std::string> want = {
            line(100, "Anna Maria Müller", "071123450"), line(101, "Anna Maria Müller", "01701234567"),
            line(102, "Jürgen Weiß", "071112345612"),
            fax ? line(103, "Jürgen Weiß (Fax)", "071112345699") : line(103, "Stadtwerke Musterstadt GmbH", "091147110"),
            fax ? line(104, "Stadtwerke Musterstadt GmbH", "091147110") : line(104, "Françoise Dupont", "0033142685300"),
            line(105, "Praxis Dr. Maier", "69987654"),
            fax ? line(106, "Stadtwerke Musterstadt GmbH (Fax)", "0911471199") : line(106, "", "")};
        for (std::size_t k = 0; k < want.size(); ++k)
            EXPECT_EQ(listLine(int(k + 1)), want[k]) << fax;
    }
}

// The files kelvoractl takes, through the import dialog: the same summary,
// and a file that is no address book leaves the list as it was.
TEST_F(KwzDialog, ImportTakesTabTextLdifAndXml)
{
    TempDir dir;
    const struct {
        const char *file;
        const char *summary;
        std::string at100;
    } cases[] = {
        {"excel-unicode.txt",
         "Importiert: 3 (davon 0 mit gekürztem Namen), übersprungen: 0\n"
         "Gelesen als CSV in UTF-16LE, Trennzeichen Tabulator, Kopfzeile in Zeile 1",
         line(100, "Klaus Brückner", "0711123456")},
        {"thunderbird.ldif", "Importiert: 4 (davon 0 mit gekürztem Namen), übersprungen: 0\nGelesen als LDIF in UTF-8",
         line(100, "Jürgen Weiß", "071112345612")},
        {"router.xml", "Importiert: 4 (davon 0 mit gekürztem Namen), übersprungen: 0\nGelesen als XML-Telefonbuch in utf-8",
         line(100, "Anna Müller", "07111234567")},
        {"none.txt",
         "Importiert: 0 (davon 0 mit gekürztem Namen), übersprungen: 0\n"
         "Zeichensatz UTF-8 erkannt, aber kein Adressbuch\n"
         "Weder CSV (die erste Zeile hat kein Komma, Semikolon oder Tabulator) noch vCard, LDIF oder XML: nichts importiert",
         line(100, "", "")},
    };
    writeFile(dir.file("none.txt"), "Anna 030 1234\n");
    for (const auto &c : cases) {
        SetUp();
        std::string path = dir.file(c.file);
        if (std::string(c.file) != "none.txt")
            writeFile(path, readFile(std::string(TEST_SOURCE_DIR) + "/phonebook/data/" + c.file));
        answerFile(path);
        press("*importab");
        EXPECT_EQ(takeMessage("phonebookImport"), c.summary) << c.file;
        EXPECT_EQ(listLine(1), c.at100) << c.file;
        EXPECT_EQ(listLine(6), line(105, "Praxis Dr. Maier", "69987654")) << c.file;
    }
}

TEST_F(KwzDialog, AddressBookExportWritesEveryOccupiedEntry)
{
    TempDir dir;
    setEntry(0, "Jürgen Müller", "0301234567");
    for (const char *name : {"buch.vcf", "buch.csv"}) {
        answerFile(dir.file(name));
        press("*exportab");
        std::string written = readFile(dir.file(name));
        bool vcard = std::strstr(name, ".vcf");
        EXPECT_EQ(written.find(vcard ? "FN:J\xC3\xBCrgen M\xC3\xBCller\r\n" : "100;J\xC3\xBCrgen M\xC3\xBCller;+49 301234567\r\n")
                      != std::string::npos,
                  true)
            << written;
        EXPECT_NE(written.find("Werkstatt"), std::string::npos) << written;
    }
    EXPECT_EQ(recInt(rec::KwzChanges), 0) << "an export changes nothing";
}

TEST(OwnCountry, FromAConfigurationElse49)
{
    freshKwz();
    const struct {
        int valid;
        const char *lkz, *own;
    } cases[] = {{0, "43", "49"}, {1, "43", "43"}, {1, "", "49"}, {1, "4x", "49"}};
    for (const auto &c : cases) {
        setRecInt(rec::CfgValid, c.valid);
        std::memset(all + rec::AnlDatList + 40, 0, 7);
        std::memcpy(all + rec::AnlDatList + 40, c.lkz, std::strlen(c.lkz));
        EXPECT_EQ(ownCountryCode(), c.own) << c.valid << " " << c.lkz;
    }
}
