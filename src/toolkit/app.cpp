// Start-up, the procedure registry, the String-to-Callback converter and
// resource look-ups.
#include "toolkit/internal.h"

#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
#include <X11/ShellP.h>
#include <Xm/BulletinB.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/SelectioB.h>
#include <Xm/Separator.h>
#include <Xm/SeparatoG.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

Widget toplevel = nullptr;

namespace xmt {

XtAppContext app = nullptr;
double resolutionFactor = 1;

namespace {

std::map<std::string, XtCallbackProc> &procedures()
{
    static std::map<std::string, XtCallbackProc> table;
    return table;
}

// Converted callback lists must live as long as the widgets that hold them.
std::deque<std::vector<XtCallbackRec>> &convertedLists()
{
    static std::deque<std::vector<XtCallbackRec>> lists;
    return lists;
}
std::deque<std::shared_ptr<XmtProcArgs>> &convertedArgs()
{
    static std::deque<std::shared_ptr<XmtProcArgs>> args;
    return args;
}

void skipBlanks(const char *&p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
        ++p;
}

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// One argument: a quoted string with C escapes, or a bare word up to ',' or ')'.
bool parseArgument(const char *&p, std::string &out)
{
    skipBlanks(p);
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') {
            if (*p == '\\' && p[1]) {
                ++p;
                switch (*p) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                default: out += *p; break;
                }
                ++p;
            } else {
                out += *p++;
            }
        }
        if (*p != '"')
            return false;
        ++p;
    } else {
        while (*p && *p != ',' && *p != ')')
            out += *p++;
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t'))
            out.pop_back();
    }
    skipBlanks(p);
    return true;
}

void widgetNamesAndClasses(Widget w, std::vector<XrmQuark> &names, std::vector<XrmQuark> &classes)
{
    std::vector<Widget> chain;
    for (Widget p = w; p; p = XtParent(p))
        chain.push_back(p);
    std::reverse(chain.begin(), chain.end());
    for (Widget p : chain) {
        names.push_back(p->core.xrm_name);
        if (XtIsApplicationShell(p) && !XtParent(p))
            classes.push_back(reinterpret_cast<ApplicationShellWidget>(p)->application.xrm_class);
        else
            classes.push_back(XtClass(p)->core_class.xrm_class);
    }
}

Boolean cvtStringToCallback(Display *dpy, XrmValue *args, Cardinal *num_args, XrmValue *from, XrmValue *to,
                            XtPointer *)
{
    if (*num_args != 1) {
        XtAppWarningMsg(XtDisplayToApplicationContext(dpy), "wrongParameters", "cvtStringToCallback",
                        "XtToolkitError", "String to Callback conversion needs the widget", nullptr, nullptr);
        return False;
    }
    Widget who = *reinterpret_cast<Widget *>(args[0].addr);
    XtCallbackList list = nullptr;
    XmtParseCallbackString(who, static_cast<const char *>(from->addr), &list);
    if (to->addr) {
        if (to->size < sizeof(XtCallbackList)) {
            to->size = sizeof(XtCallbackList);
            return False;
        }
        *reinterpret_cast<XtCallbackList *>(to->addr) = list;
    } else {
        static XtCallbackList result;
        result = list;
        to->addr = reinterpret_cast<XPointer>(&result);
    }
    to->size = sizeof(XtCallbackList);
    return True;
}

// Our "children" lines share their name with Composite's read-only children
// resource; Xt would warn for every container.  Composite's initialize sets the
// list itself, so the converted value is never used.
Boolean cvtStringToWidgetList(Display *, XrmValue *, Cardinal *, XrmValue *, XrmValue *to, XtPointer *)
{
    static WidgetList none = nullptr;
    if (to->addr) {
        if (to->size < sizeof(WidgetList)) {
            to->size = sizeof(WidgetList);
            return False;
        }
        *reinterpret_cast<WidgetList *>(to->addr) = none;
    } else {
        to->addr = reinterpret_cast<XPointer>(&none);
    }
    to->size = sizeof(WidgetList);
    return True;
}

