// The main window: version line, the button rule, help and quitting.
#include "app/app.h"

#include "app/registry.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/trace.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <cstdlib>
#include <string>

namespace {

Widget messageLine()
{
    return toplevel ? XmtNameToWidget(toplevel, "*theline") : nullptr;
}

// Frees the record, closes the trace and exits with status 0.
[[noreturn]] void quitNow()
{
    std::free(all);
    all = nullptr;
    closeTrace();
    std::exit(0);
}

} // namespace

void kelvora_vers()
{
    if (Widget line = messageLine()) {
        XmtMsgLineClear(line, XmtMsgLineNow);
        XmtMsgLinePrintf(line, "kelvora v%s", KelvoraVersion);
    }
}

void show_anl_vers()
{
    if (Widget line = messageLine()) {
        XmtMsgLineClear(line, XmtMsgLineNow);
        XmtMsgLinePrintf(line, "ROM-Version: %s", anl_vers);
    }
}

void activateMainButtons()
{
    int valid = recInt(rec::CfgValid) != 0;
    for (const MainButton &b : mainButtons())
        if (b.needsValidConfiguration)
            set_active(toplevel, ("*" + std::string(b.button)).c_str(), valid);
    // The internal-numbers dialog, once it has been built.
    set_active(toplevel, "*rufzuord", valid);
    setChooserSensitive(toplevel, "*absel", valid);
    // There is only ever PBX A.
    setChooserItemSensitive(toplevel, "*absel", 1, false);
}

void showHelp(Widget w, XtPointer, XtPointer)
{
    const char *text = XmtGetResourceString(w, nullptr, "helpText");
    XmtDisplayInformationMsg(toplevel, "msg1", "%s", "Hilfe", nullptr, text ? text : "");
}

bool unsavedWork()
{
    return unsavedChanges(RecordPart::Configuration) || unsavedChanges(RecordPart::SpeedDial) ||
           unsavedChanges(RecordPart::Subscribers);
}

// "Beenden" and the window manager's close: with changes neither saved nor
// programmed the user is asked first, and "Nein" (the default) stays.
void quitting(Widget, XtPointer, XtPointer)
{
    if (unsavedWork() && !XmtAskIrreversible(toplevel, "quitUnsaved",
                                             "Es gibt Änderungen, die weder gesichert\nnoch programmiert "
                                             "sind.\nProgramm trotzdem beenden?",
                                             "No Help!"))
        return;
    quitNow();
}
