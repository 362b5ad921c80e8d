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

TEST(Exporters, CsvAndVCardFiles)
{
    const Exported cases[] = {
        {"Google Contacts", sample("google.csv"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Jürgen Weiß", "071112345612"},
          {"Bäckerei Sonnenschein", "063564711"}, {"John Smith", "0012125550142"}, {"Mama", "015771234567"},
          {"Marco Rossi", "00390669821234"}},
         {counts(7, 0, 1), "Zeile 8 (Peter Lang): keine Telefonnummer"}},
        {"Outlook, German, Windows-1252", sample("outlook-de.csv"), {},
         {{"Dr. Anna Maria Müller", "071123450"}, {"Dr. Anna Maria Müller", "01701234567"},
          {"Jürgen Weiß", "071112345612"}, {"Stadtwerke Musterstadt GmbH", "091147110"},
          {"Françoise Dupont", "0033142685300"}},
         {counts(5, 0, 1), "Zeile 7 (Nur Fax): nur Faxnummern"}},
        {"Outlook, German, with faxes", sample("outlook-de.csv"), {.withFax = true},
         {{"Dr. Anna Maria Müller", "071123450"}, {"Dr. Anna Maria Müller", "01701234567"},
          {"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß (Fax)", "071112345699"},
          {"Stadtwerke Musterstadt GmbH", "091147110"}, {"Stadtwerke Musterstadt GmbH (Fax)", "0911471199"},
          {"Françoise Dupont", "0033142685300"}, {"Nur Fax (Fax)", "063561234"}},
         {counts(8, 0, 0)}},
        {"Outlook, English, UTF-8 with its mark", sample("outlook-en.csv"), {},
         {{"Mr. John A. Smith Jr.", "0012125550142"}, {"Mr. John A. Smith Jr.", "0019175550199"},
          {"Sarah Connor", "00442079460958"}, {"Sarah Connor", "00447700900123"}, {"Acme Ltd.", "00441614960000"},
          {"Anna Müller", "01717654321"}, {"Anna Müller", "0911123456"}},
         {counts(7, 0, 1), "Zeile 6 (Newsletter): keine Telefonnummer"}},
        {"Thunderbird", sample("thunderbird.csv"), {},
         {{"Müller, Anna", "071123450"}, {"Müller, Anna", "01701234567"}, {"Hans Becker", "0635698765"},
          {"Lisa Schmidt", "089123456"}, {"Vereinsheim", "063565050"}},
         {counts(5, 0, 1), "Zeile 6 (Newsletter): keine Telefonnummer"}},
        {"a spreadsheet's sheet that ate zeros, with a stray quote", sample("spreadsheet.csv"), {},
         {{"Oma Erna", "063561234"}, {"Klaus Meier", "301234567"}, {"Klaus Meier", "1701234567"},
          {"Autohaus Schmitt", "0635698760"}, {"\"Tante Gerda", "06356777"}, {"Zahnarzt Dr. Roth", "063565555"}},
         {counts(6, 0, 0), "Zeile 3 (Klaus Meier): Nummer 301234567" + LostZero,
          "Zeile 3 (Klaus Meier): Nummer 1701234567" + LostZero,
          "Zeile 5: Anführungszeichen ohne Ende, als Zeichen gelesen"}},
        {"a sheet with German column names, Windows-1252", "Name;Privat;Gesch\xE4" "ftlich;Stra\xDF" "e\nAnna;030 1;040 2;Weg 1\n",
         {}, {{"Anna", "0301"}, {"Anna", "0402"}}, {counts(2, 0, 0)}},
        {"columns nobody knows", "Wer;Wo;Was\nAnna;Berlin;0301234\n", {},
         {},
         {counts(0, 0, 0),
          "Keine Spalten für Name und Telefonnummer erkannt, die erste Zeile hat: \"Wer\", \"Wo\", \"Was\""}},
        {"columns chosen by name", "Wer;Wo;Was\nAnna;Berlin;0301234\n",
         {.nameColumns = {"wer", "WO"}, .numberColumns = {"Was"}}, {{"Anna Berlin", "0301234"}}, {counts(1, 0, 0)}},
        {"a chosen column that is not there", "Wer;Wo;Was\nAnna;Berlin;0301234\n", {.numberColumns = {"Wann"}},
         {}, {counts(0, 0, 0), "Keine Spalte \"Wann\", die erste Zeile hat: \"Wer\", \"Wo\", \"Was\""}},
        {"Apple Contacts 3.0", sample("apple.vcf"), {},
         {{"Dr. Anna Maria Müller", "01701234567"}, {"Dr. Anna Maria Müller", "071123450"},
          {"Autohaus Schmitt", "0635698760"}, {"John Smith", "0012125550142"}, {"John Smith", "0019175550199"}},
         {counts(5, 0, 0)}},
        {"Google 3.0", sample("google.vcf"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Jürgen Weiß", "071112345612"}},
         {counts(4, 0, 0)}},
        {"Android 2.1, quoted-printable", sample("android21.vcf"), {},
         {{"Jürgen Müller", "01701234567"}, {"Jürgen Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Gemeinschaftspraxis Dr. Schäfer und K", "0635698765"}},
         {counts(4, 1, 1), "Zeile 20 (Gemeinschaftspraxis Dr. Schäfer und K): Name gekürzt (Kurzwahl 103)",
          "Zeile 22 (Peter Lang): keine Telefonnummer"}},
        {"Nextcloud 3.0, with faxes", sample("nextcloud30.vcf"), {.withFax = true},
         {{"Anna Müller", "07112345678"}, {"Anna Müller", "01701234567"}, {"Anna Müller (Fax)", "07112345699"},
          {"Marco Rossi", "00390669821234"}},
         {counts(4, 0, 0)}},
        {"Nextcloud 4.0, tel: URIs", sample("nextcloud40.vcf"), {},
         {{"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}, {"John Smith", "0012125550142"},
          {"Stadtwerke Musterstadt", "091147110"}},
         {counts(4, 0, 0)}},
        {"Outlook 2.1, Windows-1252", sample("outlook.vcf"), {},
         {{"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}}, {counts(2, 0, 0)}},
        {"two exports joined, each with its mark", sample("joined.vcf"), {},
         {{"Anna Müller", "01701234567"}, {"Anna Müller", "0306912345"}, {"Mama", "015771234567"},
          {"Jürgen Weiß", "071112345612"}, {"Jürgen Weiß", "01712345678"}, {"John Smith", "0012125550142"},
          {"Stadtwerke Musterstadt", "091147110"}},
         {counts(7, 0, 1), "Zeile 32 (Jürgen Weiß): steht schon unter Kurzwahl 103"}},
    };
    for (const Exported &c : cases) {
        Directory d = fenced();
        ImportResult result = importAddressBook(c.input, d.tables(), c.options);
        std::vector<Slot> slots;
        for (const auto &[name, number] : c.slots)
            slots.push_back({int(100 + slots.size()), name, number});
        expectSlots(d, slots, c.what);
        EXPECT_EQ(summaryOf(result), c.summary) << c.what;
    }
}

// What a message shows of the file: 60 characters, no control character.
TEST(Exporters, MessagesShowFieldsTamed)
{
    std::string code = "\x1B[31m" + std::string(100, 'y');
    Directory d;
    ImportResult result = importCsv("Kurzwahl;Name;Telefon\n" + code + ";A;1\n", d.tables());
    std::vector<std::string> lines = summaryOf(result);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Zeile 2 (A): Kurzwahl \" [31m" + std::string(55, 'y') + "...\" liegt nicht zwischen 100 und 299");
    EXPECT_EQ(shownInMessage("a\x01\x7F\x85\xFC"), "a???\xFC");
}

} // namespace
