// Dialogs built from resource lines, bound to buffers and run modally.
#include "toolkit/internal.h"

#include <Xm/DialogS.h>
#include <Xm/Form.h>
#include <Xm/List.h>
#include <Xm/Protocols.h>
#include <Xm/PushB.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace xmt {
namespace {

struct Binding {
    std::string name;
    Cardinal size;
    Cardinal offset;
    Widget field;
};

struct Dialog {
    Widget shell = nullptr;
    std::vector<Widget> fields;
    std::vector<Binding> bindings;
    // What Return in a field and Escape anywhere press; no cancel: Escape ends
    // the run as the window's close button does.
    Widget okayButton = nullptr;
    Widget cancelButton = nullptr;
    // The box below the dialog that we pointed the focus to; a dialog that
    // set its own keeps it.
    Widget focusSetHere = nullptr;
    bool running = false;
    bool done = false;
    bool okay = false;
};

std::map<Widget, std::unique_ptr<Dialog>> &dialogs()
{
    static std::map<Widget, std::unique_ptr<Dialog>> table;
    return table;
}

std::function<void()> &afterRuns()
{
    static std::function<void()> f;
    return f;
}

std::vector<Widget> &active()
{
    static std::vector<Widget> stack;
    return stack;
}

Dialog *find(Widget shell)
{
    auto it = dialogs().find(shell);
    return it == dialogs().end() ? nullptr : it->second.get();
}

// The dialog a widget belongs to: its own shell, or the shell's dialog ancestors.
Dialog *dialogOf(Widget w)
{
    for (Widget s = shellOf(w); s; s = shellOf(XtParent(s))) {
        if (Dialog *d = find(s))
            return d;
        if (!XtParent(s))
            break;
    }
    return nullptr;
}

void destroyed(Widget w, XtPointer, XtPointer)
{
    // A run in progress still looks at its flags: keep the record alive.
    static std::vector<std::unique_ptr<Dialog>> graveyard;
    auto it = dialogs().find(w);
    if (it == dialogs().end())
        return;
    it->second->done = true;
    it->second->shell = nullptr;
    graveyard.push_back(std::move(it->second));
    dialogs().erase(it);
}

void wmClose(Widget w, XtPointer, XtPointer)
{
    XmtDialogCancelCallback(w, nullptr, nullptr);
}

Widget content(Widget shell)
{
    WidgetList kids;
    Cardinal n = 0;
    XtVaGetValues(shell, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    return n ? kids[0] : nullptr;
}

Widget buttonNamed(Widget top, const char *name)
{
    return firstBelow(top, [name](Widget w) { return XmIsPushButton(w) && strcmp(XtName(w), name) == 0; });
}

bool usable(Widget w)
{
    return w && XtIsManaged(w) && XtIsSensitive(w);
}

// Where typing should go: the first field or list that takes input now,
// else the button that changes nothing.
Widget focusTarget(const Dialog &d, Widget top)
{
    if (Widget input = firstBelow(top, [](Widget w) { return (XmtIsInputField(w) || XmIsList(w)) && usable(w); }))
        return input;
    if (usable(d.cancelButton))
        return d.cancelButton;
    return usable(d.okayButton) ? d.okayButton : nullptr;
}

// Every manager between the dialog's box and the target points the way down,
// or the focus stops at the first nested box.  A dialog that pointed it
// elsewhere itself keeps its own.  Gives the widget to start in.
Widget pointFocusAt(Dialog &d, Widget top)
{
    Widget now = nullptr;
    XtVaGetValues(top, XmNinitialFocus, &now, nullptr);
    if (now && now != d.focusSetHere) {
        while (XmIsManager(now)) {
            Widget inner = nullptr;
            XtVaGetValues(now, XmNinitialFocus, &inner, nullptr);
            if (!inner)
                break;
            now = inner;
        }
        return now;
    }
    Widget target = focusTarget(d, top);
    for (Widget c = target; c && c != top;) {
        Widget p = XtParent(c);
        if (XmIsManager(p))
            XtVaSetValues(p, XmNinitialFocus, c, nullptr);
        d.focusSetHere = c;
        c = p;
    }
    return target;
}

void press(Widget button, XEvent *event)
{
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = event;
    cbs.click_count = 1;
    XtCallCallbacks(button, XmNactivateCallback, &cbs);
}

void escapeAction(Widget w, XEvent *event, String *, Cardinal *)
{
    Dialog *d = dialogOf(w);
    if (!d || !d->running)
        return;
    if (usable(d->cancelButton))
        press(d->cancelButton, event);
    else if (!d->cancelButton)
        XmtDialogCancelCallback(w, nullptr, nullptr);
}

void returnAction(Widget w, XEvent *event, String *, Cardinal *)
{
    Dialog *d = dialogOf(w);
    // A text the field refused stays with the user, the dialog up.
    if (d && d->running && inputFieldAccepted(w) && usable(d->okayButton))
        press(d->okayButton, event);
}

constexpr const char *EscapeKeys = "<Key>osfCancel: XmtDialogEscape()";
constexpr const char *ReturnKeys = "<Key>osfActivate: activate() XmtDialogReturn()\n"
                                   "~Shift ~Meta ~Alt <Key>Return: activate() XmtDialogReturn()";

// Escape everywhere in the dialog, Return in its fields.  A gadget (an
// option menu's button) has no keys of its own: its manager takes them.
void bindKeys(Widget top)
{
    static XtTranslations escape = XtParseTranslationTable(EscapeKeys);
    static XtTranslations enter = XtParseTranslationTable(ReturnKeys);
    firstBelow(top, [](Widget w) {
        if (XmIsPrimitive(w) || XmIsManager(w)) {
            XtOverrideTranslations(w, escape);
            if (XmtIsInputField(w))
                XtOverrideTranslations(w, enter);
        }
        return false;
    });
}

Boolean run(Dialog *d)
{
    Widget shell = d->shell;
    Widget child = content(shell);
    if (!child)
        return False;
    d->done = false;
    d->okay = false;
    d->running = true;
    pushActive(shell);
    Widget start = pointFocusAt(*d, child);
    XtManageChild(child); // a dialog shell pops up with its child
    // The initial focus counts only the first time the shell gets the keyboard.
    if (start)
        XmProcessTraversal(start, XmTRAVERSE_CURRENT);
    waitFor(&d->done);
    popActive(shell);
    d->running = false;
    bool okay = d->shell && d->okay;
    if (d->shell)
        XtUnmanageChild(child);
    if (afterRuns())
        afterRuns()();
    return okay;
}

void okayProc(Widget w, XtPointer, XtPointer)
{
    XmtDialogOkayCallback(w, nullptr, nullptr);
}

void cancelProc(Widget w, XtPointer, XtPointer)
{
    XmtDialogCancelCallback(w, nullptr, nullptr);
}

} // namespace

void pushActive(Widget w)
{
    active().push_back(w);
}

void popActive(Widget w)
{
    auto &s = active();
    auto it = std::find(s.rbegin(), s.rend(), w);
    if (it != s.rend())
        s.erase(std::next(it).base());
}

void waitFor(const bool *done)
{
    while (!*done && !XtAppGetExitFlag(app))
        XtAppProcessEvent(app, XtIMAll);
}

void registerDialogProcedures()
{
    XmtRegisterCallbackProcedure("XmtDialogOkayCallback", okayProc);
    XmtRegisterCallbackProcedure("XmtDialogCancelCallback", cancelProc);
    static XtActionsRec keys[] = {
        {const_cast<String>("XmtDialogEscape"), escapeAction},
        {const_cast<String>("XmtDialogReturn"), returnAction},
    };
    XtAppAddActions(app, keys, XtNumber(keys));
}

} // namespace xmt

