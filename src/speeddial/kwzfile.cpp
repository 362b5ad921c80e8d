#include "speeddial/kwzfile.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "speeddial/kwzread.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

char thedirname[256];
char patbuf[256];

namespace {

constexpr std::size_t FirstPiece = rec::NahBerList - rec::KwzHeader; // header, numbers, names
constexpr const char *HeaderFormat = "%4s %-25.25s %12.12s\n%s\n";
constexpr const char *DashLine = " ------------------------------------------";

char *kwzPath() { return recText(rec::KwzFilePath); }

bool askForKwzFile(Widget parent, const char *query, const char *prompt, bool saving, XmtFileChoice &choice)
{
    return XmtChooseFile(parent, query, prompt, DefaultFilesDir, "*.kwz", saving, kwzPath(), thedirname, patbuf,
                         "No Help!", &choice);
}

// The path of a file loaded or written becomes the target of "Sichern", and
// only then: a file that failed must not be overwritten by the next "Sichern".
void keepChoice(const XmtFileChoice &choice)
{
    XmtKeepFileChoice(choice, kwzPath(), int(rec::PathSize), thedirname, sizeof thedirname, patbuf, sizeof patbuf);
}

bool writeDirectory(FILE *fp)
{
    return std::fwrite(all + rec::KwzHeader, 1, FirstPiece, fp) == FirstPiece &&
           std::fwrite(all + rec::NahBerList, 1, 2 * rec::PrefixListSize, fp) == 2 * rec::PrefixListSize;
}

// The directory as the file holds it, in two pieces as the record has them.
// Files that are not regular files are neither written nor reported.
bool writeKwz(Widget parent, const char *path)
{
    switch (writeFileAtomically(path, writeDirectory)) {
    case FileWrite::Written:
        setRecInt(rec::KwzChanges, 0);
        markClean(RecordPart::SpeedDial);
        return true;
    case FileWrite::NotRegular:
        return false;
    case FileWrite::Failed:
        break;
    }
    // Unsaved changes must not pass for saved.
    showWriteError(parent, path, errno);
    return false;
}

} // namespace

std::string slotText(const char *slot, std::size_t size) { return std::string(slot, strnlen(slot, size)); }

void putEntry(int i, const char *name, const char *number)
{
    char *nameSlot = kwzName(i);
    std::size_t n = strnlen(name, rec::KwzNameSize - 1);
    std::memcpy(nameSlot, name, n);
    nameSlot[n] = '\0';
    char *numberSlot = kwzNumber(i);
    std::memset(numberSlot, 0, KwzNumberMax);
    n = strnlen(number, KwzNumberMax);
    std::memcpy(numberSlot, number, n);
    numberSlot[n] = '\0';
    incRecInt(rec::KwzChanges);
}

void normaliseNumbers() { normaliseNumbers(all); }

bool writeTextFile(FILE *fp)
{
    bool ok = std::fprintf(fp, HeaderFormat, " Nr.", "Name", "Telefon", DashLine) > 0;
    int last = 99;
    for (int i = 0; i < rec::KwzCount && ok; ++i) {
        if (i == 100)
            ok = std::fprintf(fp, "%c", 12) > 0 && std::fprintf(fp, HeaderFormat, " Nr.", "Name", "Telefon", DashLine) > 0;
        if (kwzNumber(i)[0] == '\0')
            continue;
        if (i != 0 && i != 100 && last != i - 1)
            ok = ok && std::fputs(" ...\n", fp) >= 0;
        ok = ok && std::fprintf(fp, "%4d %-25.25s %12.12s\n", 100 + i, nameOf(i).c_str(), numberOf(i).c_str()) > 0;
        last = i;
    }
    return ok && !std::ferror(fp);
}

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
        if (readKwzStream(choice.stream, all) == FileLoad::Loaded) {
            setRecInt(rec::KwzChanges, 0);
            incRecInt(rec::KwzPresent);
            incRecInt(rec::PrefixPresent);
            incRecInt(rec::KwzFileCount);
            markClean(RecordPart::SpeedDial);
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
