#include <gtest/gtest.h>

#include "env.h"

#include "basic/anltyp.h"
#include "basic/msns.h"
#include "config/record.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <vector>

namespace {

unsigned char &typeByte() { return *recAt(portArea() + rec::TypeByte); }
unsigned char &mode(int p) { return *recAt(portBlock(p)); }
char *msn(int p, int k) { return reinterpret_cast<char *>(recAt(portBlock(p) + rec::MsnInBlock + rec::MsnSize * k)); }
unsigned char *entry(int p, int k) { return recAt(portBlock(p) + rec::MsnZuordInBlock + rec::MsnZuordSize * k); }
void setEntry(int p, int k, std::uint32_t v)
{
    for (int i = 0; i < 4; i++)
        entry(p, k)[i] = static_cast<unsigned char>(v >> (8 * i));
}
char *intNum(int k) { return recText(rufnrShare() + rec::IntNumInShare + rec::IntNumSize * k); }

// Opens "Anlagentyp" on port p and runs f in it.
void inConf(int p, const std::function<void(Widget)> &f)
{
    runModal([] { doShowConf(dialogTop()); },
             [p, &f](Widget anl) {
                 pick(anl, "*port", p);
                 f(anl);
             },
             "*anl_btns.okay");
}

void viaButton(Widget anl, const char *button, const std::function<void(Widget)> &drive, const char *close)
{
    runModal([anl, button] { guiPress(guiFind(anl, button)); }, drive, close, anl);
}

const char *const NoLeadingZero = "Bitte keine führende Null eingeben!";

} // namespace

// ---------------------------------------------------------------- "Rufnummern"

class Msns : public ::testing::Test {
protected:
    void SetUp() override
    {
        freshRecord();
        takeWarning();
        typeByte() = 1;
        mode(0) = 0x92;
        mode(1) = 0x92;
        std::strcpy(msn(1, 0), "4711");
        std::strcpy(msn(1, 3), "12345678");
        std::strcpy(msn(1, 9), "999");
        std::strcpy(msn(0, 0), "1111"); // the other port's
    }
};

// Typed input of "Rufnummern": a leading zero refused, an empty field taken,
// eight digits at most; "OK" stores the chosen port's fields.
TEST_F(Msns, TypedNumbersAreCheckedAndStoredForTheChosenPort)
{
    inConf(1, [](Widget anl) {
        viaButton(
            anl, "*msns_b",
            [](Widget d) {
                EXPECT_EQ(fieldText(d, "*num0"), "4711");
                expectTyped(d, {
                                   {"*num0", "0815", "4711", NoLeadingZero},
                                   {"*num1", "0", "", NoLeadingZero},
                                   {"*num3", "", "", ""},
                                   {"*num9", "123456789", "12345678", ""}, // the ninth digit cannot be typed
                                   {"*num5", "5555", "5555", ""},
                               });
            },
            "*ms_btns.okay");
    });
    EXPECT_STREQ(msn(1, 0), "4711");
    EXPECT_EQ(msn(1, 1)[0], 0);
    EXPECT_EQ(msn(1, 3)[0], 0);
    EXPECT_STREQ(msn(1, 5), "5555");
    EXPECT_EQ(std::memcmp(msn(1, 9), "12345678", 9), 0);
    EXPECT_STREQ(msn(0, 0), "1111");
    EXPECT_EQ(recInt(rec::CfgChanges), 1);
}

TEST_F(Msns, AbbrechenKeepsAllTen)
{
    for (int k = 0; k < 10; k++)
        std::snprintf(msn(1, k), rec::MsnSize, "%d", 2000 + k);
    std::vector<char> before(msn(1, 0), msn(1, 0) + rec::MsnCount * rec::MsnSize);
    inConf(1, [](Widget anl) {
        viaButton(
            anl, "*msns_b",
            [](Widget d) {
                typeInto(guiFind(d, "*num0"), "31");
                typeInto(guiFind(d, "*num4"), "");
                typeInto(guiFind(d, "*num9"), "87654321");
            },
            "*ms_btns.cancel");
        viaButton(
            anl, "*msns_b", [](Widget d) { EXPECT_EQ(fieldText(d, "*num0"), "2000") << "edits of Abbrechen are gone"; },
            "*ms_btns.cancel");
    });
    EXPECT_EQ(std::memcmp(before.data(), msn(1, 0), rec::MsnCount * rec::MsnSize), 0);
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
}

// ---------------------------------------------------------------- "MSN-Zuordnung"

class MsnAssignment : public ::testing::Test {
protected:
    void SetUp() override
    {
        freshRecord();
        typeByte() = 2;
        mode(0) = 0x92;
        mode(1) = 0x82; // not an internal bus: S0 terminals cannot be assigned
        mode(2) = 0x42;
        std::strcpy(msn(0, 0), "4711");
        std::strcpy(msn(0, 1), "4712");
        setEntry(0, 0, 0xFFFFFFFF);
        std::memset(entry(0, 0) + 4, 0xAA, 4);
        setEntry(0, 1, 0xC0000401);
        for (int k = 2; k < 10; k++)
            setEntry(0, k, 0x11111111u * unsigned(k));
    }
    void openZuord(const std::function<void(Widget)> &drive)
    {
        inConf(0, [&drive](Widget anl) { viaButton(anl, "*zuord_b", drive, "*zu_btns.okay"); });
    }
};

