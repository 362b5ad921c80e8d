#include "app.h"

#include "config/record.h"
#include "resources/resources.h"
#include "shell/shell.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

namespace {

// The program's own table is the fallback of the shared test application, so
// the shell's title and the main window come from the lines the program ships.
struct ProgramResources {
    ProgramResources()
    {
        for (const char **line = kelvoraFallbackResources(); *line; ++line)
            GuiStartupResources({*line});
    }
} programResources;

char device[] = "/dev/ttyS9";

} // namespace

Widget startedApp()
{
    static bool started = false;
    if (!started) {
        started = true;
        if (!all)
            AllocateStructs();
        toplevel = guiTop();
        setDevicePath(device);
        buildMainWindow();
        settle();
    }
    return toplevel;
}

void settle() { guiPump(50); }

std::string xmText(Widget w, const char *resource)
{
    XmString s = nullptr;
    XtVaGetValues(w, resource, &s, nullptr);
    if (!s)
        return "";
    // Separators come back as line breaks.
    static XmParseTable table = [] {
        Arg args[4];
        XtSetArg(args[0], XmNincludeStatus, XmINSERT);
        XtSetArg(args[1], XmNpattern, const_cast<char *>("\n"));
        XtSetArg(args[2], XmNpatternType, XmCHARSET_TEXT);
        XtSetArg(args[3], XmNsubstitute, XmStringSeparatorCreate());
        static XmParseMapping mapping = XmParseMappingCreate(args, 4);
        return &mapping;
    }();
    char *t = static_cast<char *>(XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, table, 1, XmOUTPUT_ALL));
    std::string out = t ? t : "";
    XtFree(t);
    XmStringFree(s);
    return out;
}
