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

void openTypes(const std::function<void(Widget)> &drive, const char *close = "*okay")
{
    runModal([] { displayTeleTyp(dialogTop()); }, drive, close);
}

void openTrunk(const std::function<void(Widget)> &drive, const char *close = "*okay")
{
    runModal([] { displayAmtsPerm(dialogTop()); }, drive, close);
}

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
    openTypes([](Widget d) {
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

    openTypes([](Widget d) { pick(d, "*tln3", 4); }, "*cancel");
    EXPECT_EQ(image(), expected);
}

TEST(TerminalTypes, NumberedPortsAreCaptionedByTheirNumbers)
{
    permissionList();
    setIntNum(2, "23");
    setIntNum(7, "18");
    setIntNum(8, "31"); // a door intercom: no menu of its own
    openTypes([](Widget d) {
        EXPECT_EQ(caption(d, "*tln2"), "Ruf #23: ");
        EXPECT_EQ(caption(d, "*tln7"), "Ruf #18: ");
        EXPECT_EQ(caption(d, "*tln4"), "  AB #5:");
    }, "*cancel");
    setIntNum(2, "");
    openTypes([](Widget d) { EXPECT_EQ(caption(d, "*tln2"), "Ruf #23: ") << "kept for the rest of the run"; },
              "*cancel");
}

// ---------------------------------------------------------------- "Amtsberechtigungen"

TEST(TrunkPermissions, UnrestrictedForS1Terminal0Stores5At1404)
{
    permissionList();
    buses(2, 0x42, 0x42);
    std::vector<unsigned char> before = image();
    openTrunk([](Widget d) {
        EXPECT_EQ(stateOf(d, "*tele20"), 21 % 6);
        pick(d, "*tele20", 5);
        pick(d, "*tele0", 0);
    });
    std::vector<unsigned char> expected = counted(before);
    expected[1404] = 5;
    expected[1384] = 0;
    EXPECT_EQ(image(), expected);

    openTrunk([](Widget d) { pick(d, "*tele29", 0); }, "*cancel");
    EXPECT_EQ(image(), expected);
}

// Menus of absent terminals (and the door intercoms without port 1's bus) are
// insensitive, yet show and store their bytes.
TEST(TrunkPermissions, MenusFollowTheInternalBusesAndKeepTheirBytes)
{
    struct {
        int type;
        unsigned char mode1, mode2;
        bool port1, port2;
    } cases[] = {
        {2, 0x42, 0x42, true, true},
        {2, 0x42, 0x82, true, false},
        {1, 0x42, 0x42, true, false},
        {2, 0xC2, 0x42, false, true},
        {0, 0x42, 0x42, false, false},
    };
    permissionList();
    for (const auto &c : cases) {
        buses(c.type, c.mode1, c.mode2);
        std::vector<unsigned char> before = image();
        openTrunk([&c](Widget d) {
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

TEST(TrunkPermissions, CaptionsOfPresentSubscribersButNotTheDoorIntercoms)
{
    permissionList();
    buses(2, 0x42, 0x82);
    setIntNum(1, "12");
    setIntNum(9, "32");
    setIntNum(15, "25");
    setIntNum(25, "45");
    openTrunk([](Widget d) {
        EXPECT_EQ(caption(d, "*tele1"), "Ruf #12: ");
        EXPECT_EQ(caption(d, "*tele9"), "TFE #2: ");
        EXPECT_EQ(caption(d, "*tele15"), "Ruf #25: ");
        EXPECT_EQ(caption(d, "*tele25"), "S1 #5: ") << "port 2 is no internal bus";
        EXPECT_EQ(caption(d, "*tele0"), "AB  #1: ");
        EXPECT_EQ(caption(d, "*tele10"), "S0 #0: ");
    }, "*cancel");
}

TEST(TrunkPermissions, HelpExplainsEveryLevel)
{
    permissionList();
    openTrunk(
        [](Widget d) {
            EXPECT_EQ(itemLabel(d, "*tele3", 5), "Unbeschränkt");
            guiPress(guiFind(d, "*help"));
            Widget box = XmtLastMessageBox("msg1");
            ASSERT_NE(box, nullptr);
            std::string help = guiText(box, XmNmessageString);
            EXPECT_EQ(help.rfind("Hier koennen Sie jeder Nebenstelle eine der folgenden Berechtigungen zuweisen:\n", 0),
                      0u)
                << help;
            for (const char *line : {"\nNur intern:   Nur interne Gespräche einleiten und annehmen\n",
                                     "\nKommend:      Interne Gespräche einleiten und eingehende Gespräche annehmen\n",
                                     "\nOrt:          Orts-/Interngespräche einleiten und eingehende Gespräche annehmen\n",
                                     "\nNahbereich:   ", "\nInland:       ",
                                     "\nUnbeschränkt: Jede Art Gespräch einleiten und annehmen\n", "\"Nur Intern\""})
                EXPECT_NE(help.find(line), std::string::npos) << line;
            EXPECT_EQ(shellTitle(XtParent(box)), "Hilfe");
            takeWarning();
        },
        "*cancel");
}
