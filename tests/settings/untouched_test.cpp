// "OK" without an edit changes no byte, whatever the record holds: values beyond
// a menu's items and numbers longer than their field go back as they came.  And
// "Abbrechen" after edits changes none either.
#include <gtest/gtest.h>

#include "fixture.h"

#include "basic/msns.h"
#include "config/record.h"
#include "settings/amtsperm.h"
#include "settings/calldist.h"
#include "settings/gebdat.h"
#include "settings/globdat.h"
#include "settings/steuer.h"
#include "settings/teltyp.h"
#include "settings/tlnperm.h"
#include "speeddial/nahsperr.h"
#include "speeddial/rufzuord.h"
#include "support/gui.h"

#include <Xm/ToggleB.h>
#include <cstring>
#include <random>

namespace {

// Picks every function of a mask dialog in turn and checks items under each.
void switchingFunctions(Widget d, const char *functions, const char *groups, int count)
{
    for (int k = 0; k < count; k++) {
        pick(d, functions, k);
        pick(d, (groups + std::to_string(k % 3)).c_str(), 0x2AA);
    }
}

struct Opened {
    const char *name;
    std::function<void()> open;
    std::size_t counter = rec::CfgChanges;
    std::function<void(Widget)> edit = nullptr; // edits that "Abbrechen" then drops
};

const Opened dialogs[] = {
    {"global data", [] { displayGlobDat(dialogTop()); }, rec::CfgChanges,
     [](Widget d) {
         typeInto(guiFind(d, "*okz"), "1111");
         typeInto(guiFind(d, "*rwst"), "99");
         pick(d, "*amtamt", 0x0F);
     }},
    {"control contacts", [] { displaySteuer(dialogTop()); }, rec::CfgChanges,
     [](Widget d) {
         typeInto(guiFind(d, "*start"), "1275");
         typeInto(guiFind(d, "*ask2"), "0");
         pick(d, "*akt1", 2);
     }},
    {"terminal types", [] { displayTeleTyp(dialogTop()); }, rec::CfgChanges, [](Widget d) { pick(d, "*tln3", 4); }},
    {"trunk permissions", [] { displayAmtsPerm(dialogTop()); }, rec::CfgChanges,
     [](Widget d) { pick(d, "*tele29", 0); }},
    {"call distribution", [] { displayCallDist(dialogTop()); }, rec::CfgChanges,
     [](Widget d) { switchingFunctions(d, "*todo", "*grp", 7); }},
    {"extension permissions", [] { displayTlnPerm(dialogTop()); }, rec::CfgChanges,
     [](Widget d) { switchingFunctions(d, "*funk", "*set", 3); }},
    {"charge settings", [] { displayGebDat(dialogTop()); }, rec::CfgChanges,
     [](Widget d) {
         pick(d, "*geb0", 0x0F0);
         pick(d, "*slct", 4);
         pick(d, "*com", 0);
         typeInto(guiFind(d, "*base"), "7");
     }},
    {"internal rates", [] { doDisplayLCF(dialogTop()); }, rec::CfgChanges,
     [](Widget d) { typeInto(guiFind(d, "*lcf0"), "1"); }},
    {"internal numbers", [] { doDisplayRNZ(dialogTop()); }},
    {"local-area prefixes", [] { doDisplayNahBer(dialogTop()); }, rec::KwzChanges},
    {"blocked prefixes", [] { doDisplaySperrBer(dialogTop()); }, rec::KwzChanges},
    {"MSNs", [] { doMsns(dialogTop(), nullptr, nullptr); }},
};

// Every byte up to the bookkeeping at random, then the values the reports
// named: beyond the menus (trunk level 9, terminal type 5, music on hold 7)
// and longer than the fields (forwarding delay 120, contact times 1234, a
// country code of six digits).
void scramble(unsigned seed)
{
    std::mt19937 random(seed);
    for (std::size_t k = 0; k < rec::DevicePathSlot; ++k)
        all[k] = static_cast<unsigned char>(random());
    recAt(berShare())[12] = 9;
    recAt(berShare())[43] = 5;
    recAt(rec::AnlDatList)[78] = 7;
    recAt(rec::RwsTime)[0] = 120;
    putLe16(recAt(rec::StKonList + 4), 1234);
    putLe16(recAt(rec::StKonList + 6), 1234);
    std::memcpy(recText(rec::AnlDatList + 40), "123456", 7);
}

std::string differences(const std::vector<unsigned char> &want, const std::vector<unsigned char> &got)
{
    std::string text;
    int shown = 0;
    for (std::size_t k = 0; k < want.size() && shown < 8; ++k)
        if (want[k] != got[k]) {
            text += " byte " + std::to_string(k) + ": " + std::to_string(want[k]) + " -> " + std::to_string(got[k]);
            ++shown;
        }
    return text;
}

} // namespace

// In a process of its own: the scrambled internal numbers become labels and
// captions, which stay (as they should) and would meet the next test.
TEST(UntouchedOk, EveryRecordDialogStoresBackWhatItWasGivenAndNothingOnAbbrechen)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto everyDialog = [] {
        std::string found;
        for (unsigned seed : {1u, 2u, 3u}) {
            for (const Opened &d : dialogs) {
                freshRecord();
                scramble(seed);
                std::vector<unsigned char> want = image();
                putLe32(want.data() + d.counter, getLe32(want.data() + d.counter) + 1);
                runModal(d.open, [](Widget) { takeWarning(); }, "*okay");
                if (std::string diff = differences(want, image()); !diff.empty())
                    found += std::string(d.name) + ", seed " + std::to_string(seed) + ":" + diff + "\n";
                if (!d.edit)
                    continue;
                want = image();
                runModal(d.open,
                         [&d](Widget w) {
                             takeWarning();
                             d.edit(w);
                             takeWarning();
                         },
                         "*cancel");
                if (std::string diff = differences(want, image()); !diff.empty())
                    found += std::string(d.name) + " cancelled, seed " + std::to_string(seed) + ":" + diff + "\n";
            }
        }
        std::fputs(found.c_str(), stderr);
        std::exit(found.empty() && !::testing::Test::HasFailure() ? 0 : 1);
    };
    EXPECT_EXIT(everyDialog(), ::testing::ExitedWithCode(0), "");
}

// The check box of the trunk options shows bits 0-3; bits 4-7 belong to the
// PBX and stay, also when the user switches an option.
TEST(UntouchedOk, TrunkOptionsKeepTheirUpperBits)
{
    freshRecord();
    unsigned char *amtamt = recAt(rec::AnlDatList + 79);
    *amtamt = 0xA5;
    runModal([] { displayGlobDat(dialogTop()); },
             [](Widget d) { XmToggleButtonSetState(XmtChooserGetItem(guiFind(d, "*amtamt"), 0), False, True); },
             "*okay");
    EXPECT_EQ(*amtamt, 0xA4);
}

// A value the menu or field cannot show is replaced once the user picks or types.
TEST(UntouchedOk, AnEditReplacesTheValueNoWidgetCouldShow)
{
    freshRecord();
    recAt(berShare())[12] = 9;
    recAt(rec::RwsTime)[0] = 120;
    runModal([] { displayAmtsPerm(dialogTop()); }, [](Widget d) { pick(d, "*tele0", 2); }, "*okay");
    runModal([] { displayGlobDat(dialogTop()); }, [](Widget d) { typeInto(guiFind(d, "*rwst"), "45"); }, "*okay");
    EXPECT_EQ(recAt(berShare())[12], 2);
    EXPECT_EQ(recAt(rec::RwsTime)[0], 45);
}
