// Message boxes by name, yes/no questions and the integer prompt.
#include "toolkit/internal.h"

#include <Xm/DialogS.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/Protocols.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <map>

namespace xmt {
namespace {

std::map<std::string, Widget> &lastBoxes()
{
    static std::map<std::string, Widget> table;
    return table;
}

std::string plainName(const char *name)
{
    if (!name)
        return "message";
    while (*name == '*' || *name == '.')
        ++name;
    return *name ? name : "message";
}

Widget parentFor(Widget w)
{
    Widget s = w ? shellOf(w) : nullptr;
    return s ? s : toplevel;
}

// The resource "name.field" (e.g. "*msg1.message"), else the default.
const char *named(Widget parent, const std::string &name, const char *field, const char *fallback)
{
    const char *r = lookup(parent, name.c_str(), "XmMessageBox", field);
    return r ? r : fallback;
}

// Destroyed from the event loop, not inside the callbacks of its own buttons.
// The shell may go first with its parent: then the timer goes with it.
std::map<Widget, XtIntervalId> &pendingDestroys()
{
    static std::map<Widget, XtIntervalId> table;
    return table;
}

void destroyNow(XtPointer client, XtIntervalId *)
{
    auto w = static_cast<Widget>(client);
    pendingDestroys().erase(w);
    XtDestroyWidget(w);
}

void cancelDestroy(Widget w, XtPointer, XtPointer)
{
    auto it = pendingDestroys().find(w);
    if (it != pendingDestroys().end()) {
        XtRemoveTimeOut(it->second);
        pendingDestroys().erase(it);
    }
}

void destroyLater(Widget shell)
{
    if (pendingDestroys().count(shell))
        return;
    pendingDestroys()[shell] = XtAppAddTimeOut(XtWidgetToApplicationContext(shell), 0, destroyNow, shell);
    XtAddCallback(shell, XmNdestroyCallback, cancelDestroy, nullptr);
}

void destroyShellOf(Widget box, XtPointer, XtPointer)
{
    XtUnmanageChild(box);
    destroyLater(XtParent(box));
}

void forget(Widget box, XtPointer, XtPointer)
{
    for (auto it = lastBoxes().begin(); it != lastBoxes().end();)
        it = it->second == box ? lastBoxes().erase(it) : std::next(it);
}

void showHelp(Widget box, XtPointer client, XtPointer)
{
    auto *text = static_cast<std::string *>(client);
    showMessage(MsgType::Information, box, "help", text->c_str(), "Hilfe", nullptr);
}

void freeHelp(Widget, XtPointer client, XtPointer)
{
    delete static_cast<std::string *>(client);
}

// The help button shows the help text, or goes when there is none.
void setupHelp(Widget box, const char *help)
{
    if (help && *help) {
        auto *text = new std::string(help);
        XtAddCallback(box, XmNhelpCallback, showHelp, text);
        XtAddCallback(box, XmNdestroyCallback, freeHelp, text);
    } else {
        XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    }
}

struct Forward {
    Widget box;
    const char *callbacks;
    int reason;
};

void forward(Widget, XtPointer client, XtPointer call)
{
    auto *f = static_cast<Forward *>(client);
    XmAnyCallbackStruct cbs{f->reason, call ? static_cast<XmAnyCallbackStruct *>(call)->event : nullptr};
    XtCallCallbacks(f->box, f->callbacks, &cbs);
}

void freeForward(Widget, XtPointer client, XtPointer)
{
    delete static_cast<Forward *>(client);
}

// Motif's box buttons are gadgets, without windows of their own; a person (or
// a test) clicking a button needs a window.  The widget takes the gadget's
// label and place and runs the box's callbacks for it.
Widget widgetButton(Widget box, unsigned char which, const char *name, const char *callbacks, int reason)
{
    Widget gadget = XmMessageBoxGetChild(box, which);
    XmString label = nullptr;
    XtVaGetValues(gadget, XmNlabelString, &label, nullptr);
    bool shown = XtIsManaged(gadget);
    XtUnmanageChild(gadget);
    Widget b = XtVaCreateWidget(name, xmPushButtonWidgetClass, box, XmNlabelString, label, nullptr);
    XmStringFree(label);
    auto *f = new Forward{box, callbacks, reason};
    XtAddCallback(b, XmNactivateCallback, forward, f);
    XtAddCallback(b, XmNdestroyCallback, freeForward, f);
    if (shown)
        XtManageChild(b);
    return b;
}

// Replaces all three buttons.  The default one also gets the keyboard focus:
// Motif makes the focused push button the default, so Return presses the
// button that has the focus.
void useWidgetButtons(Widget box, bool defaultIsOk)
{
    setTextDefault(box, XmNhelpLabelString, "Hilfe");
    Widget ok = widgetButton(box, XmDIALOG_OK_BUTTON, "okButton", XmNokCallback, XmCR_OK);
    Widget cancel = widgetButton(box, XmDIALOG_CANCEL_BUTTON, "cancelButton", XmNcancelCallback, XmCR_CANCEL);
    widgetButton(box, XmDIALOG_HELP_BUTTON, "helpButton", XmNhelpCallback, XmCR_HELP);
    Widget fallback = defaultIsOk || !XtIsManaged(cancel) ? ok : cancel;
    XtVaSetValues(box, XmNdefaultButton, fallback, XmNinitialFocus, fallback, nullptr);
}

Arg shellArgs[] = {{const_cast<char *>(XmNdeleteResponse), XmDO_NOTHING}};

void onWmClose(Widget shell, XtCallbackProc proc, XtPointer client)
{
    Atom wmDelete = XmInternAtom(XtDisplay(shell), const_cast<char *>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, wmDelete, proc, client);
}

void closeBox(Widget shell, XtPointer, XtPointer)
{
    XtPopdown(shell);
    destroyLater(shell);
}

Widget createBox(MsgType type, Widget parent, const std::string &name)
{
    Arg args[2];
    XtSetArg(args[0], const_cast<char *>(XmNdialogStyle), XmDIALOG_FULL_APPLICATION_MODAL);
    XtSetArg(args[1], const_cast<char *>(XmNautoUnmanage), False);
    char *n = const_cast<char *>(name.c_str());
    Widget box = nullptr;
    switch (type) {
    case MsgType::Error: box = XmCreateErrorDialog(parent, n, args, 2); break;
    case MsgType::Warning: box = XmCreateWarningDialog(parent, n, args, 2); break;
    case MsgType::Information: box = XmCreateInformationDialog(parent, n, args, 2); break;
    }
    scaleSymbol(box);
    return box;
}

// The arguments a printf format takes, a length modifier and a letter per
// conversion ('i' signed, 'u' unsigned, 'f' floating, 'c', 's', 'p'); false
// for a conversion we never pass ("%n", positions, anything unknown).
bool argumentsOf(const char *fmt, std::string &out)
{
    for (const char *p = fmt; *p; ++p) {
        if (*p != '%')
            continue;
        if (*++p == '%')
            continue;
        p += std::strspn(p, "-+ #0'");
        for (int part = 0; part < 2; ++part) { // width, then precision
            if (part == 1 && *p == '.')
                ++p;
            if (*p == '*') {
                out += 'i';
                ++p;
            } else {
                p += std::strspn(p, "0123456789");
            }
        }
        std::size_t length = std::strspn(p, "hlLqjzt");
        out.append(p, length);
        p += length;
        switch (*p) {
        case 'd': case 'i': out += 'i'; break;
        case 'o': case 'u': case 'x': case 'X': out += 'u'; break;
        case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A': out += 'f'; break;
        case 'c': case 's': case 'p': out += *p; break;
        default: return false;
        }
    }
    return true;
}


void showVa(MsgType type, Widget w, const char *name, const char *msg, const char *title, const char *help,
            va_list ap)
{
    Widget parent = parentFor(w);
    std::string n = plainName(name);
    const char *own = msg ? msg : "";
    const char *fmt = named(parent, n, "message", own);
    if (fmt != own && !takesArgumentsOf(fmt, own))
        fmt = own;
    showMessage(type, w, name, formatted(fmt, ap).c_str(), title, help);
}

const char *defaultTitle(MsgType type)
{
    switch (type) {
    case MsgType::Error: return "Fehler";
    case MsgType::Warning: return "Warnung";
    case MsgType::Information: break;
    }
    return "Information";
}

// Procedures for callback strings: ("name", "message"[, "title"]).
void procMessage(MsgType type, Widget w, XtPointer client)
{
    auto *a = static_cast<XmtProcArgs *>(client);
    const char *name = a && a->args.size() > 0 ? a->args[0].c_str() : "message";
    const char *msg = a && a->args.size() > 1 ? a->args[1].c_str() : "";
    const char *title = a && a->args.size() > 2 ? a->args[2].c_str() : nullptr;
    Widget parent = parentFor(w);
    std::string n = plainName(name);
    showMessage(type, w, name, named(parent, n, "message", msg), title, nullptr);
}

void procError(Widget w, XtPointer client, XtPointer)
{
    procMessage(MsgType::Error, w, client);
}
void procWarning(Widget w, XtPointer client, XtPointer)
{
    procMessage(MsgType::Warning, w, client);
}
void procInformation(Widget w, XtPointer client, XtPointer)
{
    procMessage(MsgType::Information, w, client);
}

struct Answer {
    bool done = false;
    bool yes = false;
};

void answerYes(Widget, XtPointer client, XtPointer)
{
    auto *a = static_cast<Answer *>(client);
    a->yes = true;
    a->done = true;
}

void answerNo(Widget, XtPointer client, XtPointer)
{
    auto *a = static_cast<Answer *>(client);
    a->yes = false;
    a->done = true;
}

struct IntegerQuery {
    Answer answer;
    int min, max;
    int value = 0;
};

void integerOkay(Widget box, XtPointer client, XtPointer)
{
    auto *q = static_cast<IntegerQuery *>(client);
    Widget text = XmSelectionBoxGetChild(box, XmDIALOG_TEXT);
    char *s = XmTextFieldGetString(text);
    errno = 0;
    char *end = nullptr;
    long v = strtol(s, &end, 10);
    bool number = end != s;
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    number = number && end && *end == '\0' && errno == 0;
    XtFree(s);
    if (!number || v < q->min || v > q->max) {
        XmtDisplayErrorMsg(box, "badInteger", "Bitte eine ganze Zahl von %d bis %d eingeben!", "Ungültige Eingabe",
                           nullptr, q->min, q->max);
        return;
    }
    q->value = static_cast<int>(v);
    q->answer.yes = true;
    q->answer.done = true;
}

} // namespace

bool takesArgumentsOf(const char *fmt, const char *reference)
{
    std::string a, b;
    return argumentsOf(fmt, a) && argumentsOf(reference, b) && b.compare(0, a.size(), a) == 0;
}

// Motif's symbols are drawn for 96 dpi: each pixel becomes a square of the
// whole factor.  Motif hands each box a symbol of its own, so the grown one
// is the box's and goes with it.
void scaleSymbol(Widget box)
{
    int k = int(std::lround(XmtResolutionFactor()));
    Pixmap symbol = XmUNSPECIFIED_PIXMAP;
    if (!box || k < 2)
        return;
    XtVaGetValues(box, XmNsymbolPixmap, &symbol, nullptr);
    if (symbol == XmUNSPECIFIED_PIXMAP || symbol == None)
        return;
    Display *dpy = XtDisplay(box);
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(dpy, symbol, &root, &x, &y, &width, &height, &border, &depth))
        return;
    XImage *small = XGetImage(dpy, symbol, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!small)
        return;
    Pixmap big = XCreatePixmap(dpy, symbol, width * unsigned(k), height * unsigned(k), depth);
    GC gc = XCreateGC(dpy, big, 0, nullptr);
    for (unsigned row = 0; row < height; ++row)
        for (unsigned column = 0; column < width; ++column) {
            XSetForeground(dpy, gc, XGetPixel(small, int(column), int(row)));
            XFillRectangle(dpy, big, gc, int(column) * k, int(row) * k, unsigned(k), unsigned(k));
        }
    XFreeGC(dpy, gc);
    XDestroyImage(small);
    XtVaSetValues(box, XmNsymbolPixmap, big, nullptr);
    XtAddCallback(
        box, XmNdestroyCallback,
        [](Widget w, XtPointer client, XtPointer) { XFreePixmap(XtDisplay(w), Pixmap(client)); },
        reinterpret_cast<XtPointer>(big));
}