// Labels, titles and captions given in resource lines are ISO 8859-1 too.
Boolean cvtStringToXmString(Display *, XrmValue *, Cardinal *, XrmValue *from, XrmValue *to, XtPointer *)
{
    static XmString result;
    if (to->addr && to->size < sizeof(XmString)) {
        to->size = sizeof(XmString);
        return False;
    }
    XmString s = makeString(static_cast<const char *>(from->addr));
    if (to->addr) {
        *reinterpret_cast<XmString *>(to->addr) = s;
    } else {
        result = s;
        to->addr = reinterpret_cast<XPointer>(&result);
    }
    to->size = sizeof(XmString);
    return True;
}

XtConvertArgRec callbackConvertArgs[] = {
    {XtWidgetBaseOffset, reinterpret_cast<XtPointer>(XtOffsetOf(WidgetRec, core.self)), sizeof(Widget)},
};

int problemCount = 0;

} // namespace

void resourceProblem(const char *fmt, ...)
{
    ++problemCount;
    std::fputs("kelvora: ", stderr);
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(stderr, fmt, ap);
    va_end(ap);
}

bool parseCalls(const char *text, const std::string &whoPath, CallList &out)
{
    bool ok = true;
    const char *p = text ? text : "";
    for (;;) {
        skipBlanks(p);
        while (*p == ';') {
            ++p;
            skipBlanks(p);
        }
        if (!*p)
            break;
        std::string name;
        while (isNameChar(*p))
            name += *p++;
        skipBlanks(p);
        std::shared_ptr<XmtProcArgs> args;
        bool syntax = !name.empty();
        if (syntax && *p == '(') {
            ++p;
            skipBlanks(p);
            if (*p != ')') {
                args = std::make_shared<XmtProcArgs>();
                for (;;) {
                    std::string arg;
                    if (!parseArgument(p, arg)) {
                        syntax = false;
                        break;
                    }
                    args->args.push_back(arg);
                    if (*p == ',') {
                        ++p;
                        continue;
                    }
                    break;
                }
            }
            if (syntax && *p == ')')
                ++p;
            else
                syntax = false;
            skipBlanks(p);
        }
        if (syntax && *p && *p != ';')
            syntax = false;
        if (!syntax) {
            resourceProblem("bad callback \"%s\" for %s\n", text, whoPath.c_str());
            return false;
        }
        auto it = procedures().find(name);
        if (it == procedures().end()) {
            resourceProblem("unknown procedure \"%s\" in callback of %s\n", name.c_str(), whoPath.c_str());
            ok = false;
            continue;
        }
        out.push_back(Call{it->second, args});
    }
    return ok;
}

void runCalls(const CallList &calls, Widget w, XtPointer call_data)
{
    // A procedure may destroy the list's owner (and with it the list).
    CallList copy = calls;
    for (const Call &c : copy)
        c.proc(w, c.args.get(), call_data);
}

std::string pathOf(Widget parent, const char *child)
{
    std::string path = XmtWidgetPath(parent);
    if (child) {
        path += '.';
        path += child;
    }
    return path;
}

const char *lookup(Widget parent, const char *child, const char *child_class, const char *resource)
{
    std::vector<XrmQuark> names, classes;
    widgetNamesAndClasses(parent, names, classes);
    if (child) {
        names.push_back(XrmStringToQuark(child));
        classes.push_back(XrmStringToQuark(child_class ? child_class : child));
    }
    std::string resClass = resource;
    resClass[0] = static_cast<char>(toupper(static_cast<unsigned char>(resClass[0])));
    names.push_back(XrmStringToQuark(resource));
    classes.push_back(XrmStringToQuark(resClass.c_str()));
    names.push_back(NULLQUARK);
    classes.push_back(NULLQUARK);
    XrmDatabase db = XtScreenDatabase(XtScreenOfObject(parent));
    XrmRepresentation type;
    XrmValue value;
    if (!db || !XrmQGetResource(db, names.data(), classes.data(), &type, &value))
        return nullptr;
    if (type != XrmStringToQuark(XtRString))
        return nullptr;
    return static_cast<const char *>(value.addr);
}

