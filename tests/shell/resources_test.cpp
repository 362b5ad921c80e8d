// The built-in resource table as a whole: every dialog it describes builds, and
// names only registered procedures and known widget kinds.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "support/program.h"
#include "resources/resources.h"
#include "toolkit/toolkit.h"

#include <Xm/DialogS.h>
#include <regex>
#include <set>
#include <string>

namespace {

std::set<std::string> dialogsOfTheTable()
{
    std::set<std::string> names;
    std::regex dialogLine(R"(^\*(\w+_dlg)\.children:)");
    for (const char **line = kelvoraFallbackResources(); *line; ++line) {
        std::cmatch m;
        if (std::regex_search(*line, m, dialogLine))
            names.insert(m[1]);
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
