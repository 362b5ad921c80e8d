#include <gtest/gtest.h>

#include "fixture.h"

#include "config/record.h"
#include "settings/steuer.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/TextF.h>
#include <cstring>
#include <vector>

namespace {

unsigned char *block(int pbx = 0) { return recAt(rec::StKonList + rec::StKonShare * pbx); }

void contacts()
{
    freshRecord();
    takeWarning();
    for (int pbx = 0; pbx < 2; pbx++) {
        unsigned char *b = block(pbx);
        putLe16(b + 0, 0x0730);
        putLe16(b + 2, 0x1800);
        putLe16(b + 4, 120);
        putLe16(b + 6, 5);
        b[8] = 1;
        b[9] = 0;
        b[10] = 1;
        std::strcpy(reinterpret_cast<char *>(b + 11), "0301234567");
        std::strcpy(reinterpret_cast<char *>(b + 86), "Alarm Keller");
    }
}

} // namespace

// What "OK" without an edit stores is the unedited-OK table's (untouched_test.cpp).
TEST(ControlContacts, ShowsTheBlock)
{
    contacts();
    openWith(displaySteuer,
        [](Widget d) {
            EXPECT_EQ(fieldText(d, "*start"), "0730");
            EXPECT_EQ(fieldText(d, "*end"), "1800");
            EXPECT_EQ(fieldText(d, "*ask1"), "120");
            EXPECT_EQ(fieldText(d, "*rnr1"), "0301234567");
            EXPECT_EQ(fieldText(d, "*utou"), "Alarm Keller");
            EXPECT_EQ(stateOf(d, "*akt1"), 1);
            EXPECT_EQ(stateOf(d, "*auto"), 1);
        },
        "*okay");
}

TEST(ControlContacts, EditsReachTheirBytesAndNothingElse)
{
    contacts();
    std::vector<unsigned char> pbxB(block(1), block(1) + rec::StKonShare);
    openWith(displaySteuer,
        [](Widget d) {
            typeInto(guiFind(d, "*end"), "2359");
            typeInto(guiFind(d, "*ask1"), "999");
            typeInto(guiFind(d, "*ask2"), "");
            pick(d, "*akt2", 2); // "Nicht schalten"
            pick(d, "*auto", 0);
            typeInto(guiFind(d, "*rnr1"), "123456789012345678901234567");
            EXPECT_EQ(fieldText(d, "*rnr1"), "123456789012345678901234") << "24 digits at most";
            // A time field without any hex digit keeps the stored time.
            XmtInputFieldSetString(guiFind(d, "*start"), "");
        },
        "*okay");
    unsigned char *b = block();
    EXPECT_EQ(b[2], 0x59);
    EXPECT_EQ(b[3], 0x23);
    EXPECT_EQ(getLe16(b + 0), 0x0730);
    EXPECT_EQ(b[4], 0xE7);
    EXPECT_EQ(b[5], 0x03);
    EXPECT_EQ(getLe16(b + 6), 0);
    EXPECT_EQ(b[9], 2);
    EXPECT_EQ(b[10], 0);
    EXPECT_EQ(std::memcmp(b + 11, "123456789012345678901234", 24), 0);
    EXPECT_EQ(b[35], 0) << "the number ends in its last byte";
    EXPECT_EQ(b[36], 0) << "the second number is untouched";
    EXPECT_EQ(std::vector<unsigned char>(block(1), block(1) + rec::StKonShare), pbxB) << "PBX B's block";
}

TEST(ControlContacts, RangeWarnings)
{
    contacts();
    const char *range = "Der Wert muß zwischen 0000 und 2359 liegen!";
    openWith(displaySteuer,
        [range](Widget d) {
            expectTyped(d, {
                               {"*start", "2400", "0730", range},
                               {"*end", "2360", "1800", range},
                               {"*end", "123", "1800", range}, // all four digits
                               {"*start", "1275", "1275", ""}, // minutes are not looked at
                               {"*ask2", "0", "0", ""},
                           });
        },
        "*cancel");
}
