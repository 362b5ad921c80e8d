// The speed-dial dialog's address-book buttons: an import shows at once, counts
// as one change, replaces occupied entries only after "Ja" and says what it did;
// an export writes what the list shows.
#include "kwz_env.h"

#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzphonebook.h"
#include "support/gui.h"

#include <cstring>

namespace {

std::string line(int code, const std::string &name, const std::string &number)
{
    char text[80];
    std::snprintf(text, sizeof text, "%4d %-38.38s %-25.25s", code, name.c_str(), number.c_str());
    return text;
}

class KwzAddressBook : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        kwzDialog();
        freshKwz(1, 0, 1, 1);
        setEntry(5, "Werkstatt", "301234567");
        showkwz();
    }
    TempDir dir;
};

} // namespace

TEST_F(KwzAddressBook, ImportShowsAtOnceAndReplacesOnlyAfterJa)
{
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
        {false, line(105, "Werkstatt", "301234567"), line(100, "Jürgen Müller", "0301234567"),
         "Importiert: 1 (davon 0 mit gekürztem Namen), übersprungen: 2\n"
         "Zeile 2: Kurzwahl 105 ist belegt\nZeile 4: Kurzwahl \"300\" liegt nicht zwischen 100 und 299"},
        {true, line(105, "Bäckerei Groß", "063564711"), line(100, "Jürgen Müller", "0301234567"),
         "Importiert: 2 (davon 0 mit gekürztem Namen), übersprungen: 1\n"
         "Zeile 4: Kurzwahl \"300\" liegt nicht zwischen 100 und 299"},
    };
    for (const auto &c : cases) {
        freshKwz(1, 0, 1, 1);
        setEntry(5, "Werkstatt", "301234567");
        showkwz();
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

TEST_F(KwzAddressBook, ExportWritesEveryOccupiedEntry)
{
    setEntry(0, "Jürgen Müller", "0301234567");
    for (const char *name : {"buch.vcf", "buch.csv"}) {
        answerFile(dir.file(name));
        press("*exportab");
        std::string written = readFile(dir.file(name));
        bool vcard = std::strstr(name, ".vcf");
        EXPECT_EQ(written.find(vcard ? "FN:J\xC3\xBCrgen M\xC3\xBCller\r\n" : "100;J\xC3\xBCrgen M\xC3\xBCller;0301234567\r\n")
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
