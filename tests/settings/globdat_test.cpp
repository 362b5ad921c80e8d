#include <gtest/gtest.h>

#include "fixture.h"

#include "config/record.h"
#include "settings/globdat.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t Anl = rec::AnlDatList;
constexpr std::size_t Delay = rec::RufVertList + 48;
constexpr std::size_t AutoTrunk = rec::RufVertList + 49;
char *text(std::size_t off) { return recText(off); }

// A configuration as the PBX might hold it.
void globalData()
{
    freshRecord();
    takeWarning();
    std::strcpy(text(Anl + 0), "Praxis Dr. Huber");
    std::strcpy(text(Anl + 33), "1234");
    std::strcpy(text(Anl + 40), "49");
    std::strcpy(text(Anl + 47), "6356");
    std::strcpy(text(Anl + 53), "0301234567");
    all[Anl + 78] = 2;
    all[Anl + 79] = 0x05;
    all[Anl + 111] = 1;
    all[Delay] = 30;
    all[AutoTrunk] = 1;
    for (std::size_t i = 80; i <= 110; i++)
        all[Anl + i] = static_cast<unsigned char>(0x30 + i);
}

const char *const NoLeadingZero = "Bitte keine führende Null eingeben!";

} // namespace

TEST(GlobalData, ShowsTheRecordAndStoresOnlyItsFieldsOnOk)
{
    globalData();
    openWith(displayGlobDat,
        [](Widget d) {
            EXPECT_EQ(fieldText(d, "*uus"), "Praxis Dr. Huber");
            EXPECT_EQ(fieldText(d, "*okz"), "6356");
            EXPECT_EQ(fieldText(d, "*rwst"), "30");
            EXPECT_EQ(stateOf(d, "*moh"), 2);
            EXPECT_EQ(stateOf(d, "*amtamt"), 0x05);
            EXPECT_EQ(stateOf(d, "*autamt"), 1);
            EXPECT_EQ(stateOf(d, "*ava"), 1);
        },
        "*okay"); // what that stored is the unedited-OK table's (untouched_test.cpp)

    openWith(displayGlobDat,
        [](Widget d) {
            typeInto(guiFind(d, "*rwst"), "");
            typeInto(guiFind(d, "*uus"), "Kanzlei");
            pick(d, "*amtamt", 0x08); // only "Tag/Nacht"
            pick(d, "*moh", 0);
            pick(d, "*autamt", 0);
            pick(d, "*ava", 0);
        },
        "*okay");
    EXPECT_EQ(all[Delay], 0) << "a cleared delay stores 0";
    EXPECT_EQ(all[Anl + 79], 8);
    EXPECT_EQ(all[Anl + 78], 0);
    EXPECT_EQ(all[AutoTrunk], 0);
    EXPECT_EQ(all[Anl + 111], 0);
    EXPECT_STREQ(text(Anl), "Kanzlei");
    for (std::size_t i = 80; i <= 110; i++)
        EXPECT_EQ(all[Anl + i], 0x30 + i) << "region byte " << i;
    EXPECT_EQ(recInt(rec::CfgChanges), 2);

    openWith(displayGlobDat, [](Widget d) { pick(d, "*amtamt", 0x0F); }, "*okay");
    EXPECT_EQ(all[Anl + 79], 15);
}

TEST(GlobalData, CodesWithALeadingZeroAreRefused)
{
    globalData();
    openWith(displayGlobDat,
        [](Widget d) {
            expectTyped(d, {
                               {"*okz", "06356", "6356", NoLeadingZero},
                               {"*lkz", "0", "49", NoLeadingZero},
                               {"*okz", "7251", "7251", ""},
                               {"*lkz", "", "", ""},
                               {"*code", "0815", "0815", ""}, // only the two codes are checked
                           });
        },
        "*okay");
    EXPECT_EQ(std::memcmp(text(Anl + 47), "7251\0", 5), 0);
    EXPECT_EQ(text(Anl + 40)[0], 0);
}
