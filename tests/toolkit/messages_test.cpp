// Named message boxes, yes/no questions and the integer prompt.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include <string>

namespace {

// A user's format gets the program's arguments ("Datei %s, Zeile %d"): only
// one that takes them as the program's own format does is shown.
struct FormatCase {
    const char *name, *line, *shown;
};
const FormatCase formats[] = {
    {"fmtExtra", "%s %s %n", nullptr},
    {"fmtSwapped", "Zeile %d in %s", nullptr},
    {"fmtLong", "%s %ld", nullptr},
    {"fmtFewer", "nur %s", "nur a.cfg"}, // the last arguments may go unused
    {"fmtFewerWrong", "nur %d", nullptr},
    {"fmtPositional", "%1$s %2$d", nullptr},
    {"fmtCut", "%s %d %", nullptr},
    {"fmtStar", "%*s %d", nullptr},
    {"fmtSame", "%s: %d%% fertig", "a.cfg: 7% fertig"},
    {"fmtWidths", "[%-6s|%03d]", "[a.cfg |007]"},
};
// Each comes in as the user's own -xrm line.
const int userFormats = [] {
    for (const FormatCase &c : formats) {
        std::string line = std::string("*") + c.name + ".message: " + c.line;
        GuiStartupResources({}, {"-xrm", line.c_str()});
    }
    return 0;
}();

void closeBox(Widget box)
{
    guiPress(guiFind(box, "okButton"));
    guiPump(0);
}

TEST(Messages, UserFormatIsUsedOnlyWithTheDefaultsConversions)
{
    for (const FormatCase &c : formats) {
        SCOPED_TRACE(c.line);
        XmtDisplayWarningMsg(guiTop(), c.name, "Datei %s, Zeile %d", nullptr, nullptr, "a.cfg", 7);
        Widget box = XmtLastMessageBox(c.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(guiText(box, XmNmessageString), c.shown ? c.shown : "Datei a.cfg, Zeile 7");
        closeBox(box);
    }
}

TEST(Messages, NamedResourcesReplaceTheDefaults)
{
    guiMergeResources(R"(
*wrongFile.message: Die Datei "%s" ist keine %s!
*wrongFile.title: Falsche Datei
)");
    XmtDisplayErrorMsg(guiTop(), "wrongFile", "Standard %s %s", "Datei-Fehler", "No Help!", "/tmp/x", "Kurzwahl-Datei");
    Widget box = XmtLastMessageBox("wrongFile");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(XtIsManaged(box));
    EXPECT_EQ(guiText(box, XmNmessageString), "Die Datei \"/tmp/x\" ist keine Kurzwahl-Datei!");
    EXPECT_EQ(guiText(box, XmNdialogTitle), "Falsche Datei");
    unsigned char type = 0;
    XtVaGetValues(box, XmNdialogType, &type, nullptr);
    EXPECT_EQ(type, XmDIALOG_ERROR);
    guiPump(50);
    EXPECT_TRUE(guiViewable(XtParent(box)));
    closeBox(box);
    EXPECT_EQ(XmtLastMessageBox("wrongFile"), nullptr);

    // Without lines under its name a box shows the caller's texts.
    XmtDisplayWarningMsg(guiTop(), "tranfer_err", "Fehler bei der Uebertragung: \n%s", "Uebertragungs-Fehler",
                         "No Help!", "CRC-Fehler");
    box = XmtLastMessageBox("tranfer_err");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(guiText(box, XmNmessageString), "Fehler bei der Uebertragung: \nCRC-Fehler");
    EXPECT_EQ(guiText(box, XmNdialogTitle), "Uebertragungs-Fehler");
    closeBox(box);
}

TEST(Messages, ProceduresShowMessagesFromCallbackStrings)
{
    XmtCallCallbackString(guiTop(), R"(XmtDisplayInformationMsg("msg1", "Zur Zeit nicht fertig...", "Hilfe"))",
                          nullptr);
    Widget box = XmtLastMessageBox("msg1");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(guiText(box, XmNmessageString), "Zur Zeit nicht fertig...");
    EXPECT_EQ(guiText(box, XmNdialogTitle), "Hilfe");
    unsigned char type = 0;
    XtVaGetValues(box, XmNdialogType, &type, nullptr);
    EXPECT_EQ(type, XmDIALOG_INFORMATION);
    // A percent sign in a message from a callback string is shown as it is.
    XmtCallCallbackString(guiTop(), R"(XmtDisplayErrorMsg("pct", "100% sicher"))", nullptr);
    EXPECT_EQ(guiText(XmtLastMessageBox("pct"), XmNmessageString), "100% sicher");
    closeBox(XmtLastMessageBox("pct"));
    closeBox(box);
}

TEST(Messages, WarningAndAskAnswersYesAndNo)
{
    std::string yesLabel, noLabel, prompt;
    bool clickable = false;
    Widget defaultButton = nullptr, yesButton = nullptr;
    guiWhenActive([&](Widget box) {
        yesButton = guiFind(box, "okButton");
        clickable = XtIsWidget(yesButton) && XtWindow(yesButton) && guiViewable(yesButton);
        XtVaGetValues(box, XmNdefaultButton, &defaultButton, nullptr);
        yesLabel = guiText(guiFind(box, "okButton"), XmNlabelString);
        noLabel = guiText(guiFind(box, "cancelButton"), XmNlabelString);
        prompt = guiText(box, XmNmessageString);
        guiPress(guiFind(box, "okButton"));
    });
    EXPECT_TRUE(XmtDisplayWarningAndAsk(guiTop(), "ask1", "Wirklich löschen?", nullptr, nullptr, True, nullptr));
    EXPECT_EQ(yesLabel, "Ja");
    EXPECT_EQ(noLabel, "Nein");
    EXPECT_EQ(prompt, "Wirklich löschen?");
    EXPECT_TRUE(clickable);
    EXPECT_EQ(defaultButton, yesButton);
    EXPECT_EQ(XmtActiveDialog(), nullptr);

    guiWhenActive([&](Widget box) {
        XtVaGetValues(box, XmNdefaultButton, &defaultButton, nullptr);
        EXPECT_EQ(defaultButton, guiFind(box, "cancelButton"));
        guiPress(guiFind(box, "cancelButton"));
    });
    EXPECT_FALSE(XmtDisplayWarningAndAsk(guiTop(), "ask1", "Wirklich löschen?", "Weiter", "Zurück", False, nullptr));
}

TEST(Messages, AskForIntegerRefusesValuesOutsideItsRange)
{
    int value = 5;
    bool refusedStayed = false;
    Widget errorBox = nullptr;
    std::string initial;
    guiWhenActive([&](Widget box) {
        Widget text = XmSelectionBoxGetChild(box, XmDIALOG_TEXT);
        char *t = XmTextFieldGetString(text);
        initial = t;
        XtFree(t);
        XmTextFieldSetString(text, const_cast<char *>("11"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
        refusedStayed = XmtActiveDialog() == box;
        errorBox = XmtLastMessageBox("badInteger");
        if (errorBox)
            closeBox(errorBox);
        XmTextFieldSetString(text, const_cast<char *>("zwei"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
        refusedStayed = refusedStayed && XmtActiveDialog() == box;
        XmTextFieldSetString(text, const_cast<char *>("10"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
    });
    EXPECT_TRUE(XmtAskForInteger(guiTop(), "count", "Anzahl:", &value, 1, 10, nullptr));
    EXPECT_EQ(initial, "5");
    EXPECT_TRUE(refusedStayed);
    EXPECT_NE(errorBox, nullptr);
    EXPECT_EQ(value, 10);

    guiWhenActive([&](Widget box) { guiPress(XmSelectionBoxGetChild(box, XmDIALOG_CANCEL_BUTTON)); });
    EXPECT_FALSE(XmtAskForInteger(guiTop(), "count", "Anzahl:", &value, 1, 10, nullptr));
    EXPECT_EQ(value, 10);
}

} // namespace
