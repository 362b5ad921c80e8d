// Editing an internal number as a user does: read, open "Interne Rufnummern",
// type a number, OK, program -- and the PBX holds it.
#include "support/e2e_session.h"

#include <string>

namespace {

using InternalNumbers = E2eSession;

std::string slot(const pbxsim::State &s, int subscriber)
{
    const char *p = reinterpret_cast<const char *>(s.rufnr.data()) + 9 + 3 * subscriber;
    return std::string(p, strnlen(p, 3));
}

TEST_F(InternalNumbers, ChangedNumberReachesThePbx)
{
    pbxsim::State state = pbxsim::defaultState();
    ASSERT_EQ(slot(state, 2), "13") << "the default PBX numbers its extensions from 11";
    startBoth(state);
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(clickWidgetUntil(mainWindow, "lesen", [&] { return logged({5, 98, 0, 0, 0}); }));
    waitForTransfer(1);
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(clickWidget(mainWindow, "appnum"));
    Window dialog = waitForDialog(mainWindow, "Rufnummernzuordnung", Patient);
    ASSERT_NE(dialog, None) << "no internal-numbers dialog; kelvora: " << kelvora.output();
    ASSERT_TRUE(waitIdle(dialog));
    ASSERT_TRUE(typeInto(dialog, "num2", "42"));
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/internal-numbers.png"));
    ASSERT_TRUE(clickWidget(dialog, "okay"));
    ASSERT_TRUE(waitUntilHidden(dialog, Patient)) << "the dialog stays up";

    ASSERT_TRUE(clickWidgetUntil(mainWindow, "schreiben", [&] { return logged({5, 97, 0, 0, 0}); }));
    waitForTransfer(2);
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth();
    EXPECT_EQ(slot(after, 2), "42");
    // Nothing else of the list changed: the other numbers went back as they came.
    pbxsim::State expected = state;
    expected.rufnr[9 + 3 * 2] = '4';
    expected.rufnr[9 + 3 * 2 + 1] = '2';
    EXPECT_TRUE(std::equal(expected.rufnr.begin(), expected.rufnr.begin() + 100, after.rufnr.begin()));
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
