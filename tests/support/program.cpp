#include "support/program.h"

#include "config/record.h"
#include "resources/resources.h"
#include "shell/shell.h"
#include "support/gui.h"

namespace {

// The program's own table is the fallback of the test application, as in the
// program, so lines a test merges later still override it.
struct ProgramResources {
    ProgramResources()
    {
        for (const char **line = kelvoraFallbackResources(); *line; ++line)
            GuiStartupResources({*line});
    }
} programResources;

char device[] = "/dev/ttyS9";

} // namespace

Widget programTop()
{
    static bool started = false;
    if (!started) {
        started = true;
        if (!all)
            AllocateStructs();
        toplevel = guiTop();
        setDevicePath(device);
        buildMainWindow();
        guiPump(50);
    }
    return toplevel;
}
