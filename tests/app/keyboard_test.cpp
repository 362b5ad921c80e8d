// Every dialog of the main window as someone at the keyboard meets it: the
// keys go where typing belongs, Escape leaves the record as it was, Return in
// a field is the dialog's OK.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/registry.h"
#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzformat.h"
#include "support/dialogs.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/tempdir.h"
#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using xmt::firstBelow;

// The rows of the main window that act at once or open a standard box (files,
// transfers, the overview page, help, quitting): every other row opens a
// dialog of its own and is checked below.
const std::set<std::string> notADialog = {"laden", "sichern", "uebersicht", "lesen", "schreiben", "help", "quit"};

// Dialogs opened from a dialog: the main window's row, the button there.
struct Inner {
    const char *row;
    const char *button;
};
const Inner innerDialogs[] = {
    {"kurz", "*editcfg"},  {"kurz", "*nahber_b"}, {"kurz", "*sperrber_b"}, {"grund", "*msns_b"},
    {"grund", "*zuord_b"}, {"gebuehr", "*costs"}, {"gebuehr", "*summs"},
};

// How one dialog is reached: its row, and the button inside where it is an inner one.
struct Reach {
    std::string row;
    const char *inner = nullptr;
    std::string label() const { return row + (inner ? std::string(" ") + inner : ""); }
};

bool takesInput(Widget w) { return XtIsManaged(w) && XtIsSensitive(w); }

Widget firstField(Widget dialog)
{
    return firstBelow(dialog, [](Widget w) { return XmtIsInputField(w) && takesInput(w); });
}

Widget button(Widget dialog, const char *name)
{
    return firstBelow(dialog, [name](Widget w) { return XmIsPushButton(w) && std::strcmp(XtName(w), name) == 0; });
}

// Where the keys belong when the dialog opens: its first field or list that
// takes input, else the button that changes nothing.
Widget expectedFocus(Widget dialog)
{
    if (Widget input = firstBelow(dialog, [](Widget w) { return (XmtIsInputField(w) || XmIsList(w)) && takesInput(w); }))
        return input;
    for (const char *safe : {"cancel", "quit", "okay"})
        if (Widget b = button(dialog, safe))
            return b;
    return nullptr;
}

std::string nameOf(Widget w) { return w ? XmtWidgetPath(w) : "(none)"; }

// The saved and programmed parts of the record.
std::vector<unsigned char> recordImage()
{
    return {all, all + rec::KwzHeader + rec::KwzSizeInFile};
}

void onOkay(Widget, XtPointer client, XtPointer) { *static_cast<bool *>(client) = true; }

// A dialog that keys did not close: closed here, and told.
struct Stuck {
    Widget dialog;
    bool ended = true;
};
void closeStuck(XtPointer client, XtIntervalId *)
{
    auto *s = static_cast<Stuck *>(client);
    if (XmtActiveDialog() != s->dialog)
        return;
    s->ended = false;
    XmtDialogCancelCallback(s->dialog, nullptr, nullptr);
}

class DialogKeys : public ::testing::Test {
protected:
    TempDir home;
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        // The port chooser keeps what its OK takes.
        setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
        freshRecord();
        setRecInt(rec::KwzPresent, 1);
        std::strcpy(kwzName(0), "Praxis");
        std::strcpy(kwzNumber(0), "069123");
        for (FileKind p : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers})
            markClean(p, all);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    // Every dialog there is to reach.
    static std::vector<Reach> reaches()
    {
        std::vector<Reach> all;
        for (const MainButton &b : mainButtons())
            if (!notADialog.count(b.button))
                all.push_back({b.button});
        for (const Inner &i : innerDialogs)
            all.push_back({i.row, i.button});
        return all;
    }

    // Opens the dialog, has check work on it (check must end its run, by
    // keys sent), and tells whether the dialog's run ended by itself.
    static bool withDialog(const Reach &r, const std::function<void(Widget)> &check)
    {
        bool reached = false;
        Stuck stuck{nullptr};
        XtIntervalId rescue = 0;
        auto inDialog = [&](Widget dialog) {
            reached = true;
            check(dialog);
            // Keys that end nothing must not hang the test.
            stuck.dialog = dialog;
            rescue = XtAppAddTimeOut(guiApp(), 2000, closeStuck, &stuck);
        };
        int wait = guiWhenActive([&](Widget outer) {
            if (!r.inner) {
                inDialog(outer);
                return;
            }
            if (r.row == "kurz") {
                showkwz();
                XmListSelectPos(guiFind(outer, "*ziele"), 1, False);
            }
            int inner = guiWhenActive(inDialog, outer);
            guiPress(guiFind(outer, r.inner));
            if (guiCancelWait(inner))
                ADD_FAILURE() << r.label() << ": no dialog opened";
            guiLater(0, [outer] { XmtDialogCancelCallback(outer, nullptr, nullptr); });
        });
        guiPress(mainWidget(("*" + r.row).c_str()));
        if (guiCancelWait(wait))
            ADD_FAILURE() << r.label() << ": no dialog opened";
        if (rescue && stuck.ended)
            XtRemoveTimeOut(rescue);
        guiPump(20);
        return reached && stuck.ended;
    }
};

