#include "subscriber/tndfile.h"

#include "config/cfgfile.h"
#include "config/record.h"
#include "subscriber/tndentries.h"
#include "toolkit/toolkit.h"

#include <cerrno>

char tlndirname[256];
char tlnpatbuf[256];

namespace {

FILE *askForTndFile(Widget parent, const char *query, const char *prompt, const char *mode)
{
    FILE *fp = nullptr;
    if (!XmtAskForFile(parent, query, prompt, DefaultFilesDir, "*.tnd", &fp, mode, recText(rec::TlnFilePath),
                       int(rec::PathSize), tlndirname, sizeof tlndirname, tlnpatbuf, sizeof tlnpatbuf, "No Help!"))
        return nullptr;
    return fp;
}

void countFile()
{
    setRecInt(rec::TlnChanges, 0);
    incRecInt(rec::TlnFileCount);
}

} // namespace

bool writeTndEntries(FILE *fp) { return writeTndStream(fp, all); }

void readTndEntries(FILE *fp) { readTndStream(fp, all); }

bool saveTlnFile(Widget parent)
{
    FILE *fp = askForTndFile(parent, "tlnsave_dlg", "Datei sichern:", "w");
    if (!fp)
        return false;
    if (!isNormalFile(fp)) {
        std::fclose(fp);
        return false;
    }
    bool written = writeTndEntries(fp);
    int error = errno;
    if (std::fclose(fp) != 0 && written) {
        written = false;
        error = errno;
    }
    // Subscriber data that did not reach the disk must not pass for saved.
    if (!written) {
        showWriteError(parent, recText(rec::TlnFilePath), error);
        return false;
    }
    countFile();
    return true;
}

bool loadTlnFile(Widget parent)
{
    FILE *fp = askForTndFile(parent, "tlnload_dlg", "Datei laden:", "r");
    if (!fp)
        return false;
    bool regular = isNormalFile(fp);
    if (regular) {
        readTndEntries(fp);
        incRecInt(rec::TlnPresent);
        countFile();
    }
    std::fclose(fp);
    return regular;
}