TEST_F(MsnAssignment, ConfirmingMsn0ClearsTerminalsOfANonInternalBusOnlyThere)
{
    openZuord([](Widget d) {
        EXPECT_EQ(stateOf(d, "*msn"), 0);
        EXPECT_FALSE(sensitive(d, "*app1"));
        EXPECT_EQ(stateOf(d, "*app0"), 0x3FF);
        EXPECT_EQ(stateOf(d, "*app1"), 0);
        EXPECT_EQ(stateOf(d, "*app2"), 0x3FF);
    });
    EXPECT_EQ(entryOf(entry(0, 0)), 0x3FF003FFu);
    EXPECT_EQ(std::memcmp(entry(0, 0) + 4, "\xAA\xAA\xAA\xAA", 4), 0) << "the entry's other half is not ours";
    EXPECT_EQ(entryOf(entry(0, 1)), 0xC0000401u) << "an entry never shown is not touched";
    EXPECT_EQ(recInt(rec::CfgChanges), 1);
}

TEST_F(MsnAssignment, BitsAboveTheTerminalsAreClearedOnAShownEntry)
{
    mode(1) = 0x42;
    openZuord([](Widget d) { EXPECT_EQ(stateOf(d, "*app1"), 0x3FF); });
    EXPECT_EQ(entryOf(entry(0, 0)), 0x3FFFFFFFu);
}

TEST_F(MsnAssignment, LeavingAnMsnWritesItsEntry)
{
    openZuord([](Widget d) {
        XmtChooserSetState(guiFind(d, "*app0"), 0x5, True);
        pick(d, "*msn", 1);
        EXPECT_EQ(entryOf(entry(0, 0)), 0x3FF00005u);
        EXPECT_EQ(stateOf(d, "*app0"), 0x001);
        EXPECT_EQ(stateOf(d, "*app2"), 0);
        XmtChooserSetState(guiFind(d, "*app0"), 0x300, True);
        XmtChooserSetState(guiFind(d, "*app2"), 0x200, True);
    });
    EXPECT_EQ(entryOf(entry(0, 1)), 0x20000300u);
    for (int k = 2; k < 10; k++)
        EXPECT_EQ(entryOf(entry(0, k)), 0x11111111u * unsigned(k)) << k;
    // The next opening starts on "MSN 0" again.
    openZuord([](Widget d) {
        EXPECT_EQ(stateOf(d, "*msn"), 0);
        EXPECT_EQ(stateOf(d, "*app0"), 0x005);
    });
}

TEST_F(MsnAssignment, EmptyMsn0IsStillTheOneShownAndWritten)
{
    msn(0, 0)[0] = 0;
    openZuord([](Widget d) {
        EXPECT_FALSE(itemSensitive(d, "*msn", 0));
        EXPECT_TRUE(itemSensitive(d, "*msn", 1));
        EXPECT_FALSE(itemSensitive(d, "*msn", 2));
        EXPECT_EQ(stateOf(d, "*msn"), 0);
        XmtChooserSetState(guiFind(d, "*app0"), 0x100, True);
    });
    EXPECT_EQ(entryOf(entry(0, 0)), 0x3FF00100u);
}

TEST_F(MsnAssignment, ItemsAreLabelledWithMsnsAndInternalNumbers)
{
    std::strcpy(intNum(0), "21");
    std::strcpy(intNum(8), "28");  // a door intercom keeps its label
    std::strcpy(intNum(10), "31"); // port 1 is no internal bus
    std::strcpy(intNum(20), "41");
    inConf(0, [](Widget anl) {
        // An MSN typed in "Rufnummern" becomes an item of "MSN-Zuordnung".
        viaButton(anl, "*msns_b", [](Widget d) { typeInto(guiFind(d, "*num2"), "5555"); }, "*ms_btns.okay");
        std::memcpy(msn(0, 1), "123456789", 9); // a full slot from the PBX, no terminator
        Widget z = guiFind(dialogTop(), "*zuord_dlg");
        std::string ab2 = label(z, "*app0.item1");
        std::string tfe = label(z, "*app0.item8");
        std::string s00 = label(z, "*app1.item0");
        std::string s10 = label(z, "*app2.item1");
        viaButton(
            anl, "*zuord_b",
            [&](Widget d) {
                EXPECT_EQ(label(d, "*msn.item0"), "4711");
                EXPECT_EQ(label(d, "*msn.item2"), "5555");
                EXPECT_EQ(label(d, "*msn.item1"), "123456789") << "a label ends with its slot";
                EXPECT_TRUE(itemSensitive(d, "*msn", 2));
                EXPECT_EQ(label(d, "*app0.item0"), "Ruf #21");
                EXPECT_EQ(label(d, "*app0.item1"), ab2) << "no internal number: label kept";
                EXPECT_EQ(label(d, "*app0.item8"), tfe);
                EXPECT_EQ(label(d, "*app1.item0"), s00);
                EXPECT_EQ(label(d, "*app2.item0"), "Ruf #41");
                EXPECT_EQ(label(d, "*app2.item1"), s10);
            },
            "*zu_btns.okay");
    });
}
