// A trunk permission as a user changes it: read, open "Amtsberechtigungen",
// pick another level from one option menu, OK, program -- and the PBX holds
// that level and nothing else new.
#include "support/e2e_session.h"

#include <string>

namespace {

using TrunkPermissions = E2eSession;

TEST_F(TrunkPermissions, OneChangedLevelReachesThePbx)
{
    pbxsim::State state = pbxsim::defaultState();
    constexpr std::size_t S0Terminal0 = 12 + 10; // its level in the permission list
    ASSERT_EQ(state.ber[S0Terminal0], 0) << "\"Nur intern\" to begin with";
    ASSERT_EQ(state.ports[1][0] & 0xC0, 0x40) << "the second S0 port is the internal bus of S0 #0..#9";
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;

    Window dialog = openDialog("amtrecht", "Amtsberechtigungen");
    ASSERT_NE(dialog, None);
    ASSERT_TRUE(pickOptionMenuItem(dialog, "tele10", 5)) << "\"Unbeschränkt\" for S0 #0";
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/trunk-permissions.png"));
    confirm(dialog);
    if (HasFatalFailure())
        return;

    programConfiguration();
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth();
    pbxsim::State expected = state;
    expected.ber[S0Terminal0] = 5;
    EXPECT_EQ(after.ber, expected.ber);
    EXPECT_TRUE(after == expected) << "another list changed";
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
