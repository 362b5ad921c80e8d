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

    readConfiguration();
    if (HasFatalFailure())
        return;

    Window dialog = openDialog("appnum", "Rufnummernzuordnung");
    ASSERT_NE(dialog, None);
    ASSERT_TRUE(typeInto(dialog, "num2", "42"));
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/internal-numbers.png"));
    confirm(dialog);
    if (HasFatalFailure())
        return;

    programConfiguration();
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
