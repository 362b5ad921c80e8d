#include "config/cfgfile.h"

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

FILE *askForCfgFile(Widget parent, const char *query, const char *prompt, const char *mode)
{
    FILE *fp = nullptr;
    if (!XmtAskForFile(parent, query, prompt, DefaultFilesDir, "*.cfg", &fp, mode, recText(rec::CfgFilePath),
                       int(rec::PathSize), cfgdirname, sizeof cfgdirname, cfgpatbuf, sizeof cfgpatbuf, "No Help!"))
        return nullptr;
    return fp;
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

bool dowrite(Widget parent, FILE *fp, CfgVendor vendor)
{
    bool written = writeImage(fp, vendor);
    int error = errno;
    if (std::fclose(fp) != 0 && written) {
        written = false;
        error = errno;
    }
    // A configuration that did not reach the disk must not pass for saved.
    if (!written) {
        showWriteError(parent, recText(rec::CfgFilePath), error);
        return false;
    }
    setRecInt(rec::CfgChanges, 0);
    incRecInt(rec::CfgFileCount);
    return true;
}

bool saveConfigFileAs(Widget parent, CfgVendor vendor)
{
    FILE *fp = askForCfgFile(parent, "*cfgsave_dlg", "Datei sichern:", "w");
    return fp && dowrite(parent, fp, vendor);
}

bool saveConfigFile(Widget parent, CfgVendor vendor)
{
    if (recInt(rec::CfgValid) == 0)
        return false;
    FILE *fp = std::fopen(recText(rec::CfgFilePath), "w");
    return fp && dowrite(parent, fp, vendor);
}

// Reads an accepted file into the record; false when it is not a regular file
// or not a configuration file (the user has been told about the latter).
static bool readImage(Widget parent, FILE *fp)
{
    if (!isNormalFile(fp))
        return false;
    if (readCfgStream(fp, all) == FileLoad::WrongFile) {
        showWrongFile(parent, recText(rec::CfgFilePath), "Konfigurationsdatei");
        return false;
    }
    return true;
}

bool loadConfigFile(Widget parent)
{
    setFlags(0);
    FILE *fp = askForCfgFile(parent, "*cfgload_dlg", "Datei laden:", "r");
    if (!fp)
        return false;
    bool loaded = readImage(parent, fp);
    if (loaded) {
        setRecInt(rec::CfgChanges, 0);
        setRecInt(rec::CfgValid, 1);
        incRecInt(rec::CfgFileCount);
    }
    std::fclose(fp);
    return loaded;
}
