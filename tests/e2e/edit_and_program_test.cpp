// Editing the configuration as a user does: read, open dialogs from the main
// window, type into fields and pick from an option menu, OK, program -- and
// the PBX holds exactly those changes and nothing else new.
#include "support/e2e_session.h"

#include <algorithm>

namespace {

constexpr std::size_t InternalNumber2 = 9 + 3 * 2; // in the internal-number list
constexpr std::size_t S0Terminal0 = 12 + 10;       // its level in the permission list

using EditAndProgram = E2eSession;

TEST_F(EditAndProgram, TheChangesAndNothingElseReachThePbx)
{
    const pbxsim::State state = pbxsim::defaultState();
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&state.rufnr[InternalNumber2]), 2), "13")
        << "the default PBX numbers its extensions from 11";
    EXPECT_EQ(state.ber[S0Terminal0], 0) << "\"Nur intern\" to begin with";
    EXPECT_EQ(state.ports[1][0] & 0xC0, 0x40) << "the second S0 port is the internal bus of S0 #0..#9";
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;

    const struct {
        const char *button, *title, *widget;
        const char *text; // typed into the field; nullptr: pick item from the option menu
        int item;
        const char *screenshot;
    } edits[] = {
        {"appnum", "Rufnummernzuordnung", "num2", "42", 0, "internal-numbers.png"},
        {"amtrecht", "Amtsberechtigungen", "tele10", nullptr, 5, "trunk-permissions.png"}, // "Unbeschränkt"
        {"global", "Globale Anlagendaten", "okz", "7251", 0, "global-data.png"},
        {"bsteuer", "Steuerkontakte", "end", "2359", 0, "control-contacts.png"},
    };
    for (const auto &e : edits) {
        Window dialog = openDialog(e.button, e.title);
        ASSERT_NE(dialog, None);
        if (e.text) {
            ASSERT_TRUE(typeInto(dialog, e.widget, e.text)) << e.widget;
        } else {
            ASSERT_TRUE(pickOptionMenuItem(dialog, e.widget, e.item)) << e.widget;
        }
        EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/" + e.screenshot));
        confirm(dialog);
        if (HasFatalFailure())
            return;
    }
    programConfiguration();
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth(), expected = state;
    std::copy_n("42", 2, expected.rufnr.begin() + InternalNumber2);
    expected.ber[S0Terminal0] = 5;
    std::copy_n("7251", 5, expected.anldat.begin() + 47);
    expected.stkon[2] = 0x59;
    expected.stkon[3] = 0x23;
    EXPECT_TRUE(after == expected) << "the PBX holds more or less than the changes";
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
