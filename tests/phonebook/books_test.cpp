// The readers behind the import on their own: CSV columns told by their
// header names, LDIF entries and the routers' XML phone book.
#include <gtest/gtest.h>

#include "phonebook/ldif.h"
#include "support/bounded.h"
#include "phonebook/xmlbook.h"
#include "phonebook_env.h"

using namespace phonebook;

namespace {

// A header and one line under it: the slots they give, and whether the
// code was passed over.
TEST(Columns, NamesAndCodesByHeader)
{
    const struct {
        const char *what;
        std::string input;
        std::vector<Slot> slots;
        bool codeIgnored = false;
    } cases[] = {
        {"Yahoo's short names", "First,Middle,Last,Home,Work,Other,Fax\nAnna,B.,Muster,1,2,3,4\n",
         {{100, "Anna B. Muster", "1"}, {101, "Anna B. Muster", "2"}, {102, "Anna B. Muster", "3"}}},
        {"a title is no part of the name, nor is a job title",
         "Title,First Name,Last Name,Company,Job Title,Business Phone\nDr.,Anna,Muster,Firma X,Chefin,1\n",
         {{100, "Anna Muster", "1"}}},
        {"\"Name\" beside \"Vorname\" is the family name", "Name;Vorname;Telefon\nMeier;Hans;1\n", {{100, "Hans Meier", "1"}}},
        {"\"Name\" beside \"Vorname\" and \"Nachname\" is a display name, the parts win",
         "Name;Vorname;Nachname;Telefon\nHansi;Hans;Meier;1\nOnkel Otto;;;2\n",
         {{100, "Hans Meier", "1"}, {101, "Onkel Otto", "2"}}},
        {"\"Anrede\" never goes in front", "Anrede;Name;Telefon\nHerr;Meier;1\n", {{100, "Meier", "1"}}},
        {"the company only where no personal name is",
         "First,Last,Company,Phone\n,,Acme,1\nAnna,,Acme,2\n", {{100, "Acme", "1"}, {101, "Anna", "2"}}},
        {"Evolution's field names", "GIVEN_NAME,FAMILY_NAME,HOME_PHONE,BUSINESS_FAX\nKarin,Lehmann,1,2\n",
         {{100, "Karin Lehmann", "1"}}},
        {"a phone for the hard of hearing is no number to call",
         "Name;Telefon f\xC3\xBCr H\xC3\xB6rbehinderte;Telefon\nA;1;2\n", {{100, "A", "2"}}},
        {"\"Nr.\" is a member number", "Nr.;Name;Telefon\n7;A;1\n", {{100, "A", "1"}}},
        {"\"Kurzwahl-Nr.\" is a code", "Kurzwahl-Nr.;Name;Telefon\n150;A;1\n", {{150, "A", "1"}}},
        {"a code out of range is passed over, the number stays", "Speed Dial,Name,Phone\n400,A,1\n",
         {{100, "A", "1"}}, true},
    };
    for (const auto &c : cases) {
        Directory d = fenced();
        ImportResult result = importCsv(c.input, d.tables());
        expectSlots(d, c.slots, c.what);
        bool ignored = !result.notices.empty() && result.notices[0].kind == NoticeKind::CodeIgnored;
        EXPECT_EQ(ignored, c.codeIgnored) << c.what;
    }
}

struct Tels {
    int line;
    std::string name;
    std::vector<Tel> tels;
};

void expectCards(const std::vector<Card> &got, const std::vector<Tels> &want, const char *what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].line, want[k].line) << what << ", entry " << k;
        EXPECT_EQ(got[k].name, want[k].name) << what << ", entry " << k;
        ASSERT_EQ(got[k].tels.size(), want[k].tels.size()) << what << ", entry " << k;
        for (std::size_t t = 0; t < got[k].tels.size(); ++t) {
            EXPECT_EQ(got[k].tels[t].line, want[k].tels[t].line) << what << ", entry " << k << ", number " << t;
            EXPECT_EQ(got[k].tels[t].value, want[k].tels[t].value) << what << ", entry " << k << ", number " << t;
            EXPECT_EQ(got[k].tels[t].fax, want[k].tels[t].fax) << what << ", entry " << k << ", number " << t;
        }
    }
}

// One contact with as many numbers as a few megabytes hold (Google's ":::"
// in one cell, or an LDIF entry of telephoneNumber lines): each is compared
// with those before it in no time.
TEST(Columns, ManyNumbersOfOneContactInLinearTime)
{
    const int count = 140000;
    std::string cell, entry = "dn: cn=x\ncn: x\n";
    for (int k = 0; k < count; ++k) {
        std::string number = std::to_string(1000000 + k % (count / 2)); // each twice
        cell += (k ? ":::" : "") + number;
        entry += "telephoneNumber: " + number + "\n";
    }
    for (const auto &[what, book] : {std::pair{"CSV", "Name,Phone 1 - Value\nx,\"" + cell + "\"\n"}, {"LDIF", entry}}) {
        Bounded r = runBounded(8, [&book] {
            Directory d = fenced();
            ImportResult result = importAddressBook(book, d.tables());
            // Each number once: the directory's slots, the rest of them no room.
            return result.imported.size() == SlotCount && result.skipped.size() == count / 2 - SlotCount ? 0 : 1;
        });
        EXPECT_TRUE(r.finished) << what << ": still importing after " << r.seconds << " s";
        EXPECT_EQ(r.result, 0) << what << r.out;
    }
}

