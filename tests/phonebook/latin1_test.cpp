// Names from address books into ISO 8859-1, and the detection of the
// encoding a file is in.
#include <gtest/gtest.h>

#include "phonebook/encoding.h"
#include "phonebook/latin1.h"
#include "phonebook_env.h"

using namespace phonebook;

namespace {

struct NameCase {
    const char *what;
    std::string utf8;
    std::string latin1;
    bool approximated;
};

const NameCase nameCases[] = {
    {"ASCII stays", "Meier & Co. (Zentrale)", "Meier & Co. (Zentrale)", false},
    {"umlauts and sharp s are ISO 8859-1", utf8(u8"Jürgen Müller-Lüdenscheidt, Straße"),
     "Jürgen Müller-Lüdenscheidt, Straße", false},
    {"Polish, Hungarian, Czech: closest letters", utf8(u8"Łódź Erdős Šimůnek"), "Lódz Erdos Simunek", true},
    {"ligatures become two letters", utf8(u8"Œuvre Ĳssel"), "OEuvre IJssel", true},
    {"capital sharp s", utf8(u8"GROẞ"), "GROSS", true},
    {"Romanian comma below, Vietnamese", utf8(u8"Ștefan Nguyễn"), "Stefan Nguyen", true},
    {"a decomposed umlaut composes", utf8(u8"Mu\u0308ller Ce\u0301line"), "Müller Céline", false},
    {"a mark with no ISO 8859-1 letter goes", utf8(u8"Dvor\u030Cak"), "Dvorak", true},
    {"typographic quotes, dashes, euro", utf8(u8"„Zur Post“ – 5 €"), "\"Zur Post\" - 5 EUR", true},
    {"other scripts become ?", utf8(u8"Иван 李"), "???? ?", true},
    {"emoji go with the blanks they leave, variation selectors and skin tones too", utf8(u8"Mama ❤️ 😀 Oma 👍🏽"),
     "Mama Oma", true},
    {"controls become blanks", "A\tB\r\nC", "A B  C", true},
    {"broken UTF-8 gives ? per byte", "M\xC3(ller\xE2\x82", "M?(ller??", true},
};

TEST(Latin1, NamesIntoIso88591)
{
    for (const NameCase &c : nameCases) {
        Latin1Text got = utf8ToLatin1(c.utf8);
        EXPECT_EQ(got.text, c.latin1) << c.what;
        EXPECT_EQ(got.approximated, c.approximated) << c.what;
    }
}

// Every character a name slot can show survives the way out and back.
TEST(Latin1, PrintableIso88591RoundTrips)
{
    std::string all;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b < 0x7F || b >= 0xA0)
            all += char(b);
    std::string out = latin1ToUtf8(all);
    EXPECT_TRUE(isUtf8(out));
    Latin1Text back = utf8ToLatin1(out);
    EXPECT_EQ(back.text, all);
    EXPECT_FALSE(back.approximated);
}

TEST(Latin1, Utf8Detection)
{
    struct {
        const char *what;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"empty", "", true},
        {"two, three and four bytes", utf8(u8"ü € 😀"), true},
        {"an ISO 8859-1 umlaut", "M\xFCller", false},
        {"overlong slash", "\xC0\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut off at the end", "ab\xE2\x82", false},
        {"continuation byte alone", "\x80", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isUtf8(c.bytes), c.utf8) << c.what;
}

TEST(Latin1, EightBitFilesReadWithTheWindowsCodePage)
{
    // (a macro would turn the characters beyond ISO 8859-1 into a plain literal)
    const std::string read = utf8(u8"Müller „a“ € š");
    EXPECT_EQ(legacyToUtf8("M\xFCller \x84" "a\x93 \x80 \x9A"), read);
    // Where that code page has nothing the byte stays a control character.
    EXPECT_EQ(legacyToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(anyToUtf8(utf8(u8"schon UTF-8: ü")), utf8(u8"schon UTF-8: ü"));
    EXPECT_EQ(anyToUtf8("\xFC"), utf8(u8"ü"));
}

// What each exporter's bytes are taken for, and the text they give.
TEST(Latin1, EncodingsToldByTheBytes)
{
    const std::string mueller = utf8(u8"Müller");
    const struct {
        const char *what;
        std::string bytes;
        Encoding encoding;
        std::string text; // UTF-8
    } cases[] = {
        {"ASCII", "Name;Tel\n", Encoding::Utf8, "Name;Tel\n"},
        {"UTF-8", mueller, Encoding::Utf8, mueller},
        {"UTF-8 with its mark, the mark goes", "\xEF\xBB\xBF" + mueller, Encoding::Utf8Mark, mueller},
        {"UTF-16LE by its mark", std::string("\xFF\xFEM\0\xFC\0\n\0", 8), Encoding::Utf16Le, utf8(u8"Mü\n")},
        {"UTF-16BE by its mark", std::string("\xFE\xFF\0M\0\xFC", 6), Encoding::Utf16Be, utf8(u8"Mü")},
        {"UTF-16: a character beyond the first plane", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), Encoding::Utf16Le,
         utf8(u8"😀")},
        {"UTF-16: a lone surrogate and an odd last byte", std::string("\xFF\xFE\x00\xDCM\0x", 7), Encoding::Utf16Le,
         utf8(u8"\uFFFDM\uFFFD")},
        {"Windows-1252: umlauts, quotes, an apostrophe inside a name", "M\xFCller \x84" "a\x93 O\x92Neill",
         Encoding::Windows1252, utf8(u8"Müller „a“ O’Neill")},
        {"Mac Roman: letters of 0x80-0x9F inside words", "Br\x9F" "ckner J\x9Arg Wei\xA7mann", Encoding::MacRoman,
         utf8(u8"Brückner Jörg Weißmann")},
        {"Mac Roman: a byte the Windows code page lacks", "\x8D", Encoding::MacRoman, utf8(u8"ç")},
        {"Mac Roman: CR line ends and a capital at a word's start", "Name\r\x80rger\r", Encoding::MacRoman,
         utf8(u8"Name\rÄrger\r")},
        {"CR line ends, but Windows letters inside words", "Name\rM\xFCller \x80\r", Encoding::Windows1252,
         utf8(u8"Name\rMüller €\r")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(encodingOf(c.bytes), c.encoding) << c.what;
        EXPECT_EQ(toUtf8(c.bytes, c.encoding), c.text) << c.what;
    }
}

} // namespace