using namespace xmt;

Widget XmtBuildDialog(Widget parent, const char *name, XtResourceList resources, Cardinal num_resources)
{
    Arg args[2];
    XtSetArg(args[0], const_cast<char *>(XmNdeleteResponse), XmDO_NOTHING);
    XtSetArg(args[1], const_cast<char *>(XmNallowShellResize), True);
    Widget shell = XtCreatePopupShell(name, xmDialogShellWidgetClass, parent, args, 2);
    BuildResult result;
    buildChildren(shell, shell, false, result);
    if (result.created == 0) {
        resourceProblem("dialog %s has no children\n", XmtWidgetPath(shell).c_str());
        XtDestroyWidget(shell);
        return nullptr;
    }
    auto d = std::make_unique<Dialog>();
    d->shell = shell;
    d->fields = result.fields;
    for (Cardinal i = 0; i < num_resources; ++i) {
        const XtResource &r = resources[i];
        if (!r.resource_type || strcmp(r.resource_type, "Buffer") != 0)
            continue;
        Widget field = nullptr;
        for (Widget f : result.fields)
            if (strcmp(inputFieldBinding(f), r.resource_name) == 0)
                field = f;
        if (!field) {
            resourceProblem("no input field for resource \"%s\" in %s\n", r.resource_name,
                    XmtWidgetPath(shell).c_str());
            continue;
        }
        d->bindings.push_back(Binding{r.resource_name, r.resource_size, r.resource_offset, field});
    }
    if (Widget top = content(shell)) {
        d->okayButton = buttonNamed(top, "okay");
        d->cancelButton = buttonNamed(top, "cancel");
        if (!d->cancelButton)
            d->cancelButton = buttonNamed(top, "quit");
        bindKeys(top);
    }
    Atom wmDelete = XmInternAtom(XtDisplay(shell), const_cast<char *>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, wmDelete, wmClose, nullptr);
    XtAddCallback(shell, XmNdestroyCallback, destroyed, nullptr);
    dialogs()[shell] = std::move(d);
    return shell;
}

