// The working dialog with its progress scale.  A transfer blocks the event
// loop, so the dialog paints itself whenever it changes.
#include "toolkit/internal.h"

#include <Xm/DialogS.h>
#include <Xm/MessageB.h>
#include <Xm/Protocols.h>
#include <Xm/Scale.h>

#include <algorithm>
#include <map>

namespace xmt {
namespace {

struct Working {
    Widget box = nullptr;
    Widget scale = nullptr;
};

// One working dialog per shell that asked for one.
std::map<Widget, Working> &workings()
{
    static std::map<Widget, Working> table;
    return table;
}

Working *byBox(Widget box)
{
    for (auto &[shell, wk] : workings())
        if (wk.box == box)
            return &wk;
    return nullptr;
}

void destroyed(Widget box, XtPointer, XtPointer)
{
    for (auto it = workings().begin(); it != workings().end();)
        it = it->second.box == box ? workings().erase(it) : std::next(it);
}

void noteExposed(Widget, XtPointer client, XEvent *event, Boolean *)
{
    if (event->type == Expose && event->xexpose.count == 0)
        *static_cast<bool *>(client) = true;
}

void noteGone(Widget, XtPointer client, XtPointer)
{
    *static_cast<bool *>(client) = true;
}

void timedOut(XtPointer client, XtIntervalId *)
{
    *static_cast<bool *>(client) = true;
}

// Manages the box and runs the event loop until it has been painted (or a
// short while has passed: a window manager may keep it from being mapped).
void showNow(Widget box)
{
    if (XtIsManaged(box)) {
        XmUpdateDisplay(box);
        return;
    }
    // The loop handles anything, also what destroys the box with its parent:
    // its handler list is not touched then (freed memory).
    bool exposed = false, late = false, gone = false;
    XtAddEventHandler(box, ExposureMask, False, noteExposed, &exposed);
    XtAddCallback(box, XmNdestroyCallback, noteGone, &gone);
    XtManageChild(box);
    XtIntervalId id = XtAppAddTimeOut(app, 2000, timedOut, &late);
    while (!exposed && !late && !gone && !XtAppGetExitFlag(app))
        XtAppProcessEvent(app, XtIMAll);
    if (!late)
        XtRemoveTimeOut(id);
    if (gone)
        return;
    XtRemoveCallback(box, XmNdestroyCallback, noteGone, &gone);
    XtRemoveEventHandler(box, ExposureMask, False, noteExposed, &exposed);
    XmUpdateDisplay(box);
}

} // namespace
} // namespace xmt

using namespace xmt;

Widget XmtDisplayWorkingDialog(Widget w, const char *dialog_name, const char *message_default,
                               const char *scale_label_default, const char *button_label_default, int scale_min,
                               int scale_max, Boolean show_scale, Boolean show_button)
{
    Widget parent = shellOf(w ? w : toplevel);
    std::string name = dialog_name && *dialog_name ? dialog_name : "working";
    auto res = [&](const char *field, const char *fallback) {
        const char *r = lookup(parent, name.c_str(), "XmMessageBox", field);
        return r ? r : fallback;
    };
    // Kept for the shell once made; the name only picks the resource lines.
    Working &wk = workings()[parent];
    if (!wk.box) {
        Arg args[2];
        XtSetArg(args[0], const_cast<char *>(XmNdialogStyle), XmDIALOG_FULL_APPLICATION_MODAL);
        XtSetArg(args[1], const_cast<char *>(XmNautoUnmanage), False);
        wk.box = XmCreateWorkingDialog(parent, const_cast<char *>(name.c_str()), args, 2);
        scaleSymbol(wk.box);
        Widget shell = XtParent(wk.box);
        XtVaSetValues(shell, XmNdeleteResponse, XmDO_NOTHING, nullptr);
        XtUnmanageChild(XmMessageBoxGetChild(wk.box, XmDIALOG_CANCEL_BUTTON));
        XtUnmanageChild(XmMessageBoxGetChild(wk.box, XmDIALOG_HELP_BUTTON));
        wk.scale = XtVaCreateWidget("scale", xmScaleWidgetClass, wk.box, XmNorientation, XmHORIZONTAL,
                                    XmNshowValue, True, nullptr);
        XtAddCallback(wk.box, XmNdestroyCallback, destroyed, nullptr);
    }
    XmString msg = makeString(res("message", message_default ? message_default : ""));
    XmString ttl = makeString(res("title", "Bitte warten"));
    XmString btn = makeString(res("buttonLabel", button_label_default ? button_label_default : "OK"));
    XtVaSetValues(wk.box, XmNmessageString, msg, XmNdialogTitle, ttl, XmNokLabelString, btn, nullptr);
    XmStringFree(msg);
    XmStringFree(ttl);
    XmStringFree(btn);
    if (scale_max <= scale_min)
        scale_max = scale_min + 1;
    XmString scaleTitle = makeString(res("scaleLabel", scale_label_default ? scale_label_default : ""));
    XtVaSetValues(wk.scale, XmNminimum, scale_min, XmNmaximum, scale_max, XmNvalue, scale_min, XmNtitleString,
                  scaleTitle, nullptr);
    XmStringFree(scaleTitle);
    if (show_scale)
        XtManageChild(wk.scale);
    else
        XtUnmanageChild(wk.scale);
    Widget ok = XmMessageBoxGetChild(wk.box, XmDIALOG_OK_BUTTON);
    if (show_button)
        XtManageChild(ok);
    else
        XtUnmanageChild(ok);
    showNow(wk.box);
    return wk.box;
}

void XmtWorkingBoxSetScaleValue(Widget working_box, int value)
{
    Working *wk = byBox(working_box);
    if (!wk)
        return;
    int min = 0, max = 0;
    XtVaGetValues(wk->scale, XmNminimum, &min, XmNmaximum, &max, nullptr);
    // Through XtSetValues rather than XmScaleSetValue, so that Xt's change hooks
    // see every value (tests follow a transfer's progress that way).
    XtVaSetValues(wk->scale, XmNvalue, std::clamp(value, min, max), nullptr);
    XmUpdateDisplay(wk->box);
    XFlush(XtDisplay(wk->box));
}

int XmtWorkingBoxGetScaleValue(Widget working_box)
{
    Working *wk = byBox(working_box);
    if (!wk)
        return 0;
    int value = 0;
    XmScaleGetValue(wk->scale, &value);
    return value;
}

Widget XmtWorkingScaleOf(Widget working_box)
{
    Working *wk = byBox(working_box);
    return wk ? wk->scale : nullptr;
}

void XmtHideWorkingDialog(Widget w)
{
    if (!w)
        return;
    Working *wk = byBox(w);
    if (!wk) {
        auto it = workings().find(shellOf(w));
        wk = it == workings().end() ? nullptr : &it->second;
    }
    if (!wk || !wk->box)
        return;
    XtUnmanageChild(wk->box);
    XFlush(XtDisplay(wk->box));
}
