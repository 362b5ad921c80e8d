// The built-in resource table as a whole: every dialog it describes builds, and
// names only registered procedures and known widget kinds.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "support/program.h"
#include "resources/resources.h"
#include "toolkit/toolkit.h"

#include <Xm/DialogS.h>
#include <cstring>
#include <set>
#include <string>

namespace {

std::set<std::string> dialogsOfTheTable()
{
    std::set<std::string> names;
    // "*<name>_dlg.children: ..."
    for (const char **line = kelvoraFallbackResources(); *line; ++line) {
        const char *dot = std::strstr(*line, "_dlg.children:");
        if ((*line)[0] == '*' && dot && !std::memchr(*line, '.', std::size_t(dot - *line)))
            names.insert(std::string(*line + 1, dot + 4));
    }
    return names;
}

} // namespace

TEST(ResourceTable, EveryDialogBuildsWithoutAFault)
{
    Widget top = programTop();
    EXPECT_EQ(XmtResourceProblems(), 0) << "the main window";
    std::set<std::string> dialogs = dialogsOfTheTable();
    EXPECT_GE(dialogs.size(), 6u);
    // A parent of its own, so that the program's dialogs stay the only ones under toplevel.
    Widget probe = XtCreatePopupShell("probe", xmDialogShellWidgetClass, top, nullptr, 0);
    for (const std::string &name : dialogs) {
        int before = XmtResourceProblems();
        EXPECT_NE(XmtBuildDialog(probe, name.c_str(), nullptr, 0), nullptr) << name;
        EXPECT_EQ(XmtResourceProblems(), before) << name << ": see the lines on stderr";
    }
    XtDestroyWidget(probe);
    guiPump(50);
}
