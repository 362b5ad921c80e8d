// Stand-ins for the shell's globals and the three toolkit calls the protocol
// makes, until src/shell and src/toolkit land on this branch.  The toolkit
// calls are recorded so the tests can see what the user would have been shown.
#include "link_env.h"
#include "shell/shell.h"
#include "toolkit/toolkit.h"

#include <cstdarg>
#include <cstdio>

Widget toplevel = nullptr;
int debugflag = 0;
FILE *debugfile = nullptr;

void XmtDisplayErrorMsg(Widget, const char *name, const char *msg_default, const char *title_default,
                        const char *help_default, ...)
{
    char text[512];
    va_list ap;
    va_start(ap, help_default);
    std::vsnprintf(text, sizeof text, msg_default, ap);
    va_end(ap);
    uiEvents().push_back(std::string("error ") + name + "|" + title_default + "|" + text + "|" + help_default);
}

void XmtHideWorkingDialog(Widget) { uiEvents().push_back("hide"); }

void XmtWorkingBoxSetScaleValue(Widget, int value) { uiEvents().push_back("scale " + std::to_string(value)); }