Widget shellOf(Widget w)
{
    while (w && !XtIsShell(w))
        w = XtParent(w);
    return w;
}

XmString makeRawString(const char *bytes)
{
    return XmStringCreateLtoR(const_cast<char *>(bytes ? bytes : ""), const_cast<char *>(XmFONTLIST_DEFAULT_TAG));
}

XmString makeString(const char *text)
{
    return makeRawString(toDisplay(text ? text : "").c_str());
}

std::string formatted(const char *fmt, va_list ap)
{
    va_list again;
    va_copy(again, ap);
    char small[256];
    int n = vsnprintf(small, sizeof small, fmt, ap);
    std::string text;
    if (n >= 0 && std::size_t(n) < sizeof small) {
        text.assign(small, std::size_t(n));
    } else if (n > 0) {
        text.resize(std::size_t(n) + 1);
        vsnprintf(text.data(), text.size(), fmt, again);
        text.resize(std::size_t(n));
    }
    va_end(again);
    return text;
}

std::string rawStringOf(XmString s)
{
    std::string text;
    XmStringContext ctx;
    if (!s || !XmStringInitContext(&ctx, s))
        return text;
    // Component by component: segments would skip the empty line between two separators.
    unsigned int length = 0;
    XtPointer value = nullptr;
    XmStringComponentType type;
    while ((type = XmStringGetNextTriple(ctx, &length, &value)) != XmSTRING_COMPONENT_END) {
        if (type == XmSTRING_COMPONENT_TEXT || type == XmSTRING_COMPONENT_LOCALE_TEXT)
            text.append(static_cast<const char *>(value), length);
        else if (type == XmSTRING_COMPONENT_SEPARATOR)
            text += '\n';
        XtFree(static_cast<char *>(value));
    }
    XmStringFreeContext(ctx);
    return text;
}

std::string stringOf(XmString s)
{
    return fromDisplay(rawStringOf(s));
}

void setLabel(Widget w, const char *text)
{
    XmString s = makeString(text);
    XtVaSetValues(w, XmNlabelString, s, nullptr);
    XmStringFree(s);
}

void setTextDefault(Widget box, const char *resource, const char *text)
{
    if (lookup(box, nullptr, nullptr, resource))
        return;
    XmString s = makeString(text);
    XtVaSetValues(box, resource, s, nullptr);
    XmStringFree(s);
}

} // namespace xmt

using namespace xmt;