Widget showMessage(MsgType type, Widget w, const char *name, const char *text, const char *title_default,
                   const char *help_default)
{
    Widget parent = parentFor(w);
    std::string n = plainName(name);
    const char *title = named(parent, n, "title", title_default ? title_default : defaultTitle(type));
    const char *help = named(parent, n, "help", help_default);
    Widget box = createBox(type, parent, n);
    Widget shell = XtParent(box);
    XtSetValues(shell, shellArgs, XtNumber(shellArgs));
    onWmClose(shell, closeBox, nullptr);
    XmString msg = makeString(text);
    XmString ttl = makeString(title);
    XtVaSetValues(box, XmNmessageString, msg, XmNdialogTitle, ttl, nullptr);
    XmStringFree(msg);
    XmStringFree(ttl);
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
    setupHelp(box, help);
    useWidgetButtons(box, true);
    XtAddCallback(box, XmNokCallback, destroyShellOf, nullptr);
    XtAddCallback(box, XmNdestroyCallback, forget, nullptr);
    lastBoxes()[n] = box;
    XtManageChild(box);
    return box;
}

void dismiss(Widget box)
{
    // Inside an event dispatch Xt frees a widget only when that dispatch is
    // over, and until then a box left managed stays on the screen holding its
    // modal grab: a quit question answered while the speed-dial dialog was
    // up kept the whole window from taking a click until that dialog closed.
    XtUnmanageChild(box);
    XtDestroyWidget(XtParent(box));
}

