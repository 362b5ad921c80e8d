// The speed-dial directory as a user works it, with the Xft font and with the
// core font, in C.UTF-8 and de_DE.UTF-8: read it from the PBX, type a name
// with umlauts into the entry editor with X key events (the field shows them,
// a character ISO 8859-1 lacks is refused), save it as a .kwz file (ISO
// 8859-1), program it -- and the PBX holds the entry.
#include "support/e2e_session.h"
#include "support/sim_line.h"

#include <X11/keysym.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

struct Look {
    const char *name, *locale, *coreFont; // coreFont nullptr: the default Xft font
};

void PrintTo(const Look &look, std::ostream *os) { *os << look.name; }

class Umlauts : public E2eSession, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override
    {
        E2eSession::SetUp();
        if (IsSkipped())
            return;
        if (!std::setlocale(LC_CTYPE, GetParam().locale))
            GTEST_SKIP() << "the locale " << GetParam().locale << " is not generated (scripts/deps.sh does that)";
        std::setlocale(LC_CTYPE, "C");
        // kelvora and xdotool both take it from here.
        for (const char *var : {"LC_ALL", "LANG"}) {
            if (const char *was = std::getenv(var))
                saved.emplace_back(var, was);
            setenv(var, GetParam().locale, 1);
        }
        if (GetParam().coreFont)
            kelvoraArgs = {"-xrm", std::string("Kelvora.coreFont: ") + GetParam().coreFont};
    }
    void TearDown() override
    {
        unsetenv("LC_ALL");
        unsetenv("LANG");
        for (auto &[var, value] : saved)
            setenv(var.c_str(), value.c_str(), 1);
        E2eSession::TearDown();
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

// xdotool types a character the keymap lacks by binding it to a spare key for
// one press and unbinding it at once, and a client that reads the keymap
// after the unbinding loses the character. Bound here for good, before kelvora
// starts, xdotool finds them in the keymap.
void bindKeysyms(std::initializer_list<KeySym> keysyms)
{
    Display *d = e2eDisplay();
    int low = 0, high = 0, perCode = 0;
    XDisplayKeycodes(d, &low, &high);
    KeySym *map = XGetKeyboardMapping(d, KeyCode(low), high - low + 1, &perCode);
    int code = high;
    for (KeySym sym : keysyms) {
        if (XKeysymToKeycode(d, sym) != 0)
            continue;
        while (code >= low && map[(code - low) * perCode] != NoSymbol)
            code--;
        if (code < low)
            break;
        KeySym both[2] = {sym, sym};
        XChangeKeyboardMapping(d, code, 2, both, 1);
        map[(code - low) * perCode] = sym;
    }
    XFree(map);
    XSync(d, False);
}

std::string hex(const std::string &bytes) { return hexString(Bytes(bytes.begin(), bytes.end())); }

// Clicks the field, selects all and types keys (UTF-8, as xdotool reads them
// in a UTF-8 locale) over it when given; true once the field holds `latin1`
// (its selection, as STRING, is ISO 8859-1).
bool holds(Window shell, const char *field, const std::string &latin1, const char *keys = nullptr)
{
    if (!focusWindow(shell) || !clickWindow(widgetWindow(shell, field)) ||
        (keys && (!sendKeys(shell, "ctrl+slash") || !sendText(shell, keys))))
        return false;
    return waitUntil([&] { return sendKeys(shell, "ctrl+slash") && primarySelection(1000) == latin1; }, 10000);
}

std::string padded(const std::string &text, std::size_t size) { return text + std::string(size - text.size(), '\0'); }

TEST_P(Umlauts, TypedNameIsShownSavedAsLatin1AndReachesThePbx)
{
    bindKeysyms({XK_udiaeresis, XK_EuroSign});
    const pbxsim::State state = pbxsim::defaultState();
    startBoth(state);
    if (HasFatalFailure())
        return;
    Window dialog = openDialog("kurz", "Wendholt/Hembel Kurzwahlliste");
    ASSERT_NE(dialog, None);
    transferBy("getcfg", {5, 98, 0, 0, 0}, dialog);
    if (HasFatalFailure())
        return;
    // The first line, entry 100, into the editor.
    ASSERT_TRUE(clickWindow(widgetWindow(dialog, "ziele"), 60, 8));
    ASSERT_TRUE(waitIdle(dialog));
    Window editor = openDialog(dialog, "editcfg", "Eintag \xe4ndern");
    ASSERT_NE(editor, None);
    // "Mü€ller": the euro sign is refused, the rest goes in.
    const std::string name = "M\xfcller";
    EXPECT_TRUE(holds(editor, "name", name, "M\xc3\xbc\xe2\x82\xacller"))
        << "the field holds \"" << hex(primarySelection()) << "\"";
    ASSERT_TRUE(typeInto(editor, "number", "4930123456"));
    EXPECT_TRUE(screenshot(editor, testOutputDir() + "/umlauts-typed-" + GetParam().name + ".png"));
    confirm(editor);

    // The entry's name, opened again, reads as it was typed.
    editor = openDialog(dialog, "editcfg", "Eintag \xe4ndern");
    ASSERT_NE(editor, None);
    EXPECT_TRUE(holds(editor, "name", name)) << "shown again as \"" << hex(primarySelection()) << "\"";
    ASSERT_TRUE(clickWidget(editor, "cancel"));
    ASSERT_TRUE(waitUntilHidden(editor, Patient));

    // "Sichern unter...": the PBX's directory with the edited entry and its name.
    Window fileDialog = openFileDialog(dialog, "saveas", "Kurzwahlliste sichern");
    ASSERT_NE(fileDialog, None);
    std::string path = dir.file("names.kwz");
    chooseFile(fileDialog, path);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(waitIdle(dialog));
    std::string file = readFile(path), pbxNumbers(state.kwz.begin(), state.kwz.end());
    ASSERT_EQ(file.size(), 13060u) << kelvora.output();
    EXPECT_EQ(file.substr(0, 20), padded("KwDaten", 20));
    EXPECT_EQ(file.substr(20, 25), padded("4930123456", 25));
    EXPECT_EQ(file.substr(45, 4975), pbxNumbers.substr(25));
    EXPECT_EQ(file.substr(5020, 39), padded(name, 39)) << hex(file.substr(5020, 39));
    EXPECT_EQ(file.substr(5059, 7761), std::string(7761, '\0'));
    EXPECT_EQ(file.substr(12820, 120), std::string(state.nahber.begin(), state.nahber.end()));
    EXPECT_EQ(file.substr(12940, 120), std::string(state.sperrber.begin(), state.sperrber.end()));
    std::printf("%s: the name slot of entry 100 holds %s\n", GetParam().name, hex(file.substr(5020, 8)).c_str());

    transferBy("progcfg", {5, 97, 0, 0, 0}, dialog);
    if (HasFatalFailure())
        return;
    // Saved, so "OK" closes without asking.
    ASSERT_TRUE(clickWidget(dialog, "quit"));
    ASSERT_TRUE(waitUntilHidden(dialog, Patient)) << "the speed-dial dialog stays up";
    pbxsim::State after = quitBoth(), expected = state;
    EXPECT_EQ(std::string(after.kwz.begin(), after.kwz.end()), file.substr(20, 5000));
    expected.kwz = after.kwz;
    EXPECT_TRUE(after == expected) << "only the edited number changed";
    EXPECT_EQ(kelvora.output(), "");
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndLocales, Umlauts,
    ::testing::Values(Look{"xft_C_UTF_8", "C.UTF-8", nullptr}, Look{"xft_de_DE_UTF_8", "de_DE.UTF-8", nullptr},
                      Look{"core_C_UTF_8", "C.UTF-8", "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1"},
                      Look{"core_de_DE_UTF_8", "de_DE.UTF-8", "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1"}),
    [](const ::testing::TestParamInfo<Look> &testInfo) { return std::string(testInfo.param.name); });

} // namespace
