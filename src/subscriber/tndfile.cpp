#include "subscriber/tndfile.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "subscriber/tndentries.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>
#include <sys/stat.h>

char tlndirname[256];
char tlnpatbuf[256];

namespace {

bool askForTndFile(Widget parent, const char *query, const char *prompt, bool saving, XmtFileChoice &choice)
{
    return XmtChooseFile(parent, query, prompt, DefaultFilesDir, "*.tnd", saving, recText(rec::TlnFilePath),
                         tlndirname, tlnpatbuf, "No Help!", &choice);
}

void keepChoice(const XmtFileChoice &choice)
{
    XmtKeepFileChoice(choice, recText(rec::TlnFilePath), int(rec::PathSize), tlndirname, sizeof tlndirname,
                      tlnpatbuf, sizeof tlnpatbuf);
}

// The file has no mark: its size is all that tells it from any other file.
bool isTndFile(FILE *fp)
{
    struct stat st;
    return fstat(fileno(fp), &st) == 0 && st.st_size == TndFileSize;
}

void countFile()
{
    setRecInt(rec::TlnChanges, 0);
    incRecInt(rec::TlnFileCount);
}

// The 1650 bytes of the file; false when they did not all reach the stream.
bool writeTndEntries(FILE *fp) { return writeTndStream(fp, all); }

// Reads the entries field by field; a short file fills what it holds.
void readTndEntries(FILE *fp) { readTndStream(fp, all); }

} // namespace

bool saveTlnFile(Widget parent)
{
    XmtFileChoice choice;
    if (!askForTndFile(parent, "tlnsave_dlg", "Datei sichern:", true, choice))
        return false;
    // Subscriber data that did not reach the disk must not pass for saved.
    if (!toldWrite(parent, choice.path.c_str(), writeFileAtomically(choice.path.c_str(), writeTndEntries)))
        return false;
    countFile();
    markClean(FileKind::Subscribers, all);
    keepChoice(choice);
    return true;
}

bool loadTlnFile(Widget parent)
{
    XmtFileChoice choice;
    if (!askForTndFile(parent, "tlnload_dlg", "Datei laden:", false, choice))
        return false;
    bool regular = isNormalFile(choice.stream);
    bool loaded = regular && isTndFile(choice.stream);
    if (loaded) {
        readTndEntries(choice.stream);
        incRecInt(rec::TlnPresent);
        countFile();
        markClean(FileKind::Subscribers, all);
        keepChoice(choice);
    } else if (regular) {
        showWrongFile(parent, choice.path.c_str(), "Teilnehmerdatei");
    }
    std::fclose(choice.stream);
    return loaded;
}