void registerMessageProcedures()
{
    XmtRegisterCallbackProcedure("XmtDisplayErrorMsg", procError);
    XmtRegisterCallbackProcedure("XmtDisplayWarningMsg", procWarning);
    XmtRegisterCallbackProcedure("XmtDisplayInformationMsg", procInformation);
}

} // namespace xmt

using namespace xmt;

void XmtDisplayErrorMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                        const char *help_default, ...)
{
    va_list ap;
    va_start(ap, help_default);
    showVa(MsgType::Error, w, name, msg_default, title_default, help_default, ap);
    va_end(ap);
}

void XmtDisplayWarningMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                          const char *help_default, ...)
{
    va_list ap;
    va_start(ap, help_default);
    showVa(MsgType::Warning, w, name, msg_default, title_default, help_default, ap);
    va_end(ap);
}

void XmtDisplayInformationMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                              const char *help_default, ...)
{
    va_list ap;
    va_start(ap, help_default);
    showVa(MsgType::Information, w, name, msg_default, title_default, help_default, ap);
    va_end(ap);
}

Widget XmtLastMessageBox(const char *name)
{
    auto it = lastBoxes().find(plainName(name));
    return it == lastBoxes().end() ? nullptr : it->second;
}

namespace {

Boolean ask(Widget w, const char *query_name, const std::string &text, const char *yes_default,
            const char *no_default, Boolean default_yes, const char *help_text)
{
    Widget parent = parentFor(w);
    std::string n = plainName(query_name);
    Widget box = createBox(MsgType::Warning, parent, n);
    Widget shell = XtParent(box);
    XtSetValues(shell, shellArgs, XtNumber(shellArgs));
    Answer answer;
    onWmClose(shell, answerNo, &answer);
    XmString msg = makeString(text.c_str());
    XmString ttl = makeString(named(parent, n, "title", "Frage"));
    XmString yes = makeString(named(parent, n, "yesLabel", yes_default ? yes_default : "Ja"));
    XmString no = makeString(named(parent, n, "noLabel", no_default ? no_default : "Nein"));
    XtVaSetValues(box, XmNmessageString, msg, XmNdialogTitle, ttl, XmNokLabelString, yes, XmNcancelLabelString, no,
                  XmNdefaultButtonType, default_yes ? XmDIALOG_OK_BUTTON : XmDIALOG_CANCEL_BUTTON, nullptr);
    XmStringFree(msg);
    XmStringFree(ttl);
    XmStringFree(yes);
    XmStringFree(no);
    setupHelp(box, named(parent, n, "help", help_text));
    useWidgetButtons(box, default_yes);
    XtAddCallback(box, XmNokCallback, answerYes, &answer);
    XtAddCallback(box, XmNcancelCallback, answerNo, &answer);
    XtAddCallback(box, XmNdestroyCallback, answerNo, &answer);
    pushActive(box);
    XtManageChild(box);
    waitFor(&answer.done);
    popActive(box);
    bool yesAnswer = answer.yes;
    XtRemoveCallback(box, XmNdestroyCallback, answerNo, &answer);
    dismiss(box);
    return yesAnswer;
}

} // namespace

