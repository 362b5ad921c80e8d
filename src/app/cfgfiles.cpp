#include "app/cfgfiles.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>

char cfgdirname[256];

namespace {

char cfgpatbuf[256];

bool askForCfgFile(Widget parent, const char *query, const char *prompt, bool saving, XmtFileChoice &choice)
{
    return XmtChooseFile(parent, query, prompt, DefaultFilesDir, "*.cfg", saving, recText(rec::CfgFilePath),
                         cfgdirname, cfgpatbuf, "No Help!", &choice);
}

void keepChoice(const XmtFileChoice &choice)
{
    XmtKeepFileChoice(choice, recText(rec::CfgFilePath), int(rec::PathSize), cfgdirname, sizeof cfgdirname,
                      cfgpatbuf, sizeof cfgpatbuf);
}

// The file at path, or else the old one and a message; nothing at all for a
// target that is not a regular file.
bool writeCfg(Widget parent, const char *path, CfgVendor vendor)
{
    // A configuration that did not reach the disk must not pass for saved.
    return toldWrite(parent, path, writeConfigFile(path, vendor));
}

// Reads an accepted file into the record; false when it is not a regular file
// or not a configuration file (the user has been told about the latter).
bool readImage(Widget parent, FILE *fp, const char *path)
{
    if (!isNormalFile(fp))
        return false;
    if (loadConfigImage(fp) == FileLoad::WrongFile) {
        showWrongFile(parent, path, "Konfigurationsdatei");
        return false;
    }
    return true;
}

} // namespace

bool dowrite(Widget parent, const char *path, CfgVendor vendor) { return writeCfg(parent, path, vendor); }

bool saveConfigFileAs(Widget parent, CfgVendor vendor, std::string *chosen)
{
    XmtFileChoice choice;
    bool asked = askForCfgFile(parent, "*cfgsave_dlg", "Datei sichern:", true, choice);
    if (chosen)
        *chosen = asked ? choice.path : "";
    if (!asked)
        return false;
    if (!writeCfg(parent, choice.path.c_str(), vendor))
        return false;
    keepChoice(choice);
    return true;
}

bool saveConfigFile(Widget parent, CfgVendor vendor)
{
    if (recInt(rec::CfgValid) == 0)
        return false;
    return writeCfg(parent, recText(rec::CfgFilePath), vendor);
}

bool loadConfigFile(Widget parent, std::string *chosen)
{
    // A file that is cancelled or refused leaves the record as it was, and
    // with it the user's right to save and program it.
    SavedFlags before{all};
    setFlags(all, 0);
    XmtFileChoice choice;
    bool asked = askForCfgFile(parent, "*cfgload_dlg", "Datei laden:", false, choice);
    if (chosen)
        *chosen = asked ? choice.path : "";
    if (!asked) {
        before.restore();
        return false;
    }
    bool loaded = readImage(parent, choice.stream, choice.path.c_str());
    if (loaded)
        keepChoice(choice);
    else
        before.restore();
    std::fclose(choice.stream);
    return loaded;
}
