#include <gtest/gtest.h>

#include "../basic/env.h"
#include "support/program.h"
#include "config/record.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <X11/Shell.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <cstring>

namespace {

int chooserCalls = 0;
void countChooser(Widget, XtPointer, XtPointer) { chooserCalls++; }

const char *const lines[] = {
    "*acctest.children: Form box",
    "*acctest.box.children: Chooser app1; Chooser chk; InputField num; InputField num3; InputField free; "
    "Label cap5; Label cap6; Button b0; Button b1",
    "*acctest*app1.chooserType: radio",
    "*acctest*app1.strings: a0, a1, a2, a3, a4, a5, a6, a7, a8, a9",
    "*acctest*app1.valueChangedCallback: countChooser()",
    "*acctest*chk.chooserType: check",
    "*acctest*chk.strings: x, y, z",
    "*acctest*chk.valueChangedCallback: countChooser()",
    "*acctest*num.pattern: ddd",
    "*acctest*num3.pattern: ddd",
    "*acctest*cap5.caption: Fuenf:",
    "*acctest*cap6.caption: Sechs:",
};

// A small window of the widget kinds the access operations work on, built
// from resource lines like every dialog.
Widget testWindow()
{
    static Widget shell = nullptr;
    if (shell)
        return shell;
    Widget top = programTop();
    XmtRegisterCallbackProcedure("countChooser", countChooser);
    for (const char *line : lines)
        guiMergeResources(line);
    // Out of the corner where other tests on this display look at their windows.
    shell = XtVaCreatePopupShell("acctest", topLevelShellWidgetClass, top, XtNx, 500, XtNy, 400, nullptr);
    XmtCreateChildren(shell);
    XtPopup(shell, XtGrabNone);
    guiPump(50);
    return shell;
}

class Access : public ::testing::Test {
protected:
    Widget w = testWindow();
    void SetUp() override { chooserCalls = 0; }
    Widget named(const char *path) { return guiFind(w, path); }
    std::string label(const char *path) { return ::label(w, path); }
};

} // namespace

TEST_F(Access, ItemLabelsOnlyForSubscribersWithNumbers)
{
    set_labelname(w, "*app1.item1", "a1");
    putIntNum(10, "31");
    putIntNum(12, "33");
    putIntNum(19, "40");
    putIntNum(2, "99"); // group 0: must not leak into group 1
    setItemLabels(w, "*app", "Ruf #", 1, 0, 9);
    EXPECT_EQ(label("*app1.item0"), "Ruf #31");
    EXPECT_EQ(label("*app1.item1"), "a1");
    EXPECT_EQ(label("*app1.item2"), "Ruf #33");
    EXPECT_EQ(label("*app1.item9"), "Ruf #40");

    // A range limits what is touched.
    putIntNum(13, "34");
    setItemLabels(w, "*app", "#", 1, 4, 9);
    EXPECT_EQ(label("*app1.item3"), "a3");
}

TEST_F(Access, ItemCaptionsOnlyForSubscribersWithNumbers)
{
    Widget cap5 = named("*cap5"), cap6 = named("*cap6");
    set_captionname(w, "*cap5", "Fuenf:");
    putIntNum(5, "15");
    setItemCaptions(w, "*cap", "Ruf #", 5, 6);
    EXPECT_EQ(guiText(XmtCaptionOf(cap5), XmNlabelString), "Ruf #15: ");
    EXPECT_EQ(guiText(XmtCaptionOf(cap6), XmNlabelString), "Sechs:");

    // A number filling its three bytes has no zero byte; the next one must not run into it.
    for (int k : {5, 15}) {
        putIntNum(k, "151");
        putIntNum(k + 1, "16");
    }
    setItemCaptions(w, "*cap", "Ruf #", 5, 5);
    setItemLabels(w, "*app", "Ruf #", 1, 5, 5);
    EXPECT_EQ(guiText(XmtCaptionOf(cap5), XmNlabelString), "Ruf #151: ");
    EXPECT_EQ(label("*app1.item5"), "Ruf #151");
}

TEST_F(Access, NumFieldsByNameAndIndex)
{
    SetField(w, "*num", "");
    SetField(w, "*num3", "");
    SetNumField(w, "*num", -1, 42);
    EXPECT_STREQ(GetField(w, "*num"), "42");
    EXPECT_STREQ(GetField(w, "*num3"), "");
    SetNumField(w, "*num", 3, 7);
    EXPECT_STREQ(GetField(w, "*num3"), "7");
    EXPECT_STREQ(GetField(w, "*num"), "42");
    EXPECT_EQ(GetNumField(w, "*num", -1), 42);
    EXPECT_EQ(GetNumField(w, "*num", 3), 7);

    // Only a whole number in range is one: atoi made 42 of 4294967338.
    for (const char *text : {"12ab", "4294967338", "ab", ""}) {
        SetField(w, "*free", text);
        EXPECT_EQ(GetNumField(w, "*free", -1), 0) << text;
    }

    EXPECT_EQ(GetField(w, "*nosuchfield"), nullptr);
    EXPECT_EQ(GetField(w, "*b0"), nullptr); // not an input field
    SetField(w, "*nosuchfield", "1"); // nothing to do, nothing breaks
}

