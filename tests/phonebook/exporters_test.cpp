// Address books as the common programs export them (the files in data/):
// each against the exact slot bytes it gives and the summary it prints.
#include <gtest/gtest.h>

#include "phonebook/latin1.h"
#include "phonebook_env.h"
#include "resources/lookup.h"
#include "support/tempdir.h"

using namespace phonebook;

namespace {

std::string sample(const char *name) { return readFile(std::string(TEST_SOURCE_DIR) + "/phonebook/data/" + name); }

struct Exported {
    const char *what;
    std::string input;
    ImportOptions options;
    std::vector<std::pair<std::string, std::string>> slots; // name and number from 100 on, ISO 8859-1
    std::vector<std::string> summary;
    std::vector<Slot> coded = {}; // entries that went to their own code
};

std::string counts(int imported, int cut, int skipped)
{
    return "Importiert: " + std::to_string(imported) + " (davon " + std::to_string(cut) +
           " mit gekürztem Namen), übersprungen: " + std::to_string(skipped);
}

std::vector<std::string> summaryOf(const ImportResult &result)
{
    auto text = [](const char *which) { return builtinResource(std::string("*phonebookImport.") + which); };
    return summaryLines(result, text);
}

const std::string LostZero = " ohne führende 0 (von einer Tabellenkalkulation verloren?)";

// The line that says what the file was read as.
std::string csvRead(const char *encoding, const char *separator, int header = 1)
{
    std::string line = std::string("Gelesen als CSV in ") + encoding + ", Trennzeichen " + separator;
    return header ? line + ", Kopfzeile in Zeile " + std::to_string(header) : line;
}
std::string read(const char *format, const char *encoding) { return std::string("Gelesen als ") + format + " in " + encoding; }

void expectImport(const Exported &c)
{
    Directory d = fenced();
    ImportResult result = importAddressBook(c.input, d.tables(), c.options);
    std::vector<Slot> slots;
    for (const auto &[name, number] : c.slots)
        slots.push_back({int(100 + slots.size()), name, number});
    slots.insert(slots.end(), c.coded.begin(), c.coded.end());
    expectSlots(d, slots, c.what);
    EXPECT_EQ(summaryOf(result), c.summary) << c.what;
}

// A file for each kind of fault a first round of real exports showed, as its
// exporter writes it.
TEST(Exporters, OneFileForEachKindOfFault)
{
    const Exported cases[] = {
        {"1, tabs: Outlook's tab export, German, Windows-1252; \"Anrede\" is no part of the name",
         sample("outlook-tab.txt"), {},
         {{"Anna Müller", "071123450"}, {"Anna Müller", "01701234567"}, {"Jürgen Weiß", "063564711"},
          {"Stadtwerke Musterstadt", "091147110"}},
         {counts(4, 0, 0), csvRead("Windows-1252", "Tabulator")}},
        {"2, UTF-16: Excel's \"Unicode Text\", \"Name\" beside \"Vorname\" the family name",
         sample("excel-unicode.txt"), {},
         {{"Klaus Brückner", "0711123456"}, {"Klaus Brückner", "01712345678"}, {"Ayse Öztürk", "0309876543"}},
         {counts(3, 0, 0), csvRead("UTF-16LE", "Tabulator")}},
        {"3, Mac Roman: Excel for Mac's \"CSV (Macintosh)\", CR line ends", sample("excel-mac.csv"), {},
         {{"Klaus Brückner", "0711123456"}, {"Jörg Weißmann", "0891234567"}, {"Jörg Weißmann", "01601112223"},
          {"René Jäger", "01707654321"}},
         {counts(4, 0, 0), csvRead("Mac Roman", "Komma")}},
        {"4, column sets: Yahoo's First, Last, Home, Work, Other; never the job title", sample("yahoo.csv"), {},
         {{"Anna Müller", "0301234567"}, {"Anna Müller", "01701234567"}, {"Peter J. Lang", "06356777"},
          {"Bäckerei Sonnenschein", "063564711"}},
         {counts(4, 0, 0), csvRead("UTF-8", "Komma")}},
        {"5, name parts: German Excel, Anrede, Vorname and Name", sample("excel-de.csv"), {},
         {{"Erika Mustermann", "063561234"}, {"Erika Mustermann", "01512345678"}, {"Hans Schäfer", "063569876"},
          {"Feuerwehr Musterdorf", "06356112112"}},
         {counts(4, 0, 0), csvRead("Windows-1252", "Semikolon")}},
        {"6, the trunk 0 after 00CC: KAddressBook, German; without it the digits stay", sample("kaddressbook.csv"), {},
         {{"Bernd Krause", "0711246810"}, {"Bernd Krause", "0049711246820"}, {"Bernd Krause", "01711234567"},
          {"Claire Dubois", "0033142685300"}, {"Sarah Connor", "00442079460958"}},
         {counts(5, 0, 0), csvRead("UTF-8", "Komma")}},
        {"7, codes: LibreOffice, \"Nr.\" is a member number, a code out of range is passed over",
         sample("libreoffice.csv"), {},
         {{"Otto Braun", "063566060"}, {"Ilse Kern", "063567070"}},
         {counts(4, 0, 0), csvRead("UTF-8", "Komma"),
          "Zeile 4 (Ilse Kern): Kurzwahl \"310\" liegt nicht zwischen 100 und 299, übernommen unter Kurzwahl 101"},
         {{110, "Gerda Hoffmann", "063565050"}, {111, "Max Vogel", "063568080"}}},
        {"8, LDIF: Thunderbird, base64 and folded lines", sample("thunderbird.ldif"), {.withFax = true},
         {{"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "0711654321"}, {"Jürgen Weiß", "01712345678"},
          {"Jürgen Weiß (Fax)", "071112345699"}, {"Hausverwaltung Sonnenhof", "0635640400"}},
         {counts(5, 0, 0), read("LDIF", "UTF-8")}},
        {"8, XML: a router's phone book; its own extensions and short codes are not ours", sample("router.xml"), {},
         {{"Anna Müller", "07111234567"}, {"Anna Müller", "01701234567"}, {"Hausmeister & Pforte", "063564711"},
          {"Oma Erna", "063561234"}},
         {counts(4, 0, 0), read("XML-Telefonbuch", "utf-8")}},
    };
    for (const Exported &c : cases)
        expectImport(c);
}

TEST(Exporters, CsvAndVCardFiles)
{
    const Exported cases[] = {
        {"Google Contacts", sample("google.csv"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Jürgen Weiß", "071112345612"},
          {"Bäckerei Sonnenschein", "063564711"}, {"John Smith", "0012125550142"}, {"Mama", "015771234567"},
          {"Marco Rossi", "00390669821234"}},
         {counts(7, 0, 1), csvRead("UTF-8", "Komma"), "Zeile 8 (Peter Lang): keine Telefonnummer"}},
        {"Outlook, German, Windows-1252", sample("outlook-de.csv"), {},
         {{"Anna Maria Müller", "071123450"}, {"Anna Maria Müller", "01701234567"},
          {"Jürgen Weiß", "071112345612"}, {"Stadtwerke Musterstadt GmbH", "091147110"},
          {"Françoise Dupont", "0033142685300"}},
         {counts(5, 0, 1), csvRead("Windows-1252", "Komma"), "Zeile 7 (Nur Fax): nur Faxnummern"}},
        {"Outlook, German, with faxes", sample("outlook-de.csv"), {.withFax = true},
         {{"Anna Maria Müller", "071123450"}, {"Anna Maria Müller", "01701234567"},
          {"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß (Fax)", "071112345699"},
          {"Stadtwerke Musterstadt GmbH", "091147110"}, {"Stadtwerke Musterstadt GmbH (Fax)", "0911471199"},
          {"Françoise Dupont", "0033142685300"}, {"Nur Fax (Fax)", "063561234"}},
         {counts(8, 0, 0), csvRead("Windows-1252", "Komma")}},
        {"Outlook, English, UTF-8 with its mark", sample("outlook-en.csv"), {},
         {{"John A. Smith Jr.", "0012125550142"}, {"John A. Smith Jr.", "0019175550199"},
          {"Sarah Connor", "00442079460958"}, {"Sarah Connor", "00447700900123"}, {"Acme Ltd.", "00441614960000"},
          {"Anna Müller", "01717654321"}, {"Anna Müller", "0911123456"}},
         {counts(7, 0, 1), csvRead("UTF-8 mit BOM", "Komma"), "Zeile 6 (Newsletter): keine Telefonnummer"}},
        {"Thunderbird: first and last name before the display name", sample("thunderbird.csv"), {},
         {{"Anna Müller", "071123450"}, {"Anna Müller", "01701234567"}, {"Hans Becker", "0635698765"},
          {"Lisa Schmidt", "089123456"}, {"Vereinsheim", "063565050"}},
         {counts(5, 0, 1), csvRead("UTF-8", "Komma"), "Zeile 6 (Newsletter): keine Telefonnummer"}},
        {"Evolution: FULL_NAME and its kin", sample("evolution.csv"), {},
         {{"Karin Lehmann", "08912340"}, {"Karin Lehmann", "01769988776"}, {"Hausarzt", "063563030"}},
         {counts(3, 0, 0), csvRead("UTF-8", "Komma")}},
        {"a spreadsheet's sheet that ate zeros, with a stray quote", sample("spreadsheet.csv"), {},
         {{"Oma Erna", "063561234"}, {"Klaus Meier", "301234567"}, {"Klaus Meier", "1701234567"},
          {"Autohaus Schmitt", "0635698760"}, {"\"Tante Gerda", "06356777"}, {"Zahnarzt Dr. Roth", "063565555"}},
         {counts(6, 0, 0), csvRead("UTF-8", "Semikolon"), "Zeile 3 (Klaus Meier): Nummer 301234567" + LostZero,
          "Zeile 3 (Klaus Meier): Nummer 1701234567" + LostZero,
          "Zeile 5: Anführungszeichen ohne Ende, als Zeichen gelesen"}},
        {"a sheet with German column names, Windows-1252", "Name;Privat;Gesch\xE4" "ftlich;Stra\xDF" "e\nAnna;030 1;040 2;Weg 1\n",
         {}, {{"Anna", "0301"}, {"Anna", "0402"}}, {counts(2, 0, 0), csvRead("Windows-1252", "Semikolon")}},
        {"columns nobody knows", "Wer;Wo;Was\nAnna;Berlin;0301234\n", {},
         {},
         {counts(0, 0, 0), csvRead("UTF-8", "Semikolon", 0),
          "Keine Spalten für Name und Telefonnummer erkannt, die erste Zeile hat: \"Wer\", \"Wo\", \"Was\""}},
        {"columns chosen by name", "Wer;Wo;Was\nAnna;Berlin;0301234\n",
         {.nameColumns = {"wer", "WO"}, .numberColumns = {"Was"}}, {{"Anna Berlin", "0301234"}},
         {counts(1, 0, 0), csvRead("UTF-8", "Semikolon")}},
        {"a chosen column that is not there", "Wer;Wo;Was\nAnna;Berlin;0301234\n", {.numberColumns = {"Wann"}},
         {}, {counts(0, 0, 0), csvRead("UTF-8", "Semikolon", 0), "Keine Spalte \"Wann\", die erste Zeile hat: \"Wer\", \"Wo\", \"Was\""}},
        {"Apple Contacts 3.0", sample("apple.vcf"), {},
         {{"Dr. Anna Maria Müller", "01701234567"}, {"Dr. Anna Maria Müller", "071123450"},
          {"Autohaus Schmitt", "0635698760"}, {"John Smith", "0012125550142"}, {"John Smith", "0019175550199"}},
         {counts(5, 0, 0), read("vCard", "UTF-8")}},
        {"iCloud 3.0, grouped numbers, a company", sample("icloud.vcf"), {},
         {{"Klaus Brückner", "0711123456"}, {"Klaus Brückner", "01712345678"}, {"Pizzeria Da Mario", "063569090"}},
         {counts(3, 0, 0), read("vCard", "UTF-8")}},
        {"Google 3.0", sample("google.vcf"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Jürgen Weiß", "071112345612"}},
         {counts(4, 0, 0), read("vCard", "UTF-8")}},
        {"Android 2.1, quoted-printable", sample("android21.vcf"), {},
         {{"Jürgen Müller", "01701234567"}, {"Jürgen Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Gemeinschaftspraxis Dr. Schäfer und K", "0635698765"}},
         {counts(4, 1, 1), read("vCard", "UTF-8"),
          "Zeile 20 (Gemeinschaftspraxis Dr. Schäfer und K): Name gekürzt (Kurzwahl 103)",
          "Zeile 22 (Peter Lang): keine Telefonnummer"}},
        {"Samsung 2.1, quoted-printable UTF-8", sample("samsung.vcf"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Notruf", "112"}},
         {counts(3, 0, 0), read("vCard", "UTF-8")}},
        {"Nextcloud 3.0, with faxes", sample("nextcloud30.vcf"), {.withFax = true},
         {{"Anna Müller", "07112345678"}, {"Anna Müller", "01701234567"}, {"Anna Müller (Fax)", "07112345699"},
          {"Marco Rossi", "00390669821234"}},
         {counts(4, 0, 0), read("vCard", "UTF-8")}},
        {"Nextcloud 4.0, tel: URIs", sample("nextcloud40.vcf"), {},
         {{"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}, {"John Smith", "0012125550142"},
          {"Stadtwerke Musterstadt", "091147110"}},
         {counts(4, 0, 0), read("vCard", "UTF-8")}},
        {"vCard 4.0, KIND:org, an extension in the URI", sample("vcard40.vcf"), {},
         {{"Zoë Schäfer", "01601234567"}, {"Zoë Schäfer", "030555123"}, {"Stadtbücherei", "063563210"}},
         {counts(3, 0, 0), read("vCard", "UTF-8")}},
        {"Tuta 3.0", sample("tuta.vcf"), {}, {{"Lena Vogt", "015122334455"}, {"Lena Vogt", "0621445566"}},
         {counts(2, 0, 0), read("vCard", "UTF-8")}},
        {"Proton 4.0, grouped numbers", sample("proton.vcf"), {},
         {{"Jürgen Weiß", "01712345678"}, {"Jürgen Weiß", "071112345612"}}, {counts(2, 0, 0), read("vCard", "UTF-8")}},
        {"Outlook 2.1, Windows-1252", sample("outlook.vcf"), {},
         {{"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}},
         {counts(2, 0, 0), read("vCard", "Windows-1252")}},
        {"two exports joined, each with its mark", sample("joined.vcf"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}, {"John Smith", "0012125550142"},
          {"Stadtwerke Musterstadt", "091147110"}},
         {counts(7, 0, 1), read("vCard", "UTF-8 mit BOM"), "Zeile 32 (Jürgen Weiß): steht schon unter Kurzwahl 103"}},
    };
    for (const Exported &c : cases)
        expectImport(c);
}

// Files that give no contact change nothing and say what was found and what
// was not.
TEST(Exporters, FilesThatGiveNothingSaySo)
{
    const struct {
        const char *what;
        std::string input;
        Trouble trouble;
        std::vector<std::string> summary;
    } cases[] = {
        {"a blank file is no trouble", " \r\n\n", Trouble::Clear, {counts(0, 0, 0), csvRead("UTF-8", "Komma", 0)}},
        {"a header and nothing after it", "Kurzwahl;Name;Telefon\r\n", Trouble::NoEntries,
         {counts(0, 0, 0), csvRead("UTF-8", "Semikolon"), "Keine Einträge gefunden: nichts importiert"}},
        {"lines without a separator", "Anna 030 1234\nOtto 040 5678\n", Trouble::NoFormat,
         {counts(0, 0, 0), "Zeichensatz UTF-8 erkannt, aber kein Adressbuch",
          "Weder CSV (die erste Zeile hat kein Komma, Semikolon oder Tabulator) noch vCard, LDIF oder XML: nichts importiert"}},
        {"zero bytes: no text at all", std::string("PK\3\4\0\0,;", 8), Trouble::NoFormat,
         {counts(0, 0, 0), "Zeichensatz UTF-8 erkannt, aber kein Adressbuch",
          "Weder CSV (die erste Zeile hat kein Komma, Semikolon oder Tabulator) noch vCard, LDIF oder XML: nichts importiert"}},
        {"XML, but a feed", "<?xml version=\"1.0\"?>\n<rss><channel><title>x</title></channel></rss>\n",
         Trouble::NoPhoneBook,
         {counts(0, 0, 0), read("XML", "UTF-8"),
          "XML, aber kein Telefonbuch (Wurzelelement <rss>, kein <contact>): nichts importiert"}},
        {"a phone book cut off: nothing of it", "<phonebooks><phonebook><contact><person><realName>A</realName>"
                                                "</person><telephony><number>1</number></telephony></contact>\n<contact>",
         Trouble::BrokenXml,
         {counts(0, 0, 0), read("XML", "UTF-8"), "XML-Fehler in Zeile 2 (no element found): nichts importiert"}},
        {"an empty phone book", "<phonebooks><phonebook/></phonebooks>", Trouble::NoEntries,
         {counts(0, 0, 0), read("XML-Telefonbuch", "UTF-8"), "Keine Einträge gefunden: nichts importiert"}},
        {"LDIF with a version and no entry", "version: 1\n\n", Trouble::NoEntries,
         {counts(0, 0, 0), read("LDIF", "UTF-8"), "Keine Einträge gefunden: nichts importiert"}},
    };
    for (const auto &c : cases) {
        Directory d = fenced();
        ImportResult result = importAddressBook(c.input, d.tables());
        EXPECT_EQ(result.trouble, c.trouble) << c.what;
        EXPECT_EQ(summaryOf(result), c.summary) << c.what;
        expectSlots(d, {}, c.what);
    }
}

// What a message shows of the file: 60 characters, no control character.
TEST(Exporters, MessagesShowFieldsTamed)
{
    std::string code = "\x1B[31m" + std::string(100, 'y');
    Directory d;
    ImportResult result = importCsv("Kurzwahl;Name;Telefon\n" + code + ";A;1\n", d.tables());
    std::vector<std::string> lines = summaryOf(result);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "Zeile 2 (A): Kurzwahl \" [31m" + std::string(55, 'y') +
                            "...\" liegt nicht zwischen 100 und 299, übernommen unter Kurzwahl 100");
    EXPECT_EQ(shownInMessage("a\x01\x7F\x85\xFC"), "a???\xFC");
}

} // namespace
