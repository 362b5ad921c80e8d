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
    // UTF-8 with a header; 105 is taken, 300 is no code, +49 is the PBX's own country.
    writeFile(dir.file("buch.csv"), "Kurzwahl;Name;Nummer\n"
                                    "105;Bäckerei Groß;06356 4711\n"
                                    ";Jürgen Müller;+49 30 1234567\n"
                                    "300;Zu weit;123\n");
    const struct {
        bool replace;
        std::string at105, at100;
        const char *summary;
    } cases[] = {
        {false, line(105, "Praxis Dr. Maier", "69987654"), line(100, "Jürgen Müller", "0301234567"),
         "Importiert: 1 (davon 0 mit gekürztem Namen), übersprungen: 2\n"
         "Zeile 2 (Bäckerei Groß): Kurzwahl 105 ist belegt\n"
         "Zeile 4 (Zu weit): Kurzwahl \"300\" liegt nicht zwischen 100 und 299"},
        {true, line(105, "Bäckerei Groß", "063564711"), line(100, "Jürgen Müller", "0301234567"),
         "Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 1\n"
         "Zeile 4 (Zu weit): Kurzwahl \"300\" liegt nicht zwischen 100 und 299"},
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
                  fax ? "Importiert: 8 (davon 0 mit gekürztem Namen), übersprungen: 0"
                      : "Importiert: 5 (davon 0 mit gekürztem Namen), übersprungen: 1\nZeile 7 (Nur Fax): nur Faxnummern");
        // 105 is taken: the sixth entry goes to 106.
        std::vector<std::string> want = {
            line(100, "Dr. Anna Maria Müller", "071123450"), line(101, "Dr. Anna Maria Müller", "01701234567"),
            line(102, "Jürgen Weiß", "071112345612"),
            fax ? line(103, "Jürgen Weiß (Fax)", "071112345699") : line(103, "Stadtwerke Musterstadt GmbH", "091147110"),
            fax ? line(104, "Stadtwerke Musterstadt GmbH", "091147110") : line(104, "Françoise Dupont", "0033142685300"),
            line(105, "Praxis Dr. Maier", "69987654"),
            fax ? line(106, "Stadtwerke Musterstadt GmbH (Fax)", "0911471199") : line(106, "", "")};
        for (std::size_t k = 0; k < want.size(); ++k)
            EXPECT_EQ(listLine(int(k + 1)), want[k]) << fax;
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
