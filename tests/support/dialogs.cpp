#include <gtest/gtest.h>

#include "support/dialogs.h"

#include "app/app.h"
#include "config/record.h"
#include "support/gui.h"
#include "support/program.h"
#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

#include <Xm/TextF.h>
#include <cstring>

Widget dialogTop() { return programTop(); }

void freshRecord()
{
    dialogTop();
    // The dialogs are opened from a main window with a valid configuration.
    setRecInt(rec::CfgValid, 1);
    activateMainButtons();
    std::memset(all, 0, rec::RecordSize);
}

namespace {

// The dialog's own button named name, not one of a dialog it opens (those
// hang below it as popups, which children do not include).
Widget ownButton(Widget w, const char *name)
{
    return xmt::firstBelow(w, [name](Widget c) { return std::strcmp(XtName(c), name) == 0; });
}

Widget leavingButton(Widget dialog)
{
    for (const char *name : {"cancel", "okay", "quit"})
        if (Widget button = ownButton(dialog, name))
            return button;
    ADD_FAILURE() << XtName(dialog) << " has no button to leave it by";
    return nullptr;
}

} // namespace

void runModal(const std::function<void()> &open, const std::function<void(Widget)> &drive, const char *close,
              Widget outer)
{
    int wait = guiWhenActive(
        [&drive, close](Widget dialog) {
            drive(dialog);
            guiPress(close ? XmtNameToWidget(dialog, close) : leavingButton(dialog));
        },
        outer);
    open();
    if (guiCancelWait(wait))
        ADD_FAILURE() << "no modal dialog ran, so nothing was driven in it";
}

void typeInto(Widget field, const char *text)
{
    ASSERT_NE(field, nullptr);
    XmTextFieldSetString(field, const_cast<char *>(""));
    for (const char *c = text; *c; ++c) {
        char one[2] = {*c, 0};
        XmTextFieldInsert(field, XmTextFieldGetLastPosition(field), one);
    }
    XmAnyCallbackStruct cbs{XmCR_ACTIVATE, nullptr};
    XtCallCallbacks(field, XmNactivateCallback, &cbs);
}

std::string takeWarning() { return takeMessage("msg1"); }

void pick(Widget dialog, const char *chooser, int state) { XmtChooserSetState(guiFind(dialog, chooser), state, True); }

int stateOf(Widget dialog, const char *chooser) { return XmtChooserGetState(guiFind(dialog, chooser)); }

bool itemSensitive(Widget dialog, const char *chooser, int item)
{
    return XmtChooserGetSensitive(guiFind(dialog, chooser), item);
}

bool sensitive(Widget dialog, const char *name) { return XtIsSensitive(guiFind(dialog, name)); }

// What the field shows, which for a value longer than its pattern is less than
// the field hands back.
std::string fieldText(Widget dialog, const char *name)
{
    Widget field = guiFind(dialog, name);
    if (!field || !XmIsTextField(field))
        return "";
    char *t = XmTextFieldGetString(field);
    std::string text = t ? t : "";
    XtFree(t);
    return text;
}