Boolean XmtDisplayWarningAndAsk(Widget w, const char *query_name, const char *prompt, const char *yes_default,
                                const char *no_default, Boolean default_yes, const char *help_text)
{
    const char *text = named(parentFor(w), plainName(query_name), "message", prompt ? prompt : "");
    return ask(w, query_name, text ? text : "", yes_default, no_default, default_yes, help_text);
}

namespace {

std::string questionText(Widget w, const char *query_name, const char *prompt, va_list ap)
{
    const char *own = prompt ? prompt : "";
    const char *format = named(parentFor(w), plainName(query_name), "message", own);
    // A resource text must not ask for other arguments than the program gives.
    if (format != own && !takesArgumentsOf(format, own))
        format = own;
    return formatted(format, ap);
}

} // namespace

Boolean XmtDisplayWarningAndAskf(Widget w, const char *query_name, const char *prompt, Boolean default_yes,
                                 const char *help_text, ...)
{
    va_list ap;
    va_start(ap, help_text);
    std::string text = questionText(w, query_name, prompt, ap);
    va_end(ap);
    return ask(w, query_name, text, nullptr, nullptr, default_yes, help_text);
}

Boolean XmtAskIrreversible(Widget w, const char *query_name, const char *prompt, const char *help_text, ...)
{
    va_list ap;
    va_start(ap, help_text);
    std::string text = questionText(w, query_name, prompt, ap);
    va_end(ap);
    return ask(w, query_name, text, nullptr, nullptr, False, help_text);
}

