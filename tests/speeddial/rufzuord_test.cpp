#include <gtest/gtest.h>

#include "../basic/env.h"

#include "app/app.h"
#include "config/record.h"
#include "speeddial/rufzuord.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>

namespace {

unsigned char *share() { return recAt(rufnrShare()); }
char *num(int k) { return reinterpret_cast<char *>(share() + rec::IntNumInShare + rec::IntNumSize * k); }
unsigned char &hptTyp() { return share()[rec::HptTypInShare]; }
unsigned char &typeByte() { return *recAt(portArea() + rec::TypeByte); }
unsigned char &mode(int p) { return *recAt(portBlock(p)); }

void openRnz(const std::function<void(Widget)> &drive, const char *close)
{
    runModal([] { doDisplayRNZ(dialogTop()); }, drive, close);
}

// Every subscriber numbered 11 + k, the main PBX "1234" reached "Direkt".
void numberEveryone()
{
    for (int k = 0; k < 30; k++)
        std::snprintf(num(k), rec::IntNumSize, "%d", 11 + k);
    std::strcpy(reinterpret_cast<char *>(share()), "1234");
    hptTyp() = 2;
}

const char *const RangeWarning =
    "Die Nummern müssen zwischen 11 und 97 liegen\nund dürfen nicht doppelt vergeben werden!";

} // namespace

TEST(InternalNumbers, TerminalsOfAPortWithoutInternalBusKeepTheirNumbers)
{
    freshRecord();
    numberEveryone();
    typeByte() = 2;
    mode(1) = 0x42; // internal: S0 #0..#9 editable
    mode(2) = 0x82; // external: S1 #0..#9 not
    openRnz(
        [](Widget d) {
            for (int k = 0; k < 20; k++)
                EXPECT_TRUE(sensitive(d, ("*num" + std::to_string(k)).c_str())) << k;
            for (int k = 20; k < 30; k++) {
                std::string name = "*num" + std::to_string(k);
                EXPECT_FALSE(sensitive(d, name.c_str())) << k;
                EXPECT_EQ(fieldText(d, name.c_str()), std::to_string(11 + k));
            }
            typeInto(guiFind(d, "*num5"), "55");
            typeInto(guiFind(d, "*num15"), "65");
        },
        "*okay");
    EXPECT_STREQ(num(5), "55");
    EXPECT_STREQ(num(15), "65");
    for (int k = 20; k < 30; k++)
        EXPECT_STREQ(num(k), std::to_string(11 + k).c_str()) << k;
    EXPECT_STREQ(reinterpret_cast<char *>(share()), "1234");
    EXPECT_EQ(recInt(rec::CfgChanges), 1);

    // Refilled on every opening; a port beyond the PBX type has no terminals.
    std::strcpy(num(25), "77");
    typeByte() = 1;
    mode(2) = 0x42;
    openRnz(
        [](Widget d) {
            EXPECT_EQ(fieldText(d, "*num25"), "77");
            EXPECT_EQ(fieldText(d, "*num5"), "55");
            EXPECT_FALSE(sensitive(d, "*num25"));
            EXPECT_TRUE(sensitive(d, "*num10"));
        },
        "*cancel");
}

TEST(InternalNumbers, DirektThenAbbrechenKeepsTheType)
{
    freshRecord();
    numberEveryone();
    hptTyp() = 1;
    openRnz(
        [](Widget d) {
            EXPECT_EQ(stateOf(d, "*hpttyp"), 0);
            EXPECT_FALSE(sensitive(d, "*hptnum"));
            pick(d, "*hpttyp", 2); // "Über Amt"
            EXPECT_EQ(hptTyp(), 3);
            EXPECT_TRUE(sensitive(d, "*hptnum"));
            pick(d, "*hpttyp", 1); // "Direkt"
            EXPECT_EQ(hptTyp(), 2);
            EXPECT_FALSE(sensitive(d, "*hptnum"));
            typeInto(guiFind(d, "*num0"), "22");
        },
        "*cancel");
    EXPECT_EQ(hptTyp(), 2);
    EXPECT_STREQ(num(0), "11");
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
}

TEST(InternalNumbers, NumbersOutside11To97AreRefusedWithTheWarning)
{
    freshRecord();
    numberEveryone();
    takeWarning();
    openRnz(
        [](Widget d) {
            Widget f = guiFind(d, "*num3");
            for (const char *bad : {"98", "10", "00", "5"}) {
                typeInto(f, bad);
                EXPECT_EQ(takeWarning(), RangeWarning) << bad;
                EXPECT_EQ(fieldText(d, "*num3"), "14") << bad;
            }
            typeInto(f, "97");
            EXPECT_EQ(takeWarning(), "");
            typeInto(guiFind(d, "*num4"), "11");
            EXPECT_EQ(takeWarning(), "");
            // The check looks at one field only: a number used twice passes.
            typeInto(guiFind(d, "*num6"), "97");
            EXPECT_EQ(takeWarning(), "");
        },
        "*okay");
    EXPECT_STREQ(num(3), "97");
    EXPECT_STREQ(num(4), "11");
    EXPECT_STREQ(num(6), "97");
}

TEST(InternalNumbers, Subscriber29HasItsOwnSlot)
{
    freshRecord();
    numberEveryone();
    typeByte() = 2;
    mode(2) = 0x42;
    hptTyp() = 4;
    openRnz([](Widget d) { typeInto(guiFind(d, "*num29"), "45"); }, "*okay");
    EXPECT_EQ(std::memcmp(share() + 96, "45", 3), 0);
    EXPECT_STREQ(num(19), "30");
    EXPECT_EQ(hptTyp(), 4) << "the type byte follows the last slot";
}

TEST(InternalNumbers, TypeOutsideTheChoicesOpensAndStaysUntilChosen)
{
    freshRecord();
    numberEveryone();
    hptTyp() = 0; // never set
    openRnz([](Widget d) { EXPECT_FALSE(sensitive(d, "*hptnum")); }, "*okay");
    EXPECT_EQ(hptTyp(), 0);
    EXPECT_EQ(recInt(rec::CfgChanges), 1);

    hptTyp() = 3;
    openRnz(
        [](Widget d) {
            EXPECT_EQ(stateOf(d, "*hpttyp"), 2);
            EXPECT_TRUE(sensitive(d, "*hptnum"));
            typeInto(guiFind(d, "*hptnum"), "987654321");
            EXPECT_EQ(fieldText(d, "*hptnum"), "98765432");
        },
        "*okay");
    EXPECT_STREQ(reinterpret_cast<char *>(share()), "98765432");
    EXPECT_EQ(hptTyp(), 3);
}

TEST(InternalNumbers, MainWindowRuleReachesTheDialogLayout)
{
    freshRecord();
    openRnz([](Widget) {}, "*cancel");
    toplevel = dialogTop();
    Widget layout = XmtNameToWidget(toplevel, "*rufzuord");
    ASSERT_NE(layout, nullptr);
    setFlags(all, 0);
    activateMainButtons();
    EXPECT_FALSE(XtIsSensitive(layout));
    setFlags(all, 1);
    activateMainButtons();
    EXPECT_TRUE(XtIsSensitive(layout));
}
