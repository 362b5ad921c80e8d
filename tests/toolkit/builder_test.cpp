// Widget trees from resource lines, callback strings and user resources.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>

#include <string>
#include <vector>

namespace {

// The user's -xrm line must beat the built-in (fallback) line.
GuiStartupResources startup({"*usr_dlg.children: Form form", "*usr_dlg*form.children: Label lab; Label lab2",
                             "*usr_dlg*lab.labelString: Standard", "*usr_dlg*lab2.labelString: Alt"},
                            {"-xrm", "*usr_dlg*lab.labelString: Benutzer"});

std::vector<std::string> childNames(Widget w)
{
    WidgetList kids;
    Cardinal n = 0;
    XtVaGetValues(w, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    std::vector<std::string> names;
    for (Cardinal i = 0; i < n; ++i)
        names.push_back(XtName(kids[i]));
    return names;
}


std::vector<std::string> procCalls;

void recordProc(Widget w, XtPointer client, XtPointer)
{
    std::string entry = XtName(w);
    if (auto *a = static_cast<XmtProcArgs *>(client))
        for (const std::string &s : a->args)
            entry += "|" + s;
    procCalls.push_back(entry);
}

TEST(Builder, CreatesExactlyTheListedChildren)
{
    guiMergeResources(R"(
*bld_dlg.children: Form form
*bld_dlg*form.children: Label lab; Row row; Frame grp; EqualColumn col; List names; Separator sep
*bld_dlg*row.children: Button b1; Button b2
*bld_dlg*grp.title: Gruppe
*bld_dlg*grp.children: InputField f1
*bld_dlg*f1.caption: Feld:
*bld_dlg*col.children: Button c1
*bld_dlg*notlisted.labelString: never
*bld_dlg*row.b3.labelString: not listed either
)");
    Widget dlg = XmtBuildDialog(guiTop(), "bld_dlg", nullptr, 0);
    ASSERT_NE(dlg, nullptr);
    Widget form = guiFind(dlg, "form");
    EXPECT_EQ(childNames(form), (std::vector<std::string>{"lab", "row", "grp", "col", "namesSW", "sep"}));
    EXPECT_EQ(childNames(guiFind(dlg, "*row")), (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(XmtNameToWidget(dlg, "*notlisted"), nullptr);
    EXPECT_EQ(XmtNameToWidget(dlg, "*b3"), nullptr);

    // Buttons are widgets with windows of their own, not gadgets.
    Widget b1 = guiFind(dlg, "*b1");
    EXPECT_TRUE(XmIsPushButton(b1));
    EXPECT_TRUE(XtIsWidget(b1));

    // The frame's children go into its box, below the title label.
    Widget grp = guiFind(dlg, "*grp");
    EXPECT_TRUE(XmIsFrame(grp));
    Widget f1 = guiFind(dlg, "*grp.box.f1_cap.f1");
    EXPECT_TRUE(XmIsTextField(f1));
    EXPECT_TRUE(XmtIsInputField(f1));
    ASSERT_NE(XmtCaptionOf(f1), nullptr);
    EXPECT_EQ(guiText(XmtCaptionOf(f1), XmNlabelString), "Feld:");
    XmtSetCaption(f1, "Anders:");
    EXPECT_EQ(guiText(XmtCaptionOf(f1), XmNlabelString), "Anders:");
    EXPECT_EQ(guiText(guiFind(grp, "frameTitle"), XmNlabelString), "Gruppe");

    Widget list = guiFind(dlg, "*namesSW.names");
    EXPECT_TRUE(XmIsList(list));
    unsigned char packing = 0;
    XtVaGetValues(guiFind(dlg, "*col"), XmNpacking, &packing, nullptr);
    EXPECT_EQ(packing, XmPACK_COLUMN);
    // A widget without a caption line has none.
    EXPECT_EQ(XmtCaptionOf(b1), nullptr);
}

TEST(Builder, ReportsUnknownKindsAndProceduresAndBuildsTheRest)
{
    XmtRegisterCallbackProcedure("recordProc", recordProc);
    guiMergeResources(R"(
*bad_dlg.children: Form form
*bad_dlg*form.children: Label first; Gizmo gadget1; Button bad; Button good
*bad_dlg*bad.activateCallback: noSuchProc(); recordProc("after")
*bad_dlg*good.activateCallback: recordProc("x", "y z"); recordProc()
)");
    testing::internal::CaptureStderr();
    Widget dlg = XmtBuildDialog(guiTop(), "bad_dlg", nullptr, 0);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(err.find("Gizmo"), std::string::npos) << err;
    EXPECT_NE(err.find("toolkit_test.bad_dlg.form.gadget1"), std::string::npos) << err;
    EXPECT_NE(err.find("noSuchProc"), std::string::npos) << err;
    EXPECT_NE(err.find("toolkit_test.bad_dlg.form.bad"), std::string::npos) << err;

    EXPECT_EQ(childNames(guiFind(dlg, "form")), (std::vector<std::string>{"first", "bad", "good"}));
    procCalls.clear();
    guiPress(guiFind(dlg, "*bad"));
    guiPress(guiFind(dlg, "*good"));
    // The unknown name is skipped; the known one next to it still runs.
    EXPECT_EQ(procCalls, (std::vector<std::string>{"bad|after", "good|x|y z", "good"}));
}

TEST(Builder, CallbackStringsParseArgumentsAndReportSyntax)
{
    XmtRegisterCallbackProcedure("recordProc", recordProc);
    EXPECT_TRUE(XmtProcedureRegistered("recordProc"));
    EXPECT_FALSE(XmtProcedureRegistered("nope"));
    procCalls.clear();
    XmtCallCallbackString(guiTop(), R"(recordProc("a \"q\"", "line\nnext");  recordProc(bare, 12))", nullptr);
    EXPECT_EQ(procCalls, (std::vector<std::string>{"toolkit_test|a \"q\"|line\nnext", "toolkit_test|bare|12"}));

    XtCallbackList list = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(XmtParseCallbackString(guiTop(), "recordProc(\"open", &list));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("toolkit_test"), std::string::npos);
    EXPECT_TRUE(XmtParseCallbackString(guiTop(), "", &list));
    EXPECT_EQ(list[0].callback, nullptr);
}

TEST(Builder, UserResourcesReplaceBuiltInLines)
{
    guiMergeResources("*usr_dlg*lab2.labelString: Neu");
    Widget dlg = XmtBuildDialog(guiTop(), "usr_dlg", nullptr, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(guiText(guiFind(dlg, "*lab"), XmNlabelString), "Benutzer");
    EXPECT_EQ(guiText(guiFind(dlg, "*lab2"), XmNlabelString), "Neu");
    EXPECT_STREQ(XmtGetResourceString(guiFind(dlg, "*form"), "lab", "labelString"), "Benutzer");
    EXPECT_EQ(XmtGetResourceString(dlg, nullptr, "nothingHere"), nullptr);
}

TEST(Builder, DialogWithoutChildrenIsNotBuilt)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(XmtBuildDialog(guiTop(), "empty_dlg", nullptr, 0), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("empty_dlg"), std::string::npos);
    EXPECT_EQ(XmtNameToWidget(guiTop(), "empty_dlg"), nullptr);
}

TEST(Builder, MainWindowTreeUnderAShell)
{
    guiMergeResources(R"(
*mainwin.children: Form main
*mainwin*main.children: HFrame band; MsgLine theline
*mainwin*band.children: Button x; Button y
)");
    Widget shell = XtCreatePopupShell("mainwin", topLevelShellWidgetClass, guiTop(), nullptr, 0);
    XmtCreateChildren(shell);
    Widget box = guiFind(shell, "*band.box");
    EXPECT_EQ(childNames(box), (std::vector<std::string>{"x", "y"}));
    unsigned char orientation = 0;
    XtVaGetValues(box, XmNorientation, &orientation, nullptr);
    EXPECT_EQ(orientation, XmHORIZONTAL);

    Widget line = guiFind(shell, "*theline");
    EXPECT_STREQ(XmtMsgLineGetString(line), "");
    XmtMsgLinePrintf(line, "ROM-Version: %s", "1.2");
    EXPECT_STREQ(XmtMsgLineGetString(line), "ROM-Version: 1.2");
    EXPECT_EQ(guiText(line, XmNlabelString), "ROM-Version: 1.2");
    XmtMsgLineClear(line, XmtMsgLineNow);
    EXPECT_STREQ(XmtMsgLineGetString(line), "");
    EXPECT_EQ(XmtWidgetPath(line), "toolkit_test.mainwin.main.theline");
    XtDestroyWidget(shell);
}

} // namespace

// Ranges stand for numbered children, caption lists caption them in order, a
// width in millimetres sizes a field, and every fault of the table is counted.
TEST(Builder, RangesCaptionListsWidthsAndCountedFaults)
{
    guiMergeResources(R"(
*rng_dlg.children: Form form
*rng_dlg*form.children: Column col; Row row
*rng_dlg*col.children: InputField n3..5 = buf7..9; Button b0..1
*rng_dlg*col.captions: "Eins: ", "Zwei: ", "Drei: "
*rng_dlg*n4.caption: Eigene:
*rng_dlg*row.children: InputField wide; InputField narrow
*rng_dlg*wide.unitType: 100th_millimeters
*rng_dlg*wide.width: 4000
*rng_dlg*narrow.unitType: 100th_millimeters
*rng_dlg*narrow.width: 1000
)");
    int faultsBefore = XmtResourceProblems();
    Widget dlg = XmtBuildDialog(guiTop(), "rng_dlg", nullptr, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(XmtResourceProblems(), faultsBefore);
    EXPECT_EQ(childNames(guiFind(dlg, "*col")),
              (std::vector<std::string>{"n3_cap", "n4_cap", "n5_cap", "b0", "b1"}));
    EXPECT_EQ(guiText(XmtCaptionOf(guiFind(dlg, "*n3")), XmNlabelString), "Eins: ");
    EXPECT_EQ(guiText(XmtCaptionOf(guiFind(dlg, "*n4")), XmNlabelString), "Eigene:") << "its own line wins";
    EXPECT_EQ(guiText(XmtCaptionOf(guiFind(dlg, "*n5")), XmNlabelString), "Drei: ");
    EXPECT_EQ(XmtCaptionOf(guiFind(dlg, "*b0")), nullptr) << "the list has no fourth caption";

    // n3..5 are bound to buf7..9: a buffer table finds them under those names.
    static char buffers[3][4] = {"a", "b", "c"};
    XtResource res[] = {{(String) "buf9", (String) "buf9", (String) "Buffer", 4, 2 * 4, nullptr, nullptr}};
    Widget bound = XmtBuildDialog(guiTop(), "rng_dlg", res, 1);
    XmtDialogSetData(bound, buffers);
    EXPECT_STREQ(XmtInputFieldGetString(guiFind(bound, "*n5")), "c");

    XtRealizeWidget(dlg);
    XtManageChild(guiFind(dlg, "form"));
    guiPump(50);
    double pxPerMm = double(DisplayWidth(XtDisplay(dlg), 0)) / DisplayWidthMM(XtDisplay(dlg), 0);
    Dimension wide = 0, narrow = 0;
    XtVaGetValues(guiFind(dlg, "*wide"), XmNwidth, &wide, nullptr);
    XtVaGetValues(guiFind(dlg, "*narrow"), XmNwidth, &narrow, nullptr);
    EXPECT_NEAR(wide / pxPerMm, 40.0, 3.0);
    EXPECT_NEAR(narrow / pxPerMm, 10.0, 3.0);
    XtUnmanageChild(guiFind(dlg, "form"));

    struct Fault {
        const char *children;
        const char *why;
    } faults[] = {
        {"Gadget g1", "unknown widget kind"},
        {"Button b5..3", "range running backwards"},
        {"Button ..3", "range without a name"},
        {"InputField f0..2 = g0..5", "bindings not matching the range"},
        {"Button nobody", "procedure that is not registered"},
    };
    guiMergeResources("*flt_dlg*nobody.activateCallback: noSuchProcedure()");
    for (const Fault &f : faults) {
        std::string lines = std::string("*flt_dlg.children: Form form\n*flt_dlg*form.children: Label ok; ") +
                            f.children;
        guiMergeResources(lines.c_str());
        int before = XmtResourceProblems();
        XmtBuildDialog(guiTop(), "flt_dlg", nullptr, 0);
        EXPECT_GT(XmtResourceProblems(), before) << f.why;
    }
}
