// Charge settings and internal rates: the five subscriber words over one set of
// check boxes, the number-recording rule of "Gekürzte Nummern", the packed
// bytes 83 and 85, and the rates that are stored on their own "OK".
#include <gtest/gtest.h>

#include "fixture.h"

#include "app/app.h"
#include "settings/gebdat.h"
#include "support/program.h"

namespace {

constexpr std::size_t Words = 0, UnitPrice = 51, Rates = 52, Output = 83, Pulse = 85, LinesPerPage = 87;

unsigned char *at(std::size_t offset) { return recAt(rec::GebKonfList + offset); }
std::uint32_t word(int function) { return getLe32(at(Words + 4 * std::size_t(function))); }

class ChargeSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        freshRecord();
        buses(2, 0x42, 0x42);
        // Every byte of both PBX halves set, so a stray write shows; bits 30-31 of the words set.
        for (std::size_t i = 0; i < rec::GebKonfListSize; i++)
            *recAt(rec::GebKonfList + i) = static_cast<unsigned char>(0x11 * (i % 15) + 1);
        for (int k = 0; k < 5; k++)
            at(Words + 4 * std::size_t(k))[3] |= 0xC0;
        *at(Output) = 0x0E;
        *at(Pulse) = 0x20;
    }
    static void open(const std::function<void(Widget)> &drive, const char *close)
    {
        openWith(displayGebDat, drive, close);
    }
    // Opens the internal rates over the charge settings dialog.
    static void rates(Widget dialog, const std::function<void(Widget)> &drive, const char *close)
    {
        runModal([dialog] { guiPress(guiFind(dialog, "*costs")); }, drive, close, dialog);
    }
    static void checkBoxes(Widget dialog, std::uint32_t mask)
    {
        for (int g = 0; g < 3; g++)
            EXPECT_EQ(stateOf(dialog, ("*geb" + std::to_string(g)).c_str()), int(mask >> (10 * g) & 0x3FF)) << g;
    }
};

} // namespace

// What "OK" without an edit stores is the unedited-OK table's (untouched_test.cpp).
TEST_F(ChargeSettings, OpensOnNumberRecordingWithTheRecordsValues)
{
    setIntNum(1, "22");
    setIntNum(8, "31"); // door intercoms keep their labels
    open(
        [](Widget dialog) {
            EXPECT_EQ(stateOf(dialog, "*slct"), 2);
            EXPECT_FALSE(itemSensitive(dialog, "*slct", 0)) << "Zum PC";
            EXPECT_FALSE(itemSensitive(dialog, "*slct", 1)) << "Zum Drucker";
            checkBoxes(dialog, word(2));
            EXPECT_EQ(fieldText(dialog, "*base"), std::to_string(*at(UnitPrice)));
            EXPECT_EQ(fieldText(dialog, "*zlanz"), std::to_string(*at(LinesPerPage)));
            EXPECT_EQ(itemLabel(dialog, "*geb0", 1), "Ruf #22");
            EXPECT_EQ(itemLabel(dialog, "*geb0", 2), "AB 3");
            EXPECT_EQ(itemLabel(dialog, "*geb0", 8), "TFE 1");
        },
        "*okay");
}

