// Named message boxes, yes/no questions and the integer prompt.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

void answerYesOf(const char *name)
{
    guiWhenActive([name](Widget box) {
        EXPECT_STREQ(XtName(box), name);
        guiPress(guiFind(box, "okButton"));
    });
}

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

TEST(Messages, UserFormatIsUsedOnlyWithTheDefaultsConversions)
{
    for (const FormatCase &c : formats) {
        XmtDisplayWarningMsg(guiTop(), c.name, "Datei %s, Zeile %d", nullptr, nullptr, "a.cfg", 7);
        EXPECT_EQ(takeMessage(c.name), c.shown ? c.shown : "Datei a.cfg, Zeile 7") << c.line;
    }
}

TEST(Messages, BoxesShowTextTitleAndKind)
{
    guiMergeResources(R"(
*wrongFile.message: Die Datei "%s" ist keine %s!
*wrongFile.title: Falsche Datei
)");
    struct {
        const char *name;
        std::function<void()> show;
        const char *text, *title;
        unsigned char kind;
    } cases[] = {
        {"wrongFile",
         [] { XmtDisplayErrorMsg(guiTop(), "wrongFile", "Standard %s %s", "Datei-Fehler", "", "/tmp/x", "Kurzwahl-Datei"); },
         "Die Datei \"/tmp/x\" ist keine Kurzwahl-Datei!", "Falsche Datei", XmDIALOG_ERROR},
        // Without lines under its name a box shows the caller's texts.
        {"tranfer_err",
         [] {
             XmtDisplayWarningMsg(guiTop(), "tranfer_err", "Fehler bei der Uebertragung: \n%s", "Uebertragungs-Fehler",
                                  "", "CRC-Fehler");
         },
         "Fehler bei der Uebertragung: \nCRC-Fehler", "Uebertragungs-Fehler", XmDIALOG_WARNING},
        {"msg1",
         [] {
             XmtCallCallbackString(guiTop(), R"(XmtDisplayInformationMsg("msg1", "Zur Zeit nicht fertig...", "Hilfe"))",
                                   nullptr);
         },
         "Zur Zeit nicht fertig...", "Hilfe", XmDIALOG_INFORMATION},
        // A percent sign in a message from a callback string is shown as it is.
        {"pct", [] { XmtCallCallbackString(guiTop(), R"(XmtDisplayErrorMsg("pct", "100% sicher"))", nullptr); },
         "100% sicher", "Fehler", XmDIALOG_ERROR},
    };
    for (auto &c : cases) {
        c.show();
        Widget box = XmtLastMessageBox(c.name);
        ASSERT_NE(box, nullptr) << c.name;
        unsigned char kind = 0;
        XtVaGetValues(box, XmNdialogType, &kind, nullptr);
        EXPECT_EQ(kind, c.kind) << c.name;
        guiPump(50);
        EXPECT_TRUE(guiViewable(XtParent(box))) << c.name;
        std::string title;
        EXPECT_EQ(takeMessage(c.name, &title), c.text);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(XmtLastMessageBox(c.name), nullptr) << "closed with OK";
    }
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

// A question whose "yes" cannot be undone starts on "Nein": the ring and the
// focus are there, and neither Return nor Escape says yes.  A question with
// "Ja" as its default starts there, and Escape still says no.
TEST(Messages, KeysTakeTheSafeAnswerOfAnIrreversibleQuestion)
{
    struct Case {
        const char *key;
        bool irreversible, answer;
    } cases[] = {
        {"Return", true, false}, {"KP_Enter", true, false}, {"Escape", true, false},
        {"Return", false, true}, {"Escape", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.key) + (c.irreversible ? " irreversible" : " default yes"));
        Widget focus = nullptr, ring = nullptr, expected = nullptr;
        guiWhenActive([&](Widget box) {
            guiFocusIn(box);
            guiPump(50);
            expected = guiFind(box, c.irreversible ? "cancelButton" : "okButton");
            focus = guiFocus(box);
            XtVaGetValues(box, XmNdefaultButton, &ring, nullptr);
            guiKey(box, c.key);
        });
        Boolean yes = c.irreversible ? XmtAskIrreversible(guiTop(), "irrev", "%d Dateien löschen?", nullptr, 3)
                                     : XmtDisplayWarningAndAsk(guiTop(), "safe", "Sichern?", nullptr, nullptr, True,
                                                               nullptr);
        EXPECT_EQ(bool(yes), c.answer);
        EXPECT_EQ(focus, expected);
        EXPECT_EQ(ring, expected);
    }
    // The yes button still says yes.
    answerYesOf("irrev");
    EXPECT_TRUE(XmtAskIrreversible(guiTop(), "irrev", "%d Dateien löschen?", nullptr, 3));
}

