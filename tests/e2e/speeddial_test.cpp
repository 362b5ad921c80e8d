// The speed-dial directory as a user works it: read it from the PBX, edit one
// entry, save it as a .kwz file, program it -- and the PBX holds the entry.
#include "support/e2e_session.h"

#include <algorithm>
#include <cstring>

namespace {

using SpeedDial = E2eSession;

const char DialogTitle[] = "Wendholt/Hembel Kurzwahlliste";

std::string slot(const std::string &bytes, std::size_t at, std::size_t size) { return bytes.substr(at, size); }

std::string padded(const std::string &text, std::size_t size) { return text + std::string(size - text.size(), '\0'); }

TEST_F(SpeedDial, EditedEntryIsSavedAndReachesThePbx)
{
    pbxsim::State state = pbxsim::defaultState();
    startBoth(state);
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(clickWidget(mainWindow, "kurz"));
    Window dialog = waitForDialog(mainWindow, DialogTitle, Patient);
    ASSERT_NE(dialog, None) << "no speed-dial dialog; kelvora: " << kelvora.output();
    ASSERT_TRUE(waitIdle(dialog));
    ASSERT_TRUE(clickWidgetUntil(dialog, "getcfg", [&] { return logged({5, 98, 0, 0, 0}); }));
    waitForTransfer(1, dialog);
    if (HasFatalFailure())
        return;

    // The first line, entry 100, into the editor.
    Window list = widgetWindow(dialog, "ziele");
    ASSERT_NE(list, None);
    ASSERT_TRUE(clickWindow(list, 60, 8));
    ASSERT_TRUE(waitIdle(dialog));
    EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/speeddial-after-read.png"));
    ASSERT_TRUE(clickWidget(dialog, "editcfg"));
    Window editor = waitForDialog(dialog, "Eintag ändern", Patient);
    ASSERT_NE(editor, None) << "no entry editor; kelvora: " << kelvora.output();
    ASSERT_TRUE(waitIdle(editor));
    ASSERT_TRUE(typeInto(editor, "name", "Zentrale"));
    ASSERT_TRUE(typeInto(editor, "number", "4930123456"));
    EXPECT_TRUE(screenshot(editor, testOutputDir() + "/speeddial-editor.png"));
    ASSERT_TRUE(clickWidget(editor, "okay"));
    ASSERT_TRUE(waitUntilHidden(editor, Patient));

    // "Sichern unter..."
    Window fileDialog = openFileDialog(dialog, "saveas", "Kurzwahlliste sichern");
    ASSERT_NE(fileDialog, None);
    std::string path = dir.file("e2e.kwz");
    chooseFile(fileDialog, path);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(waitIdle(dialog));

    // The file is the PBX's directory with the edited entry and its name.
    std::string file = readFile(path);
    ASSERT_EQ(file.size(), 13060u) << kelvora.output();
    std::string pbxNumbers(state.kwz.begin(), state.kwz.end());
    EXPECT_EQ(slot(file, 0, 20), padded("KwDaten", 20));
    EXPECT_EQ(slot(file, 20, 25), padded("4930123456", 25));
    EXPECT_EQ(slot(file, 45, 4975), pbxNumbers.substr(25));
    EXPECT_EQ(slot(file, 5020, 39), padded("Zentrale", 39));
    EXPECT_EQ(slot(file, 5059, 7761), std::string(7761, '\0'));
    EXPECT_EQ(slot(file, 12820, 120), std::string(state.nahber.begin(), state.nahber.end()));
    EXPECT_EQ(slot(file, 12940, 120), std::string(state.sperrber.begin(), state.sperrber.end()));

    ASSERT_TRUE(clickWidgetUntil(dialog, "progcfg", [&] { return logged({5, 97, 0, 0, 0}); }));
    waitForTransfer(2, dialog);
    if (HasFatalFailure())
        return;
    // Saved, so "OK" closes without asking.
    ASSERT_TRUE(clickWidget(dialog, "quit"));
    ASSERT_TRUE(waitUntilHidden(dialog, Patient)) << "the speed-dial dialog stays up";

    pbxsim::State after = quitBoth();
    EXPECT_EQ(std::string(after.kwz.begin(), after.kwz.end()), slot(file, 20, 5000));
    pbxsim::State expected = state;
    expected.kwz = after.kwz;
    EXPECT_TRUE(after == expected) << "only the edited number changed";
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