TEST(Ldif, Entries)
{
    const std::string text = "version: 1\n"
                             "# a comment,\n"
                             "  folded\n"
                             "dn: cn=A\n"
                             "CN:: " "SsO8cmdlbg==\n" // Jürgen
                             "telephoneNumber;lang-de: 030\n"
                             " 1234\n"
                             "pager: 9\n"
                             "jpegPhoto:< file:///tmp/a.jpg\n"
                             "facsimileTelephoneNumber: 2\n"
                             "\n\n"
                             "dn: o=Firma\n"
                             "o: Firma GmbH\n"
                             "mobile: 3\n"
                             "\n"
                             "dn: cn=B\n"
                             "givenName: Bea\n"
                             "cn: Die Bea\n"
                             "homePhone: 4";
    EXPECT_TRUE(ldif::looksLikeLdif("\n# export\nversion: 1\n"));
    EXPECT_TRUE(ldif::looksLikeLdif("DN: cn=x\n"));
    EXPECT_FALSE(ldif::looksLikeLdif("Name;dn:\n"));
    expectCards(ldif::read(text),
                {{4, utf8(u8"Jürgen"), {{6, "0301234", false}, {10, "2", true}}},
                 {13, "Firma GmbH", {{15, "3", false}}},
                 {17, "Die Bea", {{20, "4", false}}}},
                "LDIF");
}

TEST(XmlBook, Contacts)
{
    const std::string book = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                             "<phonebooks><phonebook name=\"Telefonbuch\">\n"
                             "<contact><person><realName>J\xFCrgen \x84Jupp\x93</realName></person>\n"
                             "<telephony><number type=\"intern\">**610</number>\n"
                             "<number type=\"memo\">**605</number>\n"
                             "<number type=\"home\" quickdial=\"7\"> 030 1 </number>\n"
                             "<number type=\"fax_work\">030 2</number></telephony></contact>\n"
                             "<contact><person><realName>Leer</realName></person><telephony/></contact>\n"
                             "</phonebook></phonebooks>\n";
    xmlbook::Book got = xmlbook::read(book);
    EXPECT_EQ(got.errorLine, 0) << got.error;
    EXPECT_EQ(got.root, "phonebooks");
    EXPECT_EQ(got.declaredEncoding, "windows-1252");
    expectCards(got.cards, {{3, utf8(u8"Jürgen „Jupp“"), {{6, "030 1", false}, {7, "030 2", true}}}, {8, "Leer", {}}},
                "windows-1252");

    // UTF-16 by its mark, as expat tells it.
    std::string wide = "\xFF\xFE";
    for (char c : std::string("<phonebooks><phonebook><contact><person><realName>A</realName></person>"
                              "<telephony><number type=\"mobile\">1</number></telephony></contact></phonebook></phonebooks>"))
        wide += c, wide += '\0';
    expectCards(xmlbook::read(wide).cards, {{1, "A", {{1, "1", false}}}}, "UTF-16");

    xmlbook::Book broken = xmlbook::read("<phonebooks>\n<contact>\n</phonebooks>\n");
    EXPECT_EQ(broken.errorLine, 3);
    EXPECT_EQ(broken.error, "mismatched tag");
}

// Elements nested as deep as a file of a few megabytes allows: each end tag
// must not look through all that are open.
TEST(XmlBook, DeepNestingInLinearTime)
{
    const std::size_t depth = 200000;
    std::string book = "<phonebooks><phonebook><contact><telephony><number type=\"home\">1</number></telephony>";
    for (const char *name : {"realName", "number"}) {
        std::string open = std::string("<") + name + ">", close = std::string("</") + name + ">";
        std::string inner;
        for (std::size_t k = 0; k < depth; ++k)
            inner += open;
        for (std::size_t k = 0; k < depth; ++k)
            inner += close;
        Bounded r = runBounded(3, [&] {
            xmlbook::Book got = xmlbook::read(book + inner + "</contact></phonebook></phonebooks>");
            return got.errorLine == 0 && got.cards.size() == 1 && got.cards[0].tels.size() == 1 ? 0 : 1;
        });
        EXPECT_TRUE(r.finished) << name << ": still reading after " << r.seconds << " s";
        EXPECT_EQ(r.result, 0) << name << r.out;
    }
}

} // namespace
