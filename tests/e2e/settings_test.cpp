// The settings dialogs as a user meets them: read, change the area code in
// "Globale Einstellungen" and the sensor's end in "Steuerkontakte", program --
// and the PBX holds exactly those changes.
#include "support/e2e_session.h"

#include <string>

namespace {

using Settings = E2eSession;

TEST_F(Settings, GlobalDataAndControlContactsReachThePbx)
{
    pbxsim::State state = pbxsim::defaultState();
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;

    Window glob = openDialog("global", "Globale Anlagendaten");
    ASSERT_NE(glob, None);
    ASSERT_TRUE(typeInto(glob, "okz", "7251"));
    EXPECT_TRUE(screenshot(glob, testOutputDir() + "/global-data.png"));
    confirm(glob);
    if (HasFatalFailure())
        return;

    Window steuer = openDialog("bsteuer", "Steuerkontakte");
    ASSERT_NE(steuer, None);
    ASSERT_TRUE(typeInto(steuer, "end", "2359"));
    EXPECT_TRUE(screenshot(steuer, testOutputDir() + "/control-contacts.png"));
    confirm(steuer);
    if (HasFatalFailure())
        return;

    programConfiguration();
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth();
    pbxsim::State expected = state;
    std::copy_n("7251", 5, expected.anldat.begin() + 47);
    expected.stkon[2] = 0x59;
    expected.stkon[3] = 0x23;
    EXPECT_TRUE(std::equal(expected.anldat.begin(), expected.anldat.end(), after.anldat.begin()));
    EXPECT_TRUE(std::equal(expected.stkon.begin(), expected.stkon.begin() + 119, after.stkon.begin()));
    EXPECT_TRUE(std::equal(expected.rufvert.begin(), expected.rufvert.begin() + 50, after.rufvert.begin()));
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
