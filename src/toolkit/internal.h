// Shared state and helpers of the toolkit layer; not for use outside src/toolkit.
#pragma once

#include "toolkit/toolkit.h"

#include <X11/Intrinsic.h>
#include <cstdarg>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xmt {

extern XtAppContext app;

// A procedure with the arguments a callback string gave it.
struct Call {
    XtCallbackProc proc = nullptr;
    std::shared_ptr<XmtProcArgs> args; // nullptr when the string gave none
};
using CallList = std::vector<Call>;

// Parses a callback string; unknown procedures are reported with who's path
// (whoPath used when who is not created yet).  False when anything was wrong.
bool parseCalls(const char *text, const std::string &whoPath, CallList &out);
void runCalls(const CallList &calls, Widget w, XtPointer call_data);

// Resource of a widget that may not exist yet: path of parent, then child name
// and class (child may be nullptr to ask about parent itself).
const char *lookup(Widget parent, const char *child, const char *child_class, const char *resource);

std::string pathOf(Widget parent, const char *child);

// Builds the children listed in owner's "children" resource into container.
// Input fields created go into fields.  Returns the number created; sets
// failed when an entry could not be built.
struct BuildResult {
    int created = 0;
    bool failed = false;
    std::vector<Widget> fields;
};
void buildChildren(Widget owner, Widget container, bool manage, BuildResult &result);

// Creators of the complex kinds (container is where the widget goes).
Widget createChooser(Widget container, const char *name);
Widget createInputField(Widget container, const char *name, const char *binding);
Widget createMsgLine(Widget container, const char *name);

// The binding of an input field (its name unless "= binding" gave another).
const char *inputFieldBinding(Widget field);
// Commits a field only when its text differs from the last accepted one.
bool inputFieldCommitIfChanged(Widget field);
// False when the checks refused what the field held at the last Return.
bool inputFieldAccepted(Widget field);
// Sets the text without pattern checks (cut to the pattern length).
void inputFieldSetRaw(Widget field, const char *text, size_t len);
// False while the field shows what the program last put in.
bool inputFieldChanged(Widget field);

// A message box's symbol grown with the resolution (see XmtResolutionFactor).
void scaleSymbol(Widget box);

// printf into a string of whatever length the text has.
std::string formatted(const char *fmt, va_list ap);
// A format from the resources gets the caller's arguments, so it must take
// them as the caller's own format does; it may leave the last ones unused.
bool takesArgumentsOf(const char *fmt, const char *reference);

// What the window's fonts read: Xft UTF-8, a single core font the ISO 8859-1
// bytes, a font set the locale's text.  Chosen once, from the render table (or
// font list) a label gets, by chooseTextForm, which also sets LC_CTYPE to fit.
enum class TextForm { Latin1, Utf8 };
enum class FontKind { Single, FontSet, Xft };
FontKind fontKindOf(const char *render_table, const char *first_font_type, const char *font_list);
TextForm textFormFor(FontKind kind, bool utf8_locale);
void chooseTextForm(Widget top);
TextForm textForm();
void setTextForm(TextForm form); // for tests
std::string latin1ToUtf8(std::string_view latin1);
// False when a character has no ISO 8859-1 form (it is left out).
bool utf8ToLatin1(std::string_view utf8, std::string &latin1);
// ISO 8859-1 to the window's form and back.
std::string toDisplay(std::string_view latin1);
bool fromDisplay(std::string_view shown, std::string &latin1);
std::string fromDisplay(std::string_view shown);

// XmString helpers: makeString and stringOf take and give ISO 8859-1; the raw
// ones pass bytes as they are (file names).
XmString makeString(const char *text);
std::string stringOf(XmString s);
XmString makeRawString(const char *bytes);
std::string rawStringOf(XmString s);
void setLabel(Widget w, const char *text);
// Sets an XmString resource of a standard box to our (German) text unless a
// resource line for the box sets it.
void setTextDefault(Widget box, const char *resource, const char *text);

Widget shellOf(Widget w);

// Depth first below w, w included, through normal children only (not the
// dialogs built over it): the first widget wanted takes.
template <typename F>
Widget firstBelow(Widget w, const F &wanted)
{
    if (wanted(w))
        return w;
    if (!XtIsComposite(w))
        return nullptr;
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(w, XtNchildren, &kids, XtNnumChildren, &n, nullptr);
    for (Cardinal i = 0; i < n; ++i)
        if (Widget found = firstBelow(kids[i], wanted))
            return found;
    return nullptr;
}

// Takes a blocking box down (off the screen, its grab gone) and destroys its
// shell.
void dismiss(Widget box);

// Blocking standard dialogs and dialog runs push themselves here.
void pushActive(Widget w);
void popActive(Widget w);

// Runs the event loop until *done becomes true (or the application exits).
void waitFor(const bool *done);

// Message box shown without blocking; returns the box.
enum class MsgType { Error, Warning, Information };
// Shows text as it is (no formatting); title and help may be replaced by
// resources under the name.
Widget showMessage(MsgType type, Widget w, const char *name, const char *text, const char *title_default,
                   const char *help_default);

// Reports a fault of the resource table on stderr ("kelvora: " and the text) and
// counts it for XmtResourceProblems.
void resourceProblem(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

// a, b, "c, d": the items of a list resource (chooser strings, captions).
std::vector<std::string> splitStrings(const char *text);

void registerMessageProcedures();
void registerDialogProcedures();

} // namespace xmt
