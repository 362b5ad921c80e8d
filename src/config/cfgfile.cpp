#include "config/cfgfile.h"

#include "config/atomicfile.h"
#include "config/cfgread.h"
#include "config/record.h"
#include "toolkit/toolkit.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

char cfgdirname[256];

namespace {

char cfgpatbuf[256];

// The file is the identification followed by record bytes 0-2097, both PBX
// shares included, in the order of the record.  False when it could not be
// written completely.
bool writeImage(FILE *fp, CfgVendor vendor)
{
    char id[CfgIdSize] = {};
    std::strcpy(id, vendor == CfgVendor::Dorvan ? CfgIdDorvan : CfgIdOstrale);
    bool written = std::fwrite(id, 1, sizeof id, fp) == sizeof id;
    written = written && std::fwrite(all, 1, rec::PbxImageSize, fp) == rec::PbxImageSize;
    return written && std::fflush(fp) == 0;
}

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
    switch (writeFileAtomically(path, [vendor](FILE *fp) { return writeImage(fp, vendor); })) {
    case FileWrite::Written:
        setRecInt(rec::CfgChanges, 0);
        incRecInt(rec::CfgFileCount);
        markClean(RecordPart::Configuration);
        return true;
    case FileWrite::NotRegular:
        return false;
    case FileWrite::Failed:
        break;
    }
    // A configuration that did not reach the disk must not pass for saved.
    showWriteError(parent, path, errno);
    return false;
}

} // namespace

int isNormalFile(FILE *fp)
{
    struct stat st;
    if (!fp || fstat(fileno(fp), &st) != 0)
        return 0;
    return S_ISREG(st.st_mode) ? 1 : 0;
}

void showWrongFile(Widget parent, const char *path, const char *kind)
{
    XmtDisplayErrorMsg(parent, "wrongFile", "Die Datei \"%s\" \nist kein %s!", "Datei-Fehler", "No Help!", path,
                       kind);
}

void showWriteError(Widget parent, const char *path, int error)
{
    XmtDisplayErrorMsg(parent, "writeError", "Die Datei \"%s\"\nkonnte nicht geschrieben werden:\n%s",
                       "Datei-Fehler", "No Help!", path, std::strerror(error));
}

bool dowrite(Widget parent, const char *path, CfgVendor vendor) { return writeCfg(parent, path, vendor); }

bool saveConfigFileAs(Widget parent, CfgVendor vendor)
{
    XmtFileChoice choice;
    if (!askForCfgFile(parent, "*cfgsave_dlg", "Datei sichern:", true, choice))
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

// Reads an accepted file into the record; false when it is not a regular file
// or not a configuration file (the user has been told about the latter).
static bool readImage(Widget parent, FILE *fp, const char *path)
{
    if (!isNormalFile(fp))
        return false;
    if (readCfgStream(fp, all) == FileLoad::WrongFile) {
        showWrongFile(parent, path, "Konfigurationsdatei");
        return false;
    }
    return true;
}

bool loadConfigFile(Widget parent)
{
    setFlags(0);
    XmtFileChoice choice;
    if (!askForCfgFile(parent, "*cfgload_dlg", "Datei laden:", false, choice))
        return false;
    bool loaded = readImage(parent, choice.stream, choice.path.c_str());
    if (loaded) {
        setRecInt(rec::CfgChanges, 0);
        setRecInt(rec::CfgValid, 1);
        incRecInt(rec::CfgFileCount);
        markClean(RecordPart::Configuration);
        keepChoice(choice);
    }
    std::fclose(choice.stream);
    return loaded;
}