TEST_F(DialogKeys, OpenWithTheKeysInTheFirstInputAndEscapeLeavesTheRecordAsItWas)
{
    for (const Reach &r : reaches()) {
        SCOPED_TRACE(r.label());
        SetUp();
        std::vector<unsigned char> before = recordImage();
        Widget focus = nullptr, expected = nullptr, shell = nullptr;
        bool ended = withDialog(r, [&](Widget dialog) {
            shell = dialog;
            guiFocusIn(dialog);
            guiPump(30);
            focus = guiFocus(dialog);
            expected = expectedFocus(dialog);
            // Something typed and not taken yet goes with Escape.
            if (Widget field = firstField(dialog))
                XmTextFieldInsert(field, 0, const_cast<char *>("1"));
            guiKey(dialog, "Escape");
        });
        EXPECT_TRUE(ended) << "Escape did not close it";
        EXPECT_NE(expected, nullptr);
        EXPECT_EQ(nameOf(focus), nameOf(expected));
        EXPECT_FALSE(shell && guiViewable(shell));
        EXPECT_TRUE(recordImage() == before) << "Escape changed the record";
    }
}

TEST_F(DialogKeys, ReturnInAFieldIsTheDialogsOk)
{
    int withFields = 0;
    for (const Reach &r : reaches()) {
        SCOPED_TRACE(r.label());
        SetUp();
        bool hasField = false, okayPressed = false;
        Widget okay = nullptr;
        bool ended = withDialog(r, [&](Widget dialog) {
            Widget field = firstField(dialog);
            okay = button(dialog, "okay");
            hasField = field && okay;
            if (!hasField) {
                XmtDialogCancelCallback(dialog, nullptr, nullptr);
                return;
            }
            XtAddCallback(okay, XmNactivateCallback, onOkay, &okayPressed);
            guiFocusIn(dialog);
            XmProcessTraversal(field, XmTRAVERSE_CURRENT);
            guiPump(20);
            guiKey(dialog, "Return");
        });
        if (okay)
            XtRemoveCallback(okay, XmNactivateCallback, onOkay, &okayPressed);
        if (!hasField)
            continue;
        ++withFields;
        EXPECT_TRUE(okayPressed);
        EXPECT_TRUE(ended) << "Return did not close it";
    }
    EXPECT_GE(withFields, 8) << "the dialogs with fields were not reached";
}

// A text the field refuses keeps the dialog up: Return then is no OK.
TEST_F(DialogKeys, ReturnOnARefusedTextKeepsTheDialog)
{
    Reach global{"global"};
    bool okayPressed = false;
    Widget okay = nullptr;
    std::string warning;
    withDialog(global, [&](Widget dialog) {
        // The country code is written without its leading zero.
        Widget field = guiFind(dialog, "*lkz");
        okay = button(dialog, "okay");
        XtAddCallback(okay, XmNactivateCallback, onOkay, &okayPressed);
        guiFocusIn(dialog);
        XmProcessTraversal(field, XmTRAVERSE_CURRENT);
        guiPump(20);
        XmTextFieldSetString(field, const_cast<char *>("04"));
        guiKey(dialog, "Return");
        guiPump(50);
        warning = takeWarning();
        XmtDialogCancelCallback(dialog, nullptr, nullptr);
    });
    if (okay)
        XtRemoveCallback(okay, XmNactivateCallback, onOkay, &okayPressed);
    EXPECT_FALSE(warning.empty()) << "04 was taken";
    EXPECT_FALSE(okayPressed);
}

// The main window's buttons, each reached with Tab.
TEST(MainWindowKeys, TabReachesEveryButton)
{
    REQUIRE_DISPLAY();
    Widget top = programTop();
    freshRecord();
    // The test application's shell was realized before the main window was
    // built and kept its small size; a button outside the window or cut off
    // by its frame is not one Tab goes to.  Here the window has room.
    Dimension width = 0, height = 0;
    XtVaGetValues(top, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaSetValues(top, XmNwidth, WidthOfScreen(XtScreen(top)), XmNheight, HeightOfScreen(XtScreen(top)), nullptr);
    guiPump(50);
    guiFocusIn(top);
    guiPump(30);
    std::set<std::string> reached;
    for (int i = 0; i < 60; ++i) {
        if (Widget w = guiFocus(top))
            reached.insert(XtName(w));
        guiKey(top, "Tab");
        guiPump(10);
    }
    std::string names;
    for (const std::string &r : reached)
        names += r + " ";
    for (const MainButton &b : mainButtons())
        EXPECT_TRUE(reached.count(b.button)) << b.button << " not among " << names;
    XtVaSetValues(top, XmNwidth, width, XmNheight, height, nullptr);
}

} // namespace
