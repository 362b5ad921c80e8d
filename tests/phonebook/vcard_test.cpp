// The vCard reader on its own: what each card yields, and folding on the way out.
#include <gtest/gtest.h>

#include "phonebook/latin1.h"
#include "phonebook/vcard.h"
#include "phonebook_env.h"

using namespace phonebook;

namespace {

struct Expected {
    int line;
    std::string name;
    std::string code;
    std::vector<std::pair<int, std::string>> tels;
};

struct ReadCase {
    const char *what;
    std::string text;
    std::vector<Expected> cards;
};

const ReadCase readCases[] = {
    {"3.0 with two numbers and a code",
     "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Hans Meier\r\nN:Meier;Hans;;;\r\nTEL;TYPE=WORK:030 1234\r\n"
     "TEL;TYPE=CELL:+49 170 1\r\nX-KELVORA-SPEEDDIAL:105\r\nEND:VCARD\r\n",
     {{1, "Hans Meier", "105", {{5, "030 1234"}, {6, "+49 170 1"}}}}},
    {"N without FN: prefix, given, additional, family, suffix; lists joined",
     "BEGIN:VCARD\nN:M\\, Meier;Hans,Peter;;Dr.;jun.\nTEL:1\nEND:VCARD\n",
     {{1, "Dr. Hans Peter M, Meier jun.", "", {{3, "1"}}}}},
    {"an empty FN falls back to N, then to ORG",
     "BEGIN:VCARD\nFN:\nORG:Praxis;Empfang\nTEL:1\nEND:VCARD\n", {{1, "Praxis Empfang", "", {{4, "1"}}}}},
    {"folded lines; line numbers stay those of the file",
     "BEGIN:VCARD\r\nFN:Hans-Joachim \r\n Meier\r\n\tGmbH\r\nTEL:03\r\n 0 1\r\nEND:VCARD\r\n",
     {{1, "Hans-Joachim MeierGmbH", "", {{5, "030 1"}}}}},
    {"2.1: quoted-printable ISO 8859-1 with a soft break, bare parameters",
     "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=\r\n=FCller\r\n"
     "TEL;CELL;VOICE:0171\r\nEND:VCARD\r\n",
     {{1, utf8(u8"Jürgen Müller"), "", {{5, "0171"}}}}},
    {"2.1: quoted-printable UTF-8",
     "BEGIN:VCARD\nN;CHARSET=UTF-8;QUOTED-PRINTABLE:M=C3=BCller;=C3=84nne\nTEL:1\nEND:VCARD\n",
     {{1, utf8(u8"Änne Müller"), "", {{3, "1"}}}}},
    {"4.0: tel URI, a group, quoted parameter values",
     "BEGIN:VCARD\nVERSION:4.0\nFN:A\nitem1.TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+49-30-1234;ext=5\nEND:VCARD\n",
     {{1, "A", "", {{4, "+49-30-1234"}}}}},
    {"escapes in FN", "BEGIN:VCARD\nFN:Meier\\, Hans\\; GmbH\\\\Nord\nEND:VCARD\n",
     {{1, "Meier, Hans; GmbH\\Nord", "", {}}}},
    {"an 8-bit file without CHARSET", "BEGIN:VCARD\nFN:M\xFCller\nTEL:1\nEND:VCARD\n",
     {{1, utf8(u8"Müller"), "", {{3, "1"}}}}},
    {"a card inside a card is passed over, base64 values are not read",
     "BEGIN:VCARD\nFN:Chef\nAGENT:\nBEGIN:VCARD\nFN:Sekretariat\nTEL:2\nEND:VCARD\n"
     "PHOTO;ENCODING=b;TYPE=JPEG:TEL:99\n TEL:98\nTEL:1\nEND:VCARD\n",
     {{1, "Chef", "", {{10, "1"}}}}},
    {"lines outside cards count for nothing; a card cut off by the end still counts",
     "TEL:5\nBEGIN:VCARD\nFN:A\nEND:VCARD\nFN:B\nbegin:vcard\nfn:C\ntel:3",
     {{2, "A", "", {}}, {6, "C", "", {{8, "3"}}}}},
};

TEST(VCard, Reading)
{
    for (const ReadCase &c : readCases) {
        std::vector<vcard::Card> got = vcard::read(c.text);
        ASSERT_EQ(got.size(), c.cards.size()) << c.what;
        for (std::size_t k = 0; k < got.size(); ++k) {
            const Expected &want = c.cards[k];
            EXPECT_EQ(got[k].line, want.line) << c.what;
            EXPECT_EQ(got[k].name, want.name) << c.what;
            EXPECT_EQ(got[k].code, want.code) << c.what;
            std::vector<std::pair<int, std::string>> tels;
            for (const vcard::Tel &t : got[k].tels)
                tels.emplace_back(t.line, t.value);
            EXPECT_EQ(tels, want.tels) << c.what;
        }
    }
}

// A long value of two-byte characters, escaped and folded, comes back whole;
// no line is longer than 75 octets or splits a character.
TEST(VCard, FoldingKeepsCharactersWhole)
{
    std::string name = latin1ToUtf8("a" + std::string(100, '\xFC') + ";,\\\n" + std::string(160, 'x') + "\xE4\xF6\xDF");
    std::string text = "BEGIN:VCARD\r\n";
    vcard::appendLine(text, "FN:" + vcard::escaped(name));
    text += "END:VCARD\r\n";
    std::size_t from = 0;
    int lines = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2, ++lines) {
        std::string line = text.substr(from, end - from);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_TRUE(isUtf8(line)) << line;
    }
    EXPECT_GE(lines, 5);
    std::vector<vcard::Card> back = vcard::read(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, name);
}

// Bytes that start no UTF-8 character anywhere within reach still fold.
TEST(VCard, FoldingTerminatesOnBytesThatAreNoUtf8)
{
    std::string line = "FN:" + std::string(200, '\x80'), out, unfolded;
    vcard::appendLine(out, line);
    for (std::size_t from = 0, end; (end = out.find("\r\n", from)) != std::string::npos; from = end + 3) {
        EXPECT_LE(end - from, 75u);
        unfolded += out.substr(from, end - from);
    }
    EXPECT_EQ(unfolded, line);
}

} // namespace