TEST(Messages, AskForIntegerRefusesValuesOutsideItsRange)
{
    int value = 5;
    bool refusedStayed = false;
    std::string refusal;
    std::string initial;
    guiWhenActive([&](Widget box) {
        Widget text = XmSelectionBoxGetChild(box, XmDIALOG_TEXT);
        char *t = XmTextFieldGetString(text);
        initial = t;
        XtFree(t);
        XmTextFieldSetString(text, const_cast<char *>("11"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
        refusedStayed = XmtActiveDialog() == box;
        refusal = takeMessage("badInteger");
        XmTextFieldSetString(text, const_cast<char *>("zwei"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
        refusedStayed = refusedStayed && XmtActiveDialog() == box;
        XmTextFieldSetString(text, const_cast<char *>("10"));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
    });
    EXPECT_TRUE(XmtAskForInteger(guiTop(), "count", "Anzahl:", &value, 1, 10, nullptr));
    EXPECT_EQ(initial, "5");
    EXPECT_TRUE(refusedStayed);
    EXPECT_EQ(refusal, "Bitte eine ganze Zahl von 1 bis 10 eingeben!");
    EXPECT_EQ(value, 10);

    guiWhenActive([&](Widget box) { guiPress(XmSelectionBoxGetChild(box, XmDIALOG_CANCEL_BUTTON)); });
    EXPECT_FALSE(XmtAskForInteger(guiTop(), "count", "Anzahl:", &value, 1, 10, nullptr));
    EXPECT_EQ(value, 10);
}

bool pixmapExists(Display *dpy, Pixmap p)
{
    XSync(dpy, False);
    XErrorHandler was = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    bool there = XGetGeometry(dpy, p, &root, &x, &y, &width, &height, &border, &depth) != 0;
    XSync(dpy, False);
    XSetErrorHandler(was);
    return there;
}

// In a process of its own: the resolution is read once, at start.  Each box
// at 192 dpi shows its symbol grown, and takes it along when it goes.
void symbolsAt192DpiAndExit()
{
    GuiStartupResources({"Xft.dpi: 192"});
    Display *dpy = XtDisplay(guiTop());
    for (int i = 0; i < 3; i++) {
        XmtDisplayErrorMsg(guiTop(), "grown", "Fehler %d", nullptr, nullptr, i);
        Pixmap symbol = XmUNSPECIFIED_PIXMAP;
        XtVaGetValues(XmtLastMessageBox("grown"), XmNsymbolPixmap, &symbol, nullptr);
        if (symbol == XmUNSPECIFIED_PIXMAP || !pixmapExists(dpy, symbol))
            std::exit(2);
        takeMessage("grown");
        guiPump(20);
        if (pixmapExists(dpy, symbol))
            std::exit(3); // a grown symbol left on the X server for every box
    }
    std::exit(0);
}

TEST(Messages, GrownSymbolsGoWithTheirBoxes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(symbolsAt192DpiAndExit(), ::testing::ExitedWithCode(0), "");
}

} // namespace

// However long the text, its end is shown: the question before programming
// ends in "... und N weitere".
TEST(Messages, LongTextsAreShownToTheirEnd)
{
    std::string text;
    while (text.size() < 6000)
        text += "Teilnehmer AB  #1: Rufumleitung Besetzt: 0301234567 -> 0891234567\n";
    text += "... und 7 weitere";
    XmtDisplayErrorMsg(guiTop(), "longError", "%s", nullptr, nullptr, text.c_str());
    EXPECT_EQ(takeMessage("longError"), text);

    std::string asked;
    guiWhenActive([&](Widget box) {
        asked = guiText(box, XmNmessageString);
        guiPress(guiFind(box, "okButton"));
    });
    EXPECT_TRUE(XmtDisplayWarningAndAskf(guiTop(), "longAsk", "%s", True, nullptr, text.c_str()));
    EXPECT_EQ(asked, text);
}
