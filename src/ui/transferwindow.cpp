#include "ui/transferwindow.h"

#include "link/serial.h"
#include "resources/fill.h"
#include "toolkit/toolkit.h"

#include <cstdio>

namespace {

int running = 0;
void (*waiting)() = nullptr;

void runWaiting(XtPointer, XtIntervalId *)
{
    if (transferRunning())
        return; // one started meanwhile: its end calls again
    void (*f)() = waiting;
    waiting = nullptr;
    if (f)
        f();
}

void callWaitingSoon()
{
    if (waiting && toplevel)
        XtAppAddTimeOut(XtWidgetToApplicationContext(toplevel), 0, runWaiting, nullptr);
}

} // namespace

bool transferRunning() { return running > 0; }

void whenNoTransfer(void (*f)())
{
    waiting = f;
    if (!transferRunning())
        callWaitingSoon();
}

void WindowObserver::leave()
{
    if (!running_)
        return;
    running_ = false;
    if (--running == 0)
        callWaitingSoon();
}

void WindowObserver::started(const TransferShow &show)
{
    if (!running_) {
        running_ = true;
        ++running;
    }
    wbox_ = XmtDisplayWorkingDialog(parent_, show.name, show.message, show.scale ? show.scaleLabel : "",
                                    show.scale ? "Abbrechen" : "", 0, show.scaleMax, show.scale, False);
}

void WindowObserver::progress(int value) { XmtWorkingBoxSetScaleValue(wbox_, value); }

void WindowObserver::ended(const TransferTrouble *trouble)
{
    leave();
    if (parent_) {
        XmtHideWorkingDialog(parent_);
        // Focus may only go to a viewable window; anything else is an X error.
        XWindowAttributes wa;
        if (XtIsRealized(parent_) && XGetWindowAttributes(XtDisplay(parent_), XtWindow(parent_), &wa) &&
            wa.map_state == IsViewable)
            XSetInputFocus(XtDisplay(parent_), XtWindow(parent_), RevertToParent, CurrentTime);
    }
    if (trouble) {
        std::string lines = adviceText(parent_, trouble->advice, trouble->adviceArg.c_str());
        if (trouble->partly) {
            std::string held = adviceText(parent_, advice::Partly, "");
            lines = lines.empty() ? held : held + "\n" + lines;
        }
        showTransferErr(parent_, trouble->text.c_str(), lines.c_str());
    }
}

void WindowObserver::portFailed(const TransferTrouble &trouble)
{
    // The line serial programs write; kelvoractl says it in German instead.
    sayOnStandardError(trouble.portLine);
    // Started from a desktop menu, the program has no standard error anyone reads.
    if (!parent_ || trouble.text.empty())
        return;
    std::string line = adviceText(parent_, trouble.advice, trouble.adviceArg.c_str());
    showTransferErr(parent_, trouble.text.c_str(), line.c_str());
}

int getNextPacket(Widget parent, int fd, unsigned char *buffer)
{
    WindowObserver observer(parent);
    return getNextPacket(observer, fd, buffer);
}

void stop_conn(Widget parent, int fd, int code)
{
    WindowObserver observer(parent);
    stop_conn(observer, fd, code);
}

int sendAndCheck(int fd, Widget parent, Widget wbox, int code, int subcode, const unsigned char *data, int length,
                 int total, int *counter)
{
    WindowObserver observer(parent, wbox);
    return sendAndCheck(fd, observer, code, subcode, data, length, total, counter);
}

void showPercent(Widget wbox, int total, int done)
{
    if (int percent = percentOf(total, done); percent >= 0)
        XmtWorkingBoxSetScaleValue(wbox, percent);
}

void showTransferErr(Widget parent, const char *text, const char *advice)
{
    // The advice goes into the argument: the message stays as it is.
    std::string shown = text ? text : "";
    if (advice && *advice)
        shown += std::string("\n") + advice;
    XmtDisplayErrorMsg(parent, "tranfer_err", "Fehler bei der Uebertragung: \n%s", "Uebertragungs-Fehler",
                       "No Help!", shown.c_str());
}

std::string adviceText(Widget parent, const char *which, const char *arg)
{
    Widget ref = parent ? parent : toplevel;
    const char *line = ref && which ? XmtGetResourceString(ref, "tranfer_err", which) : nullptr;
    if (!line)
        return "";
    return fillPlaceholders(line, {arg ? arg : ""});
}
