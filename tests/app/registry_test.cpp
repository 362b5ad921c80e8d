// The main window's table of buttons against the window its resource lines
// build: a row per push button, each calling the row's procedure, and the rows
// that wait for a valid configuration exactly the buttons that start insensitive.
#include <gtest/gtest.h>

#include "app/registry.h"
#include "resources/lookup.h"
#include "support/program.h"
#include "toolkit/toolkit.h"

#include <Xm/PushB.h>
#include <set>
#include <string>

namespace {

struct MainButtons : ::testing::Test {
    Widget top = programTop();

    static Widget buttonOf(const MainButton &b) { return mainWidget(("*" + std::string(b.button)).c_str()); }

    static void collectPushButtons(Widget w, std::set<std::string> &names)
    {
        if (XmIsPushButton(w))
            names.insert(XtName(w));
        if (!XtIsComposite(w))
            return;
        WidgetList kids = nullptr;
        Cardinal n = 0;
        XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &n, nullptr);
        for (Cardinal i = 0; i < n; i++)
            collectPushButtons(kids[i], names);
    }
};

} // namespace

TEST_F(MainButtons, EveryPushButtonOfTheWindowHasOneRow)
{
    std::set<std::string> inWindow, inTable, procedures;
    collectPushButtons(XmtNameToWidget(top, "main"), inWindow);
    for (const MainButton &b : mainButtons()) {
        EXPECT_TRUE(inTable.insert(b.button).second) << b.button << " twice";
        EXPECT_TRUE(procedures.insert(b.procedure).second) << b.procedure << " twice";
    }
    EXPECT_EQ(inTable, inWindow);
}

TEST_F(MainButtons, EachButtonCallsItsRowsProcedure)
{
    for (const MainButton &b : mainButtons()) {
        const char *callback = XmtGetResourceString(buttonOf(b), nullptr, "activateCallback");
        EXPECT_EQ(std::string(callback ? callback : "(none)"), std::string(b.procedure) + "()") << b.button;
        EXPECT_TRUE(XmtProcedureRegistered(b.procedure)) << b.procedure;
        EXPECT_NE(b.run, nullptr) << b.button;
    }
}

// A row that forgets it needs a valid configuration leaves its button
// insensitive after a read; one that claims it wrongly greys a button out.
TEST_F(MainButtons, RowsWaitingForAValidConfigurationAreTheButtonsThatStartInsensitive)
{
    for (const MainButton &b : mainButtons()) {
        const char *line = XmtGetResourceString(buttonOf(b), nullptr, "sensitive");
        bool startsInsensitive = line && std::string(line) == "False";
        EXPECT_EQ(b.needsValidConfiguration, startsInsensitive) << b.button;
    }
}

// A dialog's button gets its place from its row and its label and help line
// from the dialog's own section; one that forgets them shows an empty button.
TEST_F(MainButtons, EachDialogsButtonSitsInItsColumnWithItsOwnLabelAndHelpLine)
{
    const char *help = XmtGetResourceString(mainWidget("*help"), nullptr, "helpText");
    ASSERT_NE(help, nullptr);
    std::size_t from = 0;
    for (const MainButton &b : mainButtons()) {
        if (!b.dialog)
            continue;
        std::string at = std::string("*main*") + b.button;
        // A frame holds its children in a box of its own.
        Widget in = XtParent(buttonOf(b));
        if (std::string(XtName(in)) != b.column)
            in = XtParent(in);
        EXPECT_STREQ(XtName(in), b.column) << b.button;
        EXPECT_NE(builtinResource(at + ".labelString"), "") << b.button;
        EXPECT_NE(builtinResource(std::string("*") + b.dialog + ".title"), "") << b.dialog;
        std::string line = builtinResource(at + ".helpLine");
        ASSERT_NE(line, "") << b.button;
        // In the order of the rows.
        std::size_t found = std::string(help).find(line + "\n", from);
        EXPECT_NE(found, std::string::npos) << b.button;
        from = found == std::string::npos ? from : found + line.size();
    }
}