namespace {

// The built-in lines go beneath everything the user, the site or the system
// supplies.  Xt's fallback resources would not do: Xt drops them entirely as
// soon as it finds an app-defaults file for the class, and one line there
// would leave a window without a title, labels or callbacks.
void mergeBeneath(Display *dpy, const char **lines)
{
    XrmDatabase builtin = nullptr;
    for (const char **l = lines; l && *l; ++l)
        XrmPutLineResource(&builtin, *l);
    if (!builtin)
        return;
    XrmDatabase db = XtDatabase(dpy);
    XrmCombineDatabase(builtin, &db, False); // False: an existing line wins
}

// Every renderTable line of the database, by its bindings and quarks.
struct RenderTableLine {
    std::vector<XrmBinding> bindings;
    std::vector<XrmQuark> quarks;
};

Bool collectRenderTable(XrmDatabase *, XrmBindingList bindings, XrmQuarkList quarks, XrmRepresentation *,
                        XrmValue *, XPointer found)
{
    size_t n = 0;
    while (quarks[n] != NULLQUARK)
        ++n;
    if (n && quarks[n - 1] == XrmStringToQuark("renderTable"))
        reinterpret_cast<std::vector<RenderTableLine> *>(found)->push_back(
            {std::vector<XrmBinding>(bindings, bindings + n), std::vector<XrmQuark>(quarks, quarks + n + 1)});
    return False;
}

// "Kelvora.coreFont: fixed" draws the whole window in that one core font
// instead of the table's Xft renditions: every render table becomes it.
// False when no core font was named.
bool applyCoreFont(Display *dpy)
{
    String name, cls;
    XtGetApplicationNameAndClass(dpy, &name, &cls);
    std::string resName = std::string(name) + ".coreFont", resClass = std::string(cls) + ".CoreFont";
    XrmDatabase db = XtDatabase(dpy);
    char *type = nullptr;
    XrmValue value;
    if (!XrmGetResource(db, resName.c_str(), resClass.c_str(), &type, &value) || !value.addr)
        return false;
    std::string font = static_cast<const char *>(value.addr);
    font.erase(0, font.find_first_not_of(" \t"));
    font.erase(font.find_last_not_of(" \t") + 1);
    if (font.empty())
        return false;
    std::vector<RenderTableLine> lines;
    XrmQuark none[] = {NULLQUARK};
    XrmEnumerateDatabase(db, none, none, XrmEnumAllLevels, collectRenderTable, reinterpret_cast<XPointer>(&lines));
    XrmPutStringResource(&db, "*renderTable", font.c_str());
    for (RenderTableLine &l : lines)
        XrmQPutStringResource(&db, l.bindings.data(), l.quarks.data(), font.c_str());
    return true;
}

// The resolution the fonts are drawn at: Xft.dpi, else the screen's.
double fontResolution(Display *dpy)
{
    char *type = nullptr;
    XrmValue value;
    if (XrmGetResource(XtDatabase(dpy), "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        if (double dpi = std::atof(static_cast<const char *>(value.addr)); dpi >= 24 && dpi <= 1200)
            return dpi;
    Screen *s = DefaultScreenOfDisplay(dpy);
    return WidthMMOfScreen(s) > 0 ? WidthOfScreen(s) * 25.4 / WidthMMOfScreen(s) : 96;
}

// Motif turns millimetres into pixels by the screen's size in millimetres,
// Xft draws by Xft.dpi: told the one resolution, a list sized in millimetres
// keeps its rows and columns as the font grows.
void millimetresAtResolution(Display *dpy, double dpi)
{
    for (int i = 0; i < ScreenCount(dpy); ++i) {
        Screen *s = ScreenOfDisplay(dpy, i);
        s->mwidth = std::max(1, int(std::lround(s->width * 25.4 / dpi)));
        s->mheight = std::max(1, int(std::lround(s->height * 25.4 / dpi)));
    }
}

// Motif's sizes in pixels (frames, shadows, margins, spacing, scroll bars) as
// each class has them at 96 dpi, times dpi/96: lines beneath everything else,
// so that a table's or user's own line still wins.
void scalePixelSizes(Display *dpy, double factor)
{
    if (std::fabs(factor - 1) < 0.01)
        return;
    WidgetClass classes[] = {
        xmLabelWidgetClass,     xmLabelGadgetClass,        xmPushButtonWidgetClass,   xmPushButtonGadgetClass,
        xmToggleButtonWidgetClass, xmToggleButtonGadgetClass,
        xmTextFieldWidgetClass, xmTextWidgetClass,         xmListWidgetClass,         xmScrollBarWidgetClass,
        xmSeparatorWidgetClass, xmSeparatorGadgetClass,    xmFrameWidgetClass,        xmRowColumnWidgetClass,
        xmScrolledWindowWidgetClass, xmBulletinBoardWidgetClass, xmFormWidgetClass,   xmScaleWidgetClass,
    };
    // Boxes whose own text fields would take the table's callbacks before their
    // procedures exist: they have the bulletin board's margins.
    WidgetClass likeBulletinBoard[] = {xmMessageBoxWidgetClass, xmSelectionBoxWidgetClass,
                                       xmFileSelectionBoxWidgetClass};
    const char *const resources[] = {XmNshadowThickness, XmNhighlightThickness, XmNmarginWidth, XmNmarginHeight,
                                     XmNspacing};
    Widget probe = XtAppCreateShell("sizeProbe", "SizeProbe", applicationShellWidgetClass, dpy, nullptr, 0);
    Widget box = XtCreateWidget("box", xmRowColumnWidgetClass, probe, nullptr, 0);
    XrmDatabase scaled = nullptr;
    auto put = [&](const std::string &line, int pixels) {
        // In pixels whatever unit type a widget has (text fields sized in millimetres).
        XrmPutLineResource(&scaled, (line + ": " + std::to_string(pixels) + " pixels").c_str());
    };
    // Text fields take focus callbacks from the table: none here.
    Arg quiet[] = {{const_cast<char *>(XmNfocusCallback), 0}, {const_cast<char *>(XmNlosingFocusCallback), 0}};
    for (WidgetClass wc : classes) {
        Widget w = XtCreateWidget("probe", wc, box, quiet, XtNumber(quiet));
        for (const char *resource : resources) {
            Dimension pixels = 0xFFFF;
            XtVaGetValues(w, resource, &pixels, nullptr);
            if (pixels == 0xFFFF || pixels == 0 || pixels >= 100)
                continue;
            int scaledPixels = int(std::lround(pixels * factor));
            put(std::string("*") + wc->core_class.class_name + "." + resource, scaledPixels);
            if (wc == xmBulletinBoardWidgetClass)
                for (WidgetClass same : likeBulletinBoard)
                    put(std::string("*") + same->core_class.class_name + "." + resource, scaledPixels);
        }
    }
    // A scrolled window's bars: the vertical one's width, the horizontal one's height.
    Widget bar = XtVaCreateWidget("bar", xmScrollBarWidgetClass, box, XmNorientation, XmVERTICAL, nullptr);
    XtWidgetGeometry natural{};
    XtQueryGeometry(bar, nullptr, &natural);
    put("*VertScrollBar.width", int(std::lround(natural.width * factor)));
    put("*HorScrollBar.height", int(std::lround(natural.width * factor)));
    XtDestroyWidget(probe);
    XrmDatabase db = XtDatabase(dpy);
    XrmCombineDatabase(scaled, &db, False);
}

} // namespace

Widget XmtInitialize(XtAppContext *app_return, const char *app_class, int *argc, char **argv,
                     const char **fallback_resources)
{
    // Converters must exist before the first widget is created from resources.
    XtToolkitInitialize();
    app = XtCreateApplicationContext();
    XtSetTypeConverter(XtRString, XtRCallback, cvtStringToCallback, callbackConvertArgs,
                       XtNumber(callbackConvertArgs), XtCacheNone, nullptr);
    XtSetTypeConverter(XtRString, XtRWidgetList, cvtStringToWidgetList, nullptr, 0, XtCacheAll, nullptr);
    registerDialogProcedures();
    registerMessageProcedures();
    // What XtOpenApplication does, with the built-in lines merged in between.
    Display *dpy = XtOpenDisplay(app, nullptr, nullptr, app_class, nullptr, 0, argc, argv);
    if (!dpy) {
        String name = const_cast<String>(XDisplayName(nullptr));
        Cardinal one = 1;
        XtAppErrorMsg(app, "invalidDisplay", "xtInitialize", "XtToolkitError", "Can't open display: %s", &name,
                      &one);
    }
    mergeBeneath(dpy, fallback_resources);
    // A core font keeps its pixels at any resolution, and so does the rest.
    if (!applyCoreFont(dpy)) {
        double dpi = fontResolution(dpy);
        resolutionFactor = dpi / 96;
        millimetresAtResolution(dpy, dpi);
        scalePixelSizes(dpy, resolutionFactor);
    }
    Arg args[2];
    XtSetArg(args[0], const_cast<char *>(XtNargc), *argc);
    XtSetArg(args[1], const_cast<char *>(XtNargv), argv);
    Widget top = XtAppCreateShell(nullptr, app_class, applicationShellWidgetClass, dpy, args, 2);
    toplevel = top;
    chooseTextForm(top);
    // After Motif's own, which its classes register once, on their first use;
    // cached: the texts are the table's.
    XtInitializeWidgetClass(xmLabelWidgetClass);
    XtSetTypeConverter(XmRString, XmRXmString, cvtStringToXmString, nullptr, 0, XtCacheAll, nullptr);
    if (app_return)
        *app_return = app;
    return top;
}

XmString XmtCreateXmString(const char *text)
{
    return makeString(text);
}

double XmtResolutionFactor()
{
    return resolutionFactor;
}

int XmtResourceProblems()
{
    return problemCount;
}

void XmtRegisterCallbackProcedure(const char *name, XtCallbackProc proc)
{
    procedures()[name] = proc;
}

void XmtRegisterProcedures(std::initializer_list<XmtProcedure> procedures)
{
    for (const XmtProcedure &p : procedures)
        XmtRegisterCallbackProcedure(p.name, p.proc);
}

bool XmtProcedureRegistered(const char *name)
{
    return procedures().count(name) != 0;
}

bool XmtParseCallbackString(Widget who, const char *text, XtCallbackList *list_return)
{
    CallList calls;
    bool ok = parseCalls(text, who ? XmtWidgetPath(who) : std::string("?"), calls);
    std::vector<XtCallbackRec> &recs = convertedLists().emplace_back();
    for (const Call &c : calls) {
        if (c.args)
            convertedArgs().push_back(c.args);
        recs.push_back(XtCallbackRec{c.proc, c.args.get()});
    }
    recs.push_back(XtCallbackRec{nullptr, nullptr});
    *list_return = recs.data();
    return ok;
}

void XmtCallCallbackString(Widget w, const char *text, XtPointer call_data)
{
    CallList calls;
    parseCalls(text, w ? XmtWidgetPath(w) : std::string("?"), calls);
    runCalls(calls, w, call_data);
}

const char *XmtGetResourceString(Widget w, const char *child, const char *resource)
{
    return lookup(w, child, nullptr, resource);
}

std::string XmtWidgetPath(Widget w)
{
    std::vector<std::string> parts;
    for (Widget p = w; p; p = XtParent(p))
        parts.push_back(XtName(p));
    std::string path;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!path.empty())
            path += '.';
        path += *it;
    }
    return path;
}

Widget XmtNameToWidget(Widget reference, const char *name)
{
    if (!reference || !name || !*name)
        return nullptr;
    Widget w = XtNameToWidget(reference, name);
    if (!w && name[0] != '*' && name[0] != '.') {
        std::string wild = std::string("*") + name;
        w = XtNameToWidget(reference, wild.c_str());
    }
    return w;
}

void XmtProcessPending(XtAppContext context, int ms)
{
    if (!context)
        context = app;
    while (XtAppPending(context))
        XtAppProcessEvent(context, XtIMAll);
    if (ms <= 0)
        return;
    bool expired = false;
    XtIntervalId id = XtAppAddTimeOut(
        context, static_cast<unsigned long>(ms),
        [](XtPointer flag, XtIntervalId *) { *static_cast<bool *>(flag) = true; }, &expired);
    while (!expired && !XtAppGetExitFlag(context))
        XtAppProcessEvent(context, XtIMAll);
    if (!expired)
        XtRemoveTimeOut(id);
}