void XmtDialogSetData(Widget dialog, XtPointer base)
{
    Dialog *d = dialogOf(dialog);
    if (!d || !base)
        return;
    for (const Binding &b : d->bindings) {
        if (b.size == 0)
            continue;
        const char *buf = static_cast<const char *>(base) + b.offset;
        // Shown as it will be stored back: at most size - 1 characters.
        inputFieldSetRaw(b.field, buf, strnlen(buf, b.size - 1));
    }
}

void XmtDialogGetData(Widget dialog, XtPointer base)
{
    Dialog *d = dialogOf(dialog);
    if (!d || !base)
        return;
    for (const Binding &b : d->bindings) {
        // A buffer whose field the user left alone keeps every byte, also
        // those the field could not show.
        if (b.size == 0 || !inputFieldChanged(b.field))
            continue;
        char *buf = static_cast<char *>(base) + b.offset;
        const char *text = XmtInputFieldGetString(b.field);
        size_t n = std::min<size_t>(strlen(text), b.size - 1);
        memcpy(buf, text, n);
        buf[n] = '\0';
    }
}

Boolean XmtDialogDo(Widget dialog, XtPointer base)
{
    Dialog *d = dialogOf(dialog);
    if (!d)
        return False;
    Widget shell = d->shell;
    XmtDialogSetData(shell, base);
    Boolean okay = run(d);
    if (okay)
        XmtDialogGetData(shell, base);
    return okay;
}

Boolean XmtDialogRun(Widget dialog)
{
    Dialog *d = dialogOf(dialog);
    return d ? run(d) : False;
}

void XmtDialogOkayCallback(Widget w, XtPointer, XtPointer)
{
    Dialog *d = dialogOf(w);
    if (!d)
        return;
    Widget shell = d->shell;
    // A field still being edited is checked as if it had lost the focus.
    std::vector<Widget> fieldsNow = d->fields;
    for (Widget f : fieldsNow)
        if (!inputFieldCommitIfChanged(f))
            return;
    if ((d = find(shell))) {
        d->okay = true;
        d->done = true;
    }
}

void XmtDialogCancelCallback(Widget w, XtPointer, XtPointer)
{
    if (Dialog *d = dialogOf(w)) {
        d->okay = false;
        d->done = true;
    }
}

void XmtAfterDialogRuns(std::function<void()> f)
{
    afterRuns() = std::move(f);
}

Widget XmtActiveDialog()
{
    return active().empty() ? nullptr : active().back();
}
