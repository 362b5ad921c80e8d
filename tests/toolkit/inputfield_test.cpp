// Input fields: what can be typed, whole-pattern matching, verify and error
// callbacks.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <Xm/TextF.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> verified;
bool verdict = true;

void judge(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtInputFieldCallbackStruct *>(call);
    verified.push_back(cbs->input);
    cbs->okay = verdict;
}

Widget fieldDialog()
{
    XmtRegisterCallbackProcedure("judge", judge);
    return guiDialog("inp_dlg", R"(
*inp_dlg.children: Form form
*inp_dlg*form.children: InputField two; InputField exact; InputField checked; InputField mixed; InputField free
*inp_dlg*two.pattern: dd
*inp_dlg*exact.pattern: dd
*inp_dlg*exact.matchAll: True
*inp_dlg*checked.pattern: dd
*inp_dlg*checked.verifyCallback: judge()
*inp_dlg*checked.errorCallback: XmtDisplayWarningMsg("msg1", "Die Nummern müssen zwischen 11 und 97 liegen")
*inp_dlg*mixed.pattern: aadc
)");
}

std::string text(Widget f)
{
    char *t = XmTextFieldGetString(f);
    std::string s = t;
    XtFree(t);
    return s;
}

// Types one character at a time, as keys come; the text that results.
std::string typed(Widget f, const char *keys)
{
    XmtInputFieldSetString(f, "");
    for (const char *k = keys; *k; ++k) {
        char one[2] = {*k, 0};
        XmTextFieldInsert(f, XmTextFieldGetLastPosition(f), one);
    }
    return text(f);
}

TEST(InputField, PatternLimitsWhatCanBeTyped)
{
    Widget two = guiFind(fieldDialog(), "*two"), mixed = guiFind(fieldDialog(), "*mixed");
    ASSERT_TRUE(XmtIsInputField(two));
    EXPECT_EQ(typed(two, "1a23"), "12");
    EXPECT_EQ(typed(mixed, "ä1B7-"), "äB7-");
    EXPECT_EQ(XmTextFieldGetMaxLength(two), 2);
    // A whole text set at once must match too.
    typed(two, "12");
    for (const char *refused : {"x9", "345"}) {
        XmTextFieldSetString(two, const_cast<char *>(refused));
        EXPECT_EQ(text(two), "12") << refused;
    }
    XmTextFieldSetString(two, const_cast<char *>("07"));
    EXPECT_EQ(text(two), "07");
    // Deleting is always possible.
    XmTextFieldReplace(two, 0, 2, const_cast<char *>(""));
    EXPECT_EQ(text(two), "");
}

// The field shows what fits; until the user changes it, it hands back the
// whole value it was given, so a value it cannot show is not cut on "OK".
TEST(InputField, ProgramSetStringIsCutToThePattern)
{
    Widget f = guiFind(fieldDialog(), "*two");
    XmtInputFieldSetString(f, "98765");
    char *shown = XmTextFieldGetString(f);
    EXPECT_STREQ(shown, "98");
    XtFree(shown);
    EXPECT_STREQ(XmtInputFieldGetString(f), "98765");
    XmTextFieldSetString(f, const_cast<char *>("4"));
    EXPECT_STREQ(XmtInputFieldGetString(f), "4");
    XmTextFieldSetString(f, const_cast<char *>("98"));
    EXPECT_STREQ(XmtInputFieldGetString(f), "98765") << "the shown text again";
    Widget free = guiFind(fieldDialog(), "*free");
    XmtInputFieldSetString(free, "beliebig lang, auch mit Leerzeichen");
    EXPECT_STREQ(XmtInputFieldGetString(free), "beliebig lang, auch mit Leerzeichen");
}

TEST(InputField, MatchAllRefusesAShortText)
{
    Widget f = guiFind(fieldDialog(), "*exact");
    XmtInputFieldSetString(f, "42");
    XmTextFieldSetString(f, const_cast<char *>("1"));
    EXPECT_FALSE(XmtInputFieldCommit(f));
    EXPECT_STREQ(XmtInputFieldGetString(f), "42");
    XmTextFieldSetString(f, const_cast<char *>("17"));
    EXPECT_TRUE(XmtInputFieldCommit(f));
    EXPECT_STREQ(XmtInputFieldGetString(f), "17");
}

TEST(InputField, RefusedValueShowsTheWarningAndRestoresTheText)
{
    Widget f = guiFind(fieldDialog(), "*checked");
    XmtInputFieldSetString(f, "11");
    verified.clear();
    verdict = false;
    XmTextFieldSetString(f, const_cast<char *>("98"));
    // The field commits when Return is pressed in it.
    XmAnyCallbackStruct cbs{XmCR_ACTIVATE, nullptr};
    XtCallCallbacks(f, XmNactivateCallback, &cbs);
    EXPECT_EQ(verified, (std::vector<std::string>{"98"}));
    EXPECT_STREQ(XmtInputFieldGetString(f), "11");
    EXPECT_EQ(takeMessage("msg1"), "Die Nummern müssen zwischen 11 und 97 liegen");

    // Accepted: the verify callback sees the text, no warning.
    verdict = true;
    XmTextFieldSetString(f, const_cast<char *>("55"));
    EXPECT_TRUE(XmtInputFieldCommit(f));
    EXPECT_EQ(verified.back(), "55");
    EXPECT_EQ(XmtLastMessageBox("msg1"), nullptr);
    // An unchanged text is not checked again when the focus leaves.
    size_t calls = verified.size();
    XtCallCallbacks(f, XmNlosingFocusCallback, &cbs);
    EXPECT_EQ(verified.size(), calls);
}

} // namespace
