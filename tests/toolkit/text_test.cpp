// The window's texts in the form its font reads: which form for which font and
// locale, and ISO 8859-1 texts there and back (labels, typed text).
#include <gtest/gtest.h>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

#include <string>

namespace {

using xmt::FontKind;
using xmt::TextForm;

TEST(TextForm, FollowsTheFontAndTheLocale)
{
    struct Case {
        const char *renderTable, *fontType, *fontList;
        bool utf8Locale;
        TextForm form;
    } cases[] = {
        {"sans", "FONT_IS_XFT", nullptr, false, TextForm::Utf8},          // Xft in C
        {"sans", "FONT_IS_XFT", nullptr, true, TextForm::Utf8},           // Xft in C.UTF-8, de_DE.UTF-8
        {" sans , mono", "font_is_xft", "fixed", false, TextForm::Utf8},  // the render table wins
        {"fixed", nullptr, nullptr, true, TextForm::Latin1},              // a core font named as the table
        {"core", "FONT_IS_FONT", nullptr, true, TextForm::Latin1},
        {nullptr, nullptr, "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1", true, TextForm::Latin1},
        {nullptr, nullptr, nullptr, true, TextForm::Latin1},              // Motif's default font
        {nullptr, nullptr, "-*-fixed-medium-r-*--13-*:", true, TextForm::Utf8}, // font set in UTF-8
        {nullptr, nullptr, "-*-fixed-medium-r-*--13-*:", false, TextForm::Latin1},
        {"set", "FONT_IS_FONTSET", nullptr, true, TextForm::Utf8},
    };
    for (const Case &c : cases)
        EXPECT_EQ(xmt::textFormFor(xmt::fontKindOf(c.renderTable, c.fontType, c.fontList), c.utf8Locale), c.form)
            << (c.renderTable ? c.renderTable : "-") << " / " << (c.fontList ? c.fontList : "-") << " utf8 "
            << c.utf8Locale;
}

// Puts the form back for the tests that follow in this process.
struct FormFor {
    TextForm was = xmt::textForm();
    explicit FormFor(TextForm f) { xmt::setTextForm(f); }
    ~FormFor() { xmt::setTextForm(was); }
};

TEST(TextForm, Latin1TextsThereAndBack)
{
    // Latin-1 bytes in the resource table and the record; what the font gets;
    // what typing or pasting that gives back.
    struct Case {
        TextForm form;
        std::string latin1, shown;
    } cases[] = {
        {TextForm::Utf8, "Gespr\xe4" "che ausgehend", "Gespr\xc3\xa4" "che ausgehend"},
        {TextForm::Utf8, "M\xfcller \xc4\xd6\xdc\xe4\xf6\xfc\xdf", "M\xc3\xbcller \xc3\x84\xc3\x96\xc3\x9c\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f"},
        {TextForm::Utf8, "\xa0\xbf\xff", "\xc2\xa0\xc2\xbf\xc3\xbf"},
        {TextForm::Utf8, "Ruf #11\nzweite Zeile", "Ruf #11\nzweite Zeile"},
        {TextForm::Latin1, "Geb\xfchren", "Geb\xfchren"},
        {TextForm::Latin1, "M\xfcller \xdf", "M\xfcller \xdf"},
    };
    for (const Case &c : cases) {
        FormFor form(c.form);
        EXPECT_EQ(xmt::toDisplay(c.latin1), c.shown) << c.latin1;
        std::string back;
        EXPECT_TRUE(xmt::fromDisplay(c.shown, back)) << c.latin1;
        EXPECT_EQ(back, c.latin1);
        XmString s = xmt::makeString(c.latin1.c_str());
        EXPECT_EQ(xmt::rawStringOf(s), c.shown) << "compound string of " << c.latin1;
        EXPECT_EQ(xmt::stringOf(s), c.latin1);
        XmStringFree(s);
    }
}

TEST(TextForm, CharactersLatin1LacksAreRefused)
{
    FormFor form(TextForm::Utf8);
    struct Case {
        std::string typed, kept;
    } cases[] = {
        {"\xe2\x82\xac", ""},                      // the euro sign
        {"M\xc3\xbcller\xe2\x80\x93X", "M\xfcllerX"}, // an en dash amid Latin-1
        {"\xf0\x9f\x98\x80", ""},                  // outside the BMP
        {"\xc3", ""},                              // cut short
        {"\x80z", "z"},                            // no UTF-8 at all
        {"\xc1\x81", ""},                          // an overlong 'A'
    };
    for (const Case &c : cases) {
        std::string back;
        EXPECT_FALSE(xmt::fromDisplay(c.typed, back)) << c.kept;
        EXPECT_EQ(back, c.kept);
    }
}

// A file's name as the message line and the title show it: names are bytes,
// mostly UTF-8, some ISO 8859-1; the window's texts are ISO 8859-1.
TEST(TextForm, FileNamesAsWindowText)
{
    struct Case {
        std::string name, shown;
    } cases[] = {
        {"anlage.cfg", "anlage.cfg"},
        {"B\xc3\xbcro M\xc3\xbcller.cfg", "B\xfcro M\xfcller.cfg"}, // typed in a UTF-8 file box
        {"B\xfcro.cfg", "B\xfcro.cfg"},                             // an ISO 8859-1 name on disk
        {"100%s%n.cfg", "100%s%n.cfg"},
        {"\xe2\x82\xac-Preise.cfg", "?-Preise.cfg"},                 // no ISO 8859-1 form
        {"a\nb\tc\x1b[31m.cfg", "a?b?c?[31m.cfg"},                  // control characters
        {"a\xc2\x85z\x7f.cfg", "a?z?.cfg"},                          // C1 and DEL in UTF-8
        {"\xfc\x85.cfg", "\xfc?.cfg"},                               // no UTF-8: C1 bytes too
        {"\xc3", "\xc3"},                                            // cut short: no UTF-8
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(XmtFileNameText(c.name), c.shown) << c.name;
}

} // namespace
