// Message line: a one-line label that the program writes into.
#include "toolkit/internal.h"

#include <Xm/Label.h>

#include <cstdarg>
#include <map>

namespace xmt {
namespace {

std::map<Widget, std::string> &lines()
{
    static std::map<Widget, std::string> table;
    return table;
}

void destroyed(Widget w, XtPointer, XtPointer)
{
    lines().erase(w);
}

void show(Widget w, const std::string &text)
{
    lines()[w] = text;
    setLabel(w, text.c_str());
}

} // namespace

Widget createMsgLine(Widget container, const char *name)
{
    Arg args[2];
    Cardinal n = 0;
    if (!lookup(container, name, "XmLabel", "alignment")) {
        XtSetArg(args[n], const_cast<char *>(XmNalignment), XmALIGNMENT_BEGINNING);
        ++n;
    }
    Widget w = XtCreateWidget(name, xmLabelWidgetClass, container, args, n);
    XmString s = nullptr;
    XtVaGetValues(w, XmNlabelString, &s, nullptr);
    // A label without a resource shows its name; a message line starts empty.
    std::string initial = lookup(w, nullptr, nullptr, "labelString") ? stringOf(s) : "";
    XmStringFree(s);
    show(w, initial);
    XtAddCallback(w, XmNdestroyCallback, destroyed, nullptr);
    return w;
}

} // namespace xmt

using namespace xmt;

void XmtMsgLineClear(Widget msgline, int)
{
    if (msgline)
        show(msgline, "");
}

void XmtMsgLinePrintf(Widget msgline, const char *fmt, ...)
{
    if (!msgline)
        return;
    va_list ap;
    va_start(ap, fmt);
    std::string text = formatted(fmt, ap);
    va_end(ap);
    show(msgline, text.c_str());
}

void XmtMsgLineShowNamed(Widget msgline, const char *name, const char *own, ...)
{
    if (!msgline)
        return;
    const char *fmt = XmtGetResourceString(msgline, nullptr, name);
    if (!fmt || !takesArgumentsOf(fmt, own))
        fmt = own;
    va_list ap;
    va_start(ap, own);
    std::string text = formatted(fmt, ap);
    va_end(ap);
    show(msgline, text);
}

const char *XmtMsgLineGetString(Widget msgline)
{
    auto it = lines().find(msgline);
    return it == lines().end() ? nullptr : it->second.c_str();
}
