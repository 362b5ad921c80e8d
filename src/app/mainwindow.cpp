// The main window: version line, the button rule, help and quitting.
#include "app/app.h"

#include "app/portchooser.h"
#include "app/registry.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/trace.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/transferwindow.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// The file the configuration in the window last came from or went to.
std::string shownFile;

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

void showWindowTitle()
{
    if (!toplevel)
        return;
    const char *base = XmtGetResourceString(toplevel, nullptr, "title");
    std::string title = unsavedWork() ? "*" : "";
    if (!shownFile.empty())
        title += shownFile + " - ";
    title += base ? base : "kelvora";
    if (deviceIsAChosenOne())
        title += std::string(" - ") + devicePath();
    char *now = nullptr;
    XtVaGetValues(toplevel, XmNtitle, &now, nullptr);
    // Every dialog's end asks; the window manager hears only of a change.
    if (!now || title != now)
        XtVaSetValues(toplevel, XmNtitle, title.c_str(), nullptr);
}

void followDialogEdits()
{
    // The dialog's caller stores what it took once the run has returned; the
    // title looks when the event loop next runs.
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    XtAppAddTimeOut(XtWidgetToApplicationContext(toplevel), 0, [](XtPointer, XtIntervalId *) {
        pending = false;
        showWindowTitle();
    }, nullptr);
}

void showFileInTitle(const char *path)
{
    std::string p = path ? path : "";
    shownFile = XmtFileNameText(p.substr(p.find_last_of('/') + 1));
    showWindowTitle();
}

std::string clockTime()
{
    std::time_t t = std::time(nullptr);
    char text[8] = "";
    std::strftime(text, sizeof text, "%H:%M", std::localtime(&t));
    return text;
}

void tellStep(const char *name, const char *own, const std::string &what)
{
    if (Widget line = messageLine())
        XmtMsgLineShowNamed(line, name, own, what.c_str());
    showWindowTitle();
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
    return unsavedChanges(FileKind::Configuration) || unsavedChanges(FileKind::SpeedDial) ||
           unsavedChanges(FileKind::Subscribers);
}

// "Beenden" and a close request from outside (the window manager's close
// button), at any moment: with changes neither saved nor programmed the user
// is asked first, and "Nein" (the default) stays.  A close request reaches the
// program also while a transfer runs (its working dialog runs the event loop)
// or while this question is up: the first waits for the transfer's end, the
// second is the same request again.
void quitting(Widget, XtPointer, XtPointer)
{
    static bool asking = false;
    if (asking)
        return;
    if (transferRunning()) {
        whenNoTransfer([] { quitting(); });
        return;
    }
    asking = true;
    bool quit = !unsavedWork() || XmtAskIrreversible(toplevel, "quitUnsaved",
                                                      "Es gibt Änderungen, die weder gesichert\nnoch programmiert "
                                                      "sind.\nProgramm trotzdem beenden?",
                                                      "No Help!");
    asking = false;
    if (quit)
        quitNow();
}
