// Umlauts typed into the speed-dial editor with X key events, with the Xft
// font and with the core font, in C.UTF-8 and de_DE.UTF-8: the field shows
// them, a character ISO 8859-1 lacks is refused, the file holds ISO 8859-1.
#include "support/e2e_session.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

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

std::string hex(const std::string &bytes)
{
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%s%02x", out.empty() ? "" : " ", c);
        out += b;
    }
    return out;
}

// Clicks the field, selects all and types keys (UTF-8, as xdotool reads them
// in a UTF-8 locale) over it; true once the field holds `latin1` (its
// selection, as STRING, is ISO 8859-1).
bool typeOver(Window shell, const char *field, const std::string &keys, const std::string &latin1)
{
    Window w = widgetWindow(shell, field);
    if (!focusWindow(shell) || !clickWindow(w) || !sendKeys(shell, "ctrl+slash") || !sendText(shell, keys))
        return false;
    return waitUntil([&] { return sendKeys(shell, "ctrl+slash") && primarySelection(1000) == latin1; }, 10000);
}

TEST_P(Umlauts, TypedNameIsShownAndStoredAsLatin1)
{
    bindKeysyms({XK_udiaeresis, XK_EuroSign});
    startBoth(pbxsim::defaultState());
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(clickWidget(mainWindow, "kurz"));
    Window dialog = waitForDialog(mainWindow, "Wendholt/Hembel Kurzwahlliste", Patient);
    ASSERT_NE(dialog, None) << kelvora.output();
    ASSERT_TRUE(waitIdle(dialog));
    ASSERT_TRUE(clickWidgetUntil(dialog, "getcfg", [&] { return logged({5, 98, 0, 0, 0}); }));
    waitForTransfer(1, dialog);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(clickWindow(widgetWindow(dialog, "ziele"), 60, 8));
    ASSERT_TRUE(waitIdle(dialog));
    ASSERT_TRUE(clickWidget(dialog, "editcfg"));
    Window editor = waitForDialog(dialog, "Eintag \xe4ndern", Patient);
    ASSERT_NE(editor, None) << kelvora.output();
    ASSERT_TRUE(waitIdle(editor));
    // "Mü€ller": the euro sign is refused, the rest goes in.
    const std::string typed = "M\xc3\xbc\xe2\x82\xacller", name = "M\xfcller";
    EXPECT_TRUE(typeOver(editor, "name", typed, name)) << "the field holds \"" << hex(primarySelection()) << "\"";
    ASSERT_TRUE(typeInto(editor, "number", "0301234"));
    EXPECT_TRUE(screenshot(editor, testOutputDir() + "/umlauts-typed-" + GetParam().name + ".png"));
    ASSERT_TRUE(clickWidget(editor, "okay"));
    ASSERT_TRUE(waitUntilHidden(editor, Patient));

    // The entry's name, opened again, reads as it was typed.
    ASSERT_TRUE(clickWidget(dialog, "editcfg"));
    editor = waitForDialog(dialog, "Eintag \xe4ndern", Patient);
    ASSERT_NE(editor, None);
    ASSERT_TRUE(waitIdle(editor));
    ASSERT_TRUE(focusWindow(editor) && clickWindow(widgetWindow(editor, "name")));
    EXPECT_TRUE(waitUntil([&] { return sendKeys(editor, "ctrl+slash") && primarySelection(1000) == name; }, 10000))
        << "shown again as \"" << hex(primarySelection()) << "\"";
    ASSERT_TRUE(clickWidget(editor, "cancel"));
    ASSERT_TRUE(waitUntilHidden(editor, Patient));

    Window fileDialog = openFileDialog(dialog, "saveas", "Kurzwahlliste sichern");
    ASSERT_NE(fileDialog, None);
    std::string path = dir.file("names.kwz");
    chooseFile(fileDialog, path);
    if (HasFatalFailure())
        return;
    std::string file = readFile(path);
    ASSERT_EQ(file.size(), 13060u) << kelvora.output();
    std::string stored = file.substr(5020, 39);
    EXPECT_EQ(stored, name + std::string(39 - name.size(), '\0')) << hex(stored);
    std::printf("%s: the name slot of entry 100 holds %s\n", GetParam().name, hex(stored.substr(0, 8)).c_str());
    EXPECT_EQ(kelvora.output(), "");
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndLocales, Umlauts,
    ::testing::Values(Look{"xft-C.UTF-8", "C.UTF-8", nullptr}, Look{"xft-de_DE.UTF-8", "de_DE.UTF-8", nullptr},
                      Look{"core-C.UTF-8", "C.UTF-8", "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1"},
                      Look{"core-de_DE.UTF-8", "de_DE.UTF-8", "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1"}),
    [](const ::testing::TestParamInfo<Look> &testInfo) {
        std::string n = testInfo.param.name;
        for (char &c : n)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return n;
    });

} // namespace
