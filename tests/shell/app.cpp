#include "app.h"

#include "shell/shell.h"
#include "toolkit/toolkit.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {
char arg0[] = "kelvora";
char arg1[] = "/dev/ttyS9";
char *argv[] = {arg0, arg1, nullptr};
} // namespace

Widget startedApp()
{
    static bool started = false;
    if (!started) {
        started = true;
        kelvoraStart(2, argv);
        settle();
    }
    return toplevel;
}

const char *startedDevice() { return arg1; }

void settle()
{
    XmtProcessPending(XmtAppContext(), 50);
}

std::string xmText(Widget w, const char *resource)
{
    XmString s = nullptr;
    XtVaGetValues(w, resource, &s, nullptr);
    if (!s)
        return "";
    char *t = static_cast<char *>(XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
    std::string out = t ? t : "";
    XtFree(t);
    XmStringFree(s);
    return out;
}
