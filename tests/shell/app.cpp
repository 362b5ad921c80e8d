#include "app.h"

#include "config/record.h"
#include "resources/resources.h"
#include "shell/shell.h"
#include "support/gui.h"
#include "support/program.h"
#include "toolkit/toolkit.h"

Widget startedApp() { return programTop(); }

void settle() { guiPump(50); }
