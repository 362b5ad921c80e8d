#include "speeddial/kwzfile.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "speeddial/kwzread.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

char thedirname[256];
char patbuf[256];

namespace {

char *kwzPath() { return recText(rec::KwzFilePath); }

bool askForKwzFile(Widget parent, const char *query, const char *prompt, bool saving, XmtFileChoice &choice)
{
    return XmtChooseFile(parent, query, prompt, DefaultFilesDir, "*.kwz", saving, kwzPath(), thedirname, patbuf,
                         "No Help!", &choice);
}

// The path of the last file loaded or written, "" when none.
std::string filePath;

// The path of a file loaded or written becomes the target of "Sichern", and
// only then: a file that failed must not be overwritten by the next "Sichern".
void keepChoice(const XmtFileChoice &choice)
{
    XmtKeepFileChoice(choice, kwzPath(), int(rec::PathSize), thedirname, sizeof thedirname, patbuf, sizeof patbuf);
    filePath = kwzPath();
}

// The directory as the file holds it, in two pieces as the record has them.
// Files that are not regular files are neither written nor reported.
bool writeKwz(Widget parent, const char *path)
{
    // Unsaved changes must not pass for saved.
    return toldWrite(parent, path, writeKwzFile(path));
}

} // namespace

bool kwzFromFile() { return !filePath.empty() && filePath == kwzPath(); }

void setKwzDefaults()
{
    std::snprintf(kwzPath(), rec::PathSize, "%s/%s", DefaultFilesDir, "standard.kwz");
    std::snprintf(thedirname, sizeof thedirname, "%s", DefaultFilesDir);
}

bool loadKwzFile(Widget parent)
{
    XmtFileChoice choice;
    if (!askForKwzFile(parent, "load_dlg", "Datei laden:", false, choice))
        return false;
    bool loaded = false;
    if (isNormalFile(choice.stream)) {
        if (loadKwzImage(choice.stream) == FileLoad::Loaded) {
            keepChoice(choice);
            loaded = true;
        } else {
            showWrongFile(parent, choice.path.c_str(), "Kurzwahl-Datei");
        }
    }
    std::fclose(choice.stream);
    return loaded;
}

bool saveKwzFile(Widget parent) { return writeKwz(parent, kwzPath()); }

bool saveKwzFileAs(Widget parent)
{
    XmtFileChoice choice;
    if (!askForKwzFile(parent, "save_dlg", "Datei sichern:", true, choice) || !writeKwz(parent, choice.path.c_str()))
        return false;
    keepChoice(choice);
    return true;
}

bool saveKwzText(Widget parent)
{
    return saveLinesAs(parent, "txt_dlg", "Text sichern:", "*.txt", writeTextFile);
}

bool mergeKwzNames(Widget parent)
{
    if (recInt(rec::KwzPresent) == 0)
        return false;
    char file[256], dir[256], pattern[256] = "";
    std::snprintf(file, sizeof file, "%s", kwzPath());
    std::snprintf(dir, sizeof dir, "%s", DefaultFilesDir);
    FILE *fp = nullptr;
    if (!XmtAskForFile(parent, "merge_dlg", "Namen nachladen aus:", DefaultFilesDir, "*.kwz", &fp, "r", file,
                       sizeof file, dir, sizeof dir, pattern, sizeof pattern, "No Help!"))
        return false;
    bool merged = false;
    if (isNormalFile(fp)) {
        switch (readKwzNames(fp, all)) {
        case FileLoad::Loaded:
            incRecInt(rec::KwzChanges);
            merged = true;
            break;
        case FileLoad::WrongFile:
            showWrongFile(parent, file, "Kurzwahl-Datei");
            break;
        case FileLoad::Unplaced:
            break;
        }
    }
    std::fclose(fp);
    return merged;
}

bool printKwzText(Widget parent)
{
    return printLines(parent, writeTextFile);
}