TEST_F(Access, ChooserStateWithoutCallbacks)
{
    Widget app1 = named("*app1"), chk = named("*chk");
    setChooserState(w, "*app1", 3);
    int state = -1;
    getChooserState(w, "*app1", &state);
    EXPECT_EQ(state, 3);
    EXPECT_TRUE(XmToggleButtonGetState(XmtChooserGetItem(app1, 3)));
    EXPECT_FALSE(XmToggleButtonGetState(XmtChooserGetItem(app1, 0)));

    setChooserState(w, "*chk", 5); // items 0 and 2
    getChooserState(w, "*chk", &state);
    EXPECT_EQ(state, 5);
    EXPECT_TRUE(XmToggleButtonGetState(XmtChooserGetItem(chk, 0)));
    EXPECT_FALSE(XmToggleButtonGetState(XmtChooserGetItem(chk, 1)));
    EXPECT_TRUE(XmToggleButtonGetState(XmtChooserGetItem(chk, 2)));
    EXPECT_EQ(chooserCalls, 0);

    // The counter does see a change that is meant to notify.
    XmtChooserSetState(chk, 1, True);
    EXPECT_EQ(chooserCalls, 1);

    state = 77;
    getChooserState(w, "*nosuchchooser", &state);
    EXPECT_EQ(state, 77);
}

TEST_F(Access, Sensitivity)
{
    set_active(w, "*b0", 1);
    set_activegrp(w, "*b", 1, 0);
    EXPECT_TRUE(XtIsSensitive(named("*b0")));
    EXPECT_FALSE(XtIsSensitive(named("*b1")));
    set_activegrp(w, "*b", 1, 1);
    EXPECT_TRUE(XtIsSensitive(named("*b1")));

    disableChooser(w, "*chk", 0);
    EXPECT_EQ(getChooserSense(w, "*chk"), 0);
    disableChooser(w, "*chk", 1);
    EXPECT_EQ(getChooserSense(w, "*chk"), 1);
    EXPECT_EQ(getChooserSense(w, "*nosuchchooser"), 0);

    disableChooserItem(w, "*chk", 1, 0);
    EXPECT_FALSE(XmtChooserGetSensitive(named("*chk"), 1));
    EXPECT_TRUE(XmtChooserGetSensitive(named("*chk"), 0));
    disableChooserItem(w, "*chk", 1, 1);
    EXPECT_TRUE(XmtChooserGetSensitive(named("*chk"), 1));
}

TEST_F(Access, InputFieldsShareFocusBehaviour)
{
    Widget num = named("*num");
    unsigned char nav = 0;
    Boolean cursor = True;
    XtVaGetValues(num, XmNnavigationType, &nav, XmNcursorPositionVisible, &cursor, nullptr);
    EXPECT_EQ(nav, XmEXCLUSIVE_TAB_GROUP);
    EXPECT_FALSE(cursor);
    EXPECT_EQ(XtHasCallbacks(num, XmNfocusCallback), XtCallbackHasSome);
    EXPECT_EQ(XtHasCallbacks(num, XmNlosingFocusCallback), XtCallbackHasSome);

    SetField(w, "*num", "123");
    XmTextFieldSetInsertionPosition(num, 0);
    dotextfocus(num, nullptr, nullptr);
    XtVaGetValues(num, XmNcursorPositionVisible, &cursor, nullptr);
    EXPECT_TRUE(cursor);
    EXPECT_EQ(XmTextFieldGetInsertionPosition(num), 3);
    dotxtunfoc(num, nullptr, nullptr);
    XtVaGetValues(num, XmNcursorPositionVisible, &cursor, nullptr);
    EXPECT_FALSE(cursor);
}

// Without its resource lines the window cannot go on: status 1, and standard
// error says which dialog it was.
TEST(MissingResources, ADialogThatCannotBeBuiltEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Widget top = programTop();
    Widget dialog = nullptr;
    EXPECT_EXIT(buildDialogOnce(dialog, top, "nothere_dlg"), ::testing::ExitedWithCode(1),
                "kelvora: cannot build nothere_dlg\n$");
}