TEST_F(ChargeSettings, OutputAndPulseBytesArePackedAsTheChoosersShowThem)
{
    struct Case {
        unsigned char b83, b85;
        int com, calls, impuls;               // shown on opening
        int pickCom, pickCalls, pickImpuls;   // -1: left alone
        unsigned char out83, out85;
    };
    const Case cases[] = {
        {0x0E, 0x20, 1, 3, 0, -1, -1, -1, 0x0E, 0x20}, // interface 2, both boxes, 16 kHz
        {0xF6, 0x3F, 1, 1, 0, -1, -1, -1, 0xF6, 0x3F}, // bits 4-7 of 83 and 0-4 of 85 stay
        {0xF6, 0x3F, 1, 1, 0, 0, 2, 2, 0xF9, 0x7F},    // also when the choosers change
        {0x01, 0x60, 0, 0, 2, -1, -1, -1, 0x01, 0x60},
        {0x0E, 0x20, 1, 3, 0, 0, 2, 2, 0x09, 0x60},
        {0x01, 0x60, 0, 0, 2, 1, 1, 1, 0x06, 0x40},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.b83) << " " << int(c.b85) << " pick " << c.pickCom);
        *at(Output) = c.b83;
        *at(Pulse) = c.b85;
        std::vector<unsigned char> before = image();
        open(
            [&c](Widget dialog) {
                EXPECT_EQ(stateOf(dialog, "*com"), c.com);
                EXPECT_EQ(stateOf(dialog, "*calls"), c.calls);
                EXPECT_EQ(stateOf(dialog, "*impuls"), c.impuls);
                if (c.pickCom >= 0) {
                    pick(dialog, "*com", c.pickCom);
                    pick(dialog, "*calls", c.pickCalls);
                    pick(dialog, "*impuls", c.pickImpuls);
                }
            },
            "*okay");
        std::vector<unsigned char> expected = counted(before);
        expected[rec::GebKonfList + Output] = c.out83;
        expected[rec::GebKonfList + Pulse] = c.out85;
        EXPECT_EQ(image(), expected);
    }
}

TEST_F(ChargeSettings, ShortNumbersOnlyWhereNumbersAreRecorded)
{
    buses(2, 0x42, 0x00); // S0 port 2 is no internal bus
    putLe32(at(Words + 8), 0xC0000000u | 1u << 1 | 1u << 13); // "AB 2" and "S0 3"
    open(
        [](Widget dialog) {
            pick(dialog, "*slct", 3);
            for (int item = 0; item < 10; item++) {
                EXPECT_EQ(itemSensitive(dialog, "*geb0", item), item == 1) << item;
                EXPECT_EQ(itemSensitive(dialog, "*geb1", item), item == 3) << item;
            }
            EXPECT_FALSE(sensitive(dialog, "*geb2"));
            for (int other : {4, 2}) {
                pick(dialog, "*slct", other);
                for (int item = 0; item < 10; item++)
                    EXPECT_TRUE(itemSensitive(dialog, "*geb0", item) && itemSensitive(dialog, "*geb1", item))
                        << other << " " << item;
            }
            // The rule follows the working copy: a box checked under
            // "Nummernerfassung" a moment ago counts.
            pick(dialog, "*geb0", 0x002 | 0x020);
            pick(dialog, "*slct", 3);
            EXPECT_TRUE(itemSensitive(dialog, "*geb0", 5));
            EXPECT_FALSE(itemSensitive(dialog, "*geb0", 6));
        },
        "*cancel");
    // Opening shows "Nummernerfassung" again, where nothing is restricted.
    open(
        [](Widget dialog) {
            for (int item = 0; item < 10; item++)
                EXPECT_TRUE(itemSensitive(dialog, "*geb0", item)) << item;
        },
        "*cancel");
}

TEST_F(ChargeSettings, EditsUnderSeveralFunctionsAreStoredAndBits30And31Kept)
{
    std::uint32_t recording = word(2), shortened = word(3), info = word(4);
    std::vector<unsigned char> before = image();
    open(
        [](Widget dialog) {
            pick(dialog, "*geb0", 0x3FF);
            pick(dialog, "*geb2", 0x001);
            pick(dialog, "*slct", 4);
            pick(dialog, "*geb1", 0x155);
            pick(dialog, "*slct", 3); // shows, changes nothing
            pick(dialog, "*slct", 2);
            checkBoxes(dialog, (0x3FFu | 0x001u << 20) | (word(2) & 0x000FFC00u));
        },
        "*okay");
    std::vector<unsigned char> expected = counted(before);
    putLe32(expected.data() + rec::GebKonfList + 8, (recording & ~0x3FF003FFu) | 0x3FF | 0x001u << 20);
    putLe32(expected.data() + rec::GebKonfList + 16, (info & ~0x000FFC00u) | 0x155u << 10);
    EXPECT_EQ(word(3), shortened);
    EXPECT_EQ(image(), expected);
    EXPECT_EQ(word(2) >> 30, 3u);
}

