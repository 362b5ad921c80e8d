#include <gtest/gtest.h>

#include "support/program.h"

#include "app/app.h"
#include "app/registry.h"
#include "config/record.h"
#include "support/fresh.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <X11/IntrinsicP.h>
#include <Xm/Scale.h>
#include <cstring>

namespace {

// The program's own table is the fallback of the test application, as in the
// program, so lines a test merges later still override it.
struct ProgramResources {
    ProgramResources()
    {
        for (const char **line = mainWindowResources(); *line; ++line)
            GuiStartupResources({*line});
    }
} programResources;

char device[] = "/dev/ttyS9";

void watchSetValues(Widget, XtPointer, XtPointer call)
{
    auto *change = static_cast<XtChangeHookDataRec *>(call);
    if (change->type != XtHsetValues || !XmIsScale(change->widget))
        return;
    auto *data = static_cast<XtChangeHookSetValuesDataRec *>(change->event_data);
    for (Cardinal i = 0; i < data->num_args; ++i)
        if (std::strcmp(data->args[i].name, XmNvalue) == 0)
            scaleValues().push_back(int(data->args[i].value));
}

// Every widget of the main window with its sensitivity as the resource lines
// gave it, before anything refreshed the buttons.
std::vector<std::pair<Widget, bool>> &startSensitivity()
{
    static std::vector<std::pair<Widget, bool>> table;
    return table;
}

void noteSensitivity(Widget w)
{
    Boolean own = True; // not XtIsSensitive, which includes the ancestors'
    XtVaGetValues(w, XtNsensitive, &own, nullptr);
    startSensitivity().emplace_back(w, own);
    if (!XtIsComposite(w))
        return;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; i++)
        noteSensitivity(kids[i]);
}

void startAgain()
{
    setDevicePath(device);
    setChooserState(toplevel, "*whsel", 0);
    for (auto [w, sensitive] : startSensitivity())
        XtSetSensitive(w, sensitive);
    kelvora_vers();
    showFileInTitle("");
    scaleValues().clear();
}

} // namespace

Widget programTop()
{
    static bool started = false;
    if (!started) {
        started = true;
        if (!all)
            AllocateStructs();
        toplevel = guiTop();
        setDevicePath(device);
        buildMainWindow();
        XtAddCallback(XtHooksOfDisplay(XtDisplay(toplevel)), XtNchangeHook, watchSetValues, nullptr);
        guiPump(50);
        noteSensitivity(toplevel);
        atFreshStart(startAgain);
    }
    return toplevel;
}

// Below the main window: dialogs built under the same top have widgets of the
// same names ("*help", "*okay").
Widget mainWidget(const char *name) { return guiFind(XmtNameToWidget(programTop(), "main"), name); }

std::vector<std::string> editingButtons()
{
    std::vector<std::string> names;
    for (const MainButton &b : mainButtons())
        if (b.needsValidConfiguration)
            names.push_back(std::string("*") + b.button);
    return names;
}

std::vector<int> &scaleValues()
{
    static std::vector<int> values;
    return values;
}
