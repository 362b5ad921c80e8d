// The main window's configuration files: "Sichern" and "Laden" with their file
// dialogs, and the quick save without one.  The format is config/cfgfile.h.
#pragma once

#include "config/cfgfile.h"

#include <X11/Intrinsic.h>
#include <string>

extern char cfgdirname[256]; // directory of the configuration-file dialogs

// Asks for a file and writes it; false when cancelled or not written.  The
// path chosen goes into *chosen ("" when cancelled).
bool saveConfigFileAs(Widget parent, CfgVendor vendor, std::string *chosen = nullptr);
// Writes the current configuration file without asking, and only while the
// configuration is valid; false when nothing was written.
bool saveConfigFile(Widget parent, CfgVendor vendor);
// Clears the configuration-valid flag, asks for a file and loads it; true when
// loaded (the flag is then set).  The path chosen goes into *chosen.
bool loadConfigFile(Widget parent, std::string *chosen = nullptr);
// Writes the identification and the PBX image to path, replacing the file only
// once all of it reached the disk; true when written (a failure is shown under
// parent, and the old file stays).
bool dowrite(Widget parent, const char *path, CfgVendor vendor);