Boolean XmtAskForInteger(Widget w, const char *query_name, const char *prompt, int *value_return, int min, int max,
                         const char *help_text)
{
    Widget parent = parentFor(w);
    std::string n = plainName(query_name);
    Arg args[2];
    XtSetArg(args[0], const_cast<char *>(XmNdialogStyle), XmDIALOG_FULL_APPLICATION_MODAL);
    XtSetArg(args[1], const_cast<char *>(XmNautoUnmanage), False);
    Widget box = XmCreatePromptDialog(parent, const_cast<char *>(n.c_str()), args, 2);
    Widget shell = XtParent(box);
    XtSetValues(shell, shellArgs, XtNumber(shellArgs));
    IntegerQuery q;
    q.min = min;
    q.max = max;
    onWmClose(shell, answerNo, &q.answer);
    XmString msg = makeString(named(parent, n, "message", prompt ? prompt : ""));
    XmString ttl = makeString(named(parent, n, "title", "Eingabe"));
    XtVaSetValues(box, XmNselectionLabelString, msg, XmNdialogTitle, ttl, nullptr);
    XmStringFree(msg);
    XmStringFree(ttl);
    if (value_return) {
        std::string initial = std::to_string(*value_return);
        XmTextFieldSetString(XmSelectionBoxGetChild(box, XmDIALOG_TEXT), const_cast<char *>(initial.c_str()));
    }
    setTextDefault(box, XmNcancelLabelString, "Abbrechen");
    setTextDefault(box, XmNhelpLabelString, "Hilfe");
    const char *help = named(parent, n, "help", help_text);
    if (help && *help) {
        auto *text = new std::string(help);
        XtAddCallback(box, XmNhelpCallback, showHelp, text);
        XtAddCallback(box, XmNdestroyCallback, freeHelp, text);
    } else {
        XtUnmanageChild(XmSelectionBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    }
    XtAddCallback(box, XmNokCallback, integerOkay, &q);
    XtAddCallback(box, XmNcancelCallback, answerNo, &q.answer);
    XtAddCallback(box, XmNdestroyCallback, answerNo, &q.answer);
    pushActive(box);
    XtManageChild(box);
    waitFor(&q.answer.done);
    popActive(box);
    XtRemoveCallback(box, XmNdestroyCallback, answerNo, &q.answer);
    dismiss(box);
    if (q.answer.yes && value_return)
        *value_return = q.value;
    return q.answer.yes;
}
