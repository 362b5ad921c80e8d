// Terminal types and trunk permissions: one option menu per subscriber, one
// byte each in the permission block.
#include <gtest/gtest.h>

#include "fixture.h"

#include "settings/amtsperm.h"
#include "settings/teltyp.h"

#include <cstring>

namespace {

unsigned char *ber(std::size_t offset) { return recAt(berShare() + offset); }
std::string numbered(const char *prefix, int k) { return prefix + std::to_string(k); }

// The whole permission list of both PBXs with bytes that no menu shows by itself.
void permissionList()
{
    freshRecord();
    for (std::size_t i = 0; i < rec::BerListSize; i++)
        all[rec::BerList + i] = static_cast<unsigned char>(0xA0 + i % 7);
    for (std::size_t k = 0; k < 8; k++)
        *ber(42 + k) = static_cast<unsigned char>(k % 5);
    for (std::size_t k = 0; k < 30; k++)
        *ber(12 + k) = static_cast<unsigned char>((k + 1) % 6);
}

} // namespace

// ---------------------------------------------------------------- "Gerätetypen"

TEST(TerminalTypes, ShowsTheBytesAndStoresExactlyTheEight)
{
    permissionList();
    std::vector<unsigned char> before = image();
    openWith(displayTeleTyp, [](Widget d) {
        for (int k = 0; k < 8; k++) {
            EXPECT_EQ(stateOf(d, numbered("*tln", k).c_str()), k % 5) << k;
            EXPECT_EQ(XmtChooserGetNumItems(guiFind(d, numbered("*tln", k).c_str())), k == 0 ? 6 : 5) << k;
        }
        EXPECT_EQ(itemLabel(d, "*tln0", 5), "Türstation");
        EXPECT_EQ(itemLabel(d, "*tln7", 4), "Kombi (Fax/Tel.)");
        pick(d, "*tln0", 5);
        pick(d, "*tln7", 1);
    });
    std::vector<unsigned char> expected = counted(before);
    expected[1414] = 5;
    expected[1421] = 1;
    EXPECT_EQ(image(), expected) << "1414 and 1421 only; 1422, PBX B's first byte, stays";
}

// ---------------------------------------------------------------- "Amtsberechtigungen"

TEST(TrunkPermissions, UnrestrictedForS1Terminal0Stores5At1404)
{
    permissionList();
    buses(2, 0x42, 0x42);
    std::vector<unsigned char> before = image();
    openWith(displayAmtsPerm, [](Widget d) {
        EXPECT_EQ(stateOf(d, "*tele20"), 21 % 6);
        pick(d, "*tele20", 5);
        pick(d, "*tele0", 0);
    });
    std::vector<unsigned char> expected = counted(before);
    expected[1404] = 5;
    expected[1384] = 0;
    EXPECT_EQ(image(), expected);
}

// Menus of absent terminals (and the door intercoms without port 1's bus) are
// insensitive, yet show and store their bytes.
TEST(TrunkPermissions, MenusFollowTheInternalBusesAndKeepTheirBytes)
{
    permissionList();
    for (const BusCase &c : busCases) {
        buses(c.type, c.mode1, c.mode2);
        std::vector<unsigned char> before = image();
        openWith(displayAmtsPerm, [&c](Widget d) {
            for (int k = 0; k < 30; k++) {
                std::string menu = numbered("*tele", k);
                bool usable = k < 8 || (k < 20 ? c.port1 : c.port2);
                EXPECT_EQ(sensitive(d, menu.c_str()), usable) << menu << " type " << c.type;
                EXPECT_EQ(stateOf(d, menu.c_str()), (k + 1) % 6) << menu;
            }
        });
        EXPECT_EQ(image(), counted(before)) << "type " << c.type << " modes " << int(c.mode1) << " " << int(c.mode2);
    }
}

// "Ruf #nn: " for numbered subscribers, terminals only while their port is an
// internal bus; the door intercoms keep their captions, and a caption stays
// when its number goes.
TEST(SubscriberMenus, CaptionsOfNumberedSubscribers)
{
    struct {
        void (*display)(Widget);
        const char *menu, *doorIntercom, *otherBus; // "": no such menu
    } dialogs[] = {
        {displayTeleTyp, "*tln", "", ""},
        {displayAmtsPerm, "*tele", "TFE #2: ", "S1 #5: "},
    };
    for (const auto &dlg : dialogs) {
        permissionList();
        auto menu = [&dlg](int k) { return numbered(dlg.menu, k); };
        // Captions this opening gives, so that what stays is known whatever
        // other tests opened before.
        buses(2, 0x42, 0x42);
        setIntNum(4, "44");
        setIntNum(25, "46");
        openWith(dlg.display, [](Widget) {}, "*cancel");
        const std::string unnumbered = "Ruf #44: ", otherBus = "Ruf #46: ";
        setIntNum(4, "");
        buses(2, 0x42, 0x82);
        for (auto [k, number] : {std::pair{1, "12"}, {7, "18"}, {9, "32"}, {15, "25"}, {25, "45"}})
            setIntNum(k, number);
        openWith(dlg.display,
                 [&](Widget d) {
                     EXPECT_EQ(caption(d, menu(1).c_str()), "Ruf #12: ");
                     EXPECT_EQ(caption(d, menu(7).c_str()), "Ruf #18: ");
                     EXPECT_EQ(caption(d, menu(4).c_str()), unnumbered);
                     if (*dlg.doorIntercom) {
                         EXPECT_EQ(caption(d, menu(9).c_str()), dlg.doorIntercom);
                         EXPECT_EQ(caption(d, menu(15).c_str()), "Ruf #25: ");
                         EXPECT_EQ(caption(d, menu(25).c_str()), otherBus);
                     }
                 },
                 "*cancel");
        setIntNum(1, "");
        buses(2, 0x42, 0x42);
        openWith(dlg.display,
                 [&](Widget d) {
                     EXPECT_EQ(caption(d, menu(1).c_str()), "Ruf #12: ") << "kept";
                     if (*dlg.otherBus) {
                         EXPECT_EQ(caption(d, menu(25).c_str()), "Ruf #45: ") << "port 2 now an internal bus";
                     }
                 },
                 "*cancel");
    }
}
