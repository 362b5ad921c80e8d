// Subscriber data as a user handles them: read the configuration, open
// "Teilnehmerdaten", read the subscribers, change one busy target, program,
// save a .tnd file -- the PBX and the file hold exactly that change.
#include "support/e2e_session.h"

#include <cstring>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;
using SubscriberData = E2eSession;

std::string busyTarget(const pbxsim::State &s, int i)
{
    const char *p = reinterpret_cast<const char *>(s.tln[std::size_t(i)].data()) + 22;
    return std::string(p, strnlen(p, 25));
}

// The .tnd file of a PBX's records: 30 entries of functions, wake-up time,
// both targets and the ring time.
Bytes tndOf(const pbxsim::State &s)
{
    Bytes file;
    for (const auto &r : s.tln) {
        file.insert(file.end(), r.begin() + 6, r.begin() + 10);
        file.insert(file.end(), r.begin() + 22, r.begin() + 47);
        file.insert(file.end(), r.begin() + 72, r.begin() + 97);
        file.push_back(r[122]);
    }
    return file;
}

TEST_F(SubscriberData, ChangedBusyTargetReachesThePbxAndTheFile)
{
    pbxsim::State state = pbxsim::defaultState();
    ASSERT_EQ(busyTarget(state, 2), "") << "the default PBX's third extension has no busy target";
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;
    Window dialog = openDialog("user", "Teilnehmer-Daten");
    ASSERT_NE(dialog, None);
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/subscribers-before-read.png"));
    transferBy("read", {5, 11, 0, 0, 0}, dialog);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/subscribers-after-read.png"));

    // The third entry, "AB  #3": the first row clicked, then two rows down.
    Window list = widgetWindow(dialog, "list");
    ASSERT_NE(list, None);
    ASSERT_TRUE(focusWindow(dialog));
    ASSERT_TRUE(clickWindow(list, 20, 8));
    ASSERT_TRUE(sendKeys(list, "Down"));
    ASSERT_TRUE(sendKeys(list, "Down"));
    ASSERT_TRUE(waitIdle(dialog));
    ASSERT_TRUE(typeInto(dialog, "nbb", "5554321"));
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/subscribers-edited.png"));

    transferBy("write", {5, 97, 0, 0, 0}, dialog);
    if (HasFatalFailure())
        return;
    Window fileDialog = openFileDialog(dialog, "save", "Dateiauswahl");
    ASSERT_NE(fileDialog, None);
    std::string tndPath = dir.file("e2e.tnd");
    chooseFile(fileDialog, tndPath);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(waitIdle(dialog));
    confirm(dialog);

    pbxsim::State after = quitBoth();
    pbxsim::State expected = state;
    std::memcpy(expected.tln[2].data() + 22, "5554321", 8);
    for (int i = 0; i < pbxsim::TlnCount; i++)
        EXPECT_TRUE(after.tln[std::size_t(i)] == expected.tln[std::size_t(i)]) << "subscriber " << i;
    std::string saved = readFile(tndPath);
    EXPECT_EQ(Bytes(saved.begin(), saved.end()), tndOf(after));
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