TEST_F(ChargeSettings, UnitPriceAndLinesAreCheckedAndStored)
{
    std::vector<unsigned char> before = image();
    open(
        [](Widget dialog) {
            typeInto(guiFind(dialog, "*base"), "256");
            EXPECT_EQ(takeWarning(), "Der Wert muß zwischen 0 und 255 liegen!");
            typeInto(guiFind(dialog, "*zlanz"), "255");
            EXPECT_EQ(takeWarning(), "");
        },
        "*okay");
    std::vector<unsigned char> expected = counted(before);
    expected[rec::GebKonfList + LinesPerPage] = 255;
    EXPECT_EQ(image(), expected) << "the refused 256 leaves byte 51";
}

TEST_F(ChargeSettings, InternalRatesStayAfterCancellingTheChargeSettings)
{
    setIntNum(0, "21");
    setIntNum(8, "31");
    setIntNum(15, "46");
    std::vector<unsigned char> before = image();
    open(
        [](Widget dialog) {
            pick(dialog, "*geb0", 0x3FF);
            rates(
                dialog,
                [](Widget lcf) {
                    EXPECT_EQ(shellTitle(lcf), "Interner Gebührenwert");
                    EXPECT_EQ(fieldText(lcf, "*lcf3"), std::to_string(*at(Rates + 3)));
                    EXPECT_EQ(fieldText(lcf, "*lcf27"), std::to_string(*at(Rates + 27)));
                    EXPECT_EQ(caption(lcf, "*lcf0"), "Ruf #21: ");
                    EXPECT_EQ(caption(lcf, "*lcf8"), "Ruf #31: ");
                    EXPECT_EQ(caption(lcf, "*lcf15"), "Ruf #46: ");
                    EXPECT_EQ(caption(lcf, "*lcf1"), "AB  #2: ");
                    EXPECT_EQ(caption(lcf, "*lcf20"), "S1 #0: ");
                    typeInto(guiFind(lcf, "*lcf0"), "255");
                    typeInto(guiFind(lcf, "*lcf15"), "0");
                    typeInto(guiFind(lcf, "*lcf29"), "300");
                    EXPECT_EQ(takeWarning(), "Der Wert muß zwischen 0 und 255 liegen!");
                },
                "*okay");
        },
        "*cancel");
    std::vector<unsigned char> expected = counted(before);
    expected[rec::GebKonfList + Rates + 0] = 255;
    expected[rec::GebKonfList + Rates + 15] = 0;
    EXPECT_EQ(image(), expected) << "the rates and one change; the masks were cancelled";
}

TEST_F(ChargeSettings, RatesOfAnAbsentPortAreNeitherShownNorStored)
{
    buses(1, 0x42, 0x42); // only ports 0 and 1
    std::vector<unsigned char> before = image();
    open(
        [](Widget dialog) {
            rates(
                dialog,
                [](Widget lcf) {
                    EXPECT_TRUE(sensitive(lcf, "*lcf19"));
                    for (int i = 20; i < 30; i++) {
                        EXPECT_FALSE(sensitive(lcf, ("*lcf" + std::to_string(i)).c_str())) << i;
                        typeInto(guiFind(lcf, ("*lcf" + std::to_string(i)).c_str()), "99");
                    }
                    typeInto(guiFind(lcf, "*lcf19"), "98");
                },
                "*okay");
        },
        "*cancel");
    std::vector<unsigned char> expected = counted(before);
    expected[rec::GebKonfList + Rates + 19] = 98;
    EXPECT_EQ(image(), expected) << "bytes 72-81 unchanged";
}

TEST_F(ChargeSettings, GebuehrenstandOpensTheCounterDialogOverThisOne)
{
    std::vector<unsigned char> before = image();
    open(
        [](Widget dialog) {
            runModal([dialog] { guiPress(guiFind(dialog, "*summs")); },
                     [](Widget counters) { EXPECT_EQ(shellTitle(counters), "Gebührenstand"); }, "*okay", dialog);
        },
        "*cancel");
    EXPECT_EQ(image(), before);
}

