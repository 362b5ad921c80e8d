#include "speeddial/kwzfile.h"

#include "config/cfgfile.h"
#include "shell/output.h"
#include "speeddial/kwzread.h"
#include "toolkit/toolkit.h"

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

FILE *askForKwzFile(Widget parent, const char *query, const char *prompt, const char *mode)
{
    FILE *fp = nullptr;
    if (!XmtAskForFile(parent, query, prompt, DefaultFilesDir, "*.kwz", &fp, mode, kwzPath(), int(rec::PathSize),
                       thedirname, sizeof thedirname, patbuf, sizeof patbuf, "No Help!"))
        return nullptr;
    return fp;
}

// The directory as the file holds it, in two pieces as the record has them.
// Files that are not regular files are neither written nor reported.
bool writeKwz(Widget parent, FILE *fp, const char *path)
{
    if (!isNormalFile(fp)) {
        std::fclose(fp);
        return false;
    }
    bool written = std::fwrite(all + rec::KwzHeader, 1, FirstPiece, fp) == FirstPiece &&
                   std::fwrite(all + rec::NahBerList, 1, 2 * rec::PrefixListSize, fp) == 2 * rec::PrefixListSize;
    if (!closeWritten(fp, written)) {
        // Unsaved changes must not pass for saved.
        showWriteError(parent, path, errno);
        return false;
    }
    setRecInt(rec::KwzChanges, 0);
    return true;
}

// Opens the path for writing without waiting: a FIFO without a reader must not
// block the program.  Only a regular file is emptied; anything else is handed
// back for the regular-file check to refuse.
FILE *openForWriting(const char *path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) {
        int error = errno;
        close(fd);
        errno = error;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE *fp = fdopen(fd, "w");
    if (!fp)
        close(fd);
    return fp;
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
    FILE *fp = askForKwzFile(parent, "load_dlg", "Datei laden:", "r");
    if (!fp)
        return false;
    bool loaded = false;
    if (isNormalFile(fp)) {
        if (readKwzStream(fp, all) == FileLoad::Loaded) {
            setRecInt(rec::KwzChanges, 0);
            incRecInt(rec::KwzPresent);
            incRecInt(rec::PrefixPresent);
            incRecInt(rec::KwzFileCount);
            loaded = true;
        } else {
            showWrongFile(parent, kwzPath(), "Kurzwahl-Datei");
        }
    }
    std::fclose(fp);
    return loaded;
}

bool saveKwzFile(Widget parent)
{
    FILE *fp = openForWriting(kwzPath());
    if (!fp) {
        showWriteError(parent, kwzPath(), errno);
        return false;
    }
    return writeKwz(parent, fp, kwzPath());
}

bool saveKwzFileAs(Widget parent)
{
    FILE *fp = askForKwzFile(parent, "save_dlg", "Datei sichern:", "w");
    return fp && writeKwz(parent, fp, kwzPath());
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
