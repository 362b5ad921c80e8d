#include "subscriber/tndfile.h"

#include "config/cfgfile.h"
#include "config/record.h"
#include "toolkit/toolkit.h"

#include <cerrno>

char tlndirname[256];
char tlnpatbuf[256];

namespace {

// The parts of a record an entry holds, in file order.
struct TndField {
    std::size_t offset;
    std::size_t size;
};
constexpr TndField tndFields[] = {
    {rec::TlnFunc1, 2},
    {rec::TlnWake, 2},
    {rec::TlnBusyTarget, rec::TlnTargetSize},
    {rec::TlnTarget, rec::TlnTargetSize},
    {rec::TlnRingTime, 1},
};
constexpr long entrySize()
{
    long n = 0;
    for (const TndField &f : tndFields)
        n += long(f.size);
    return n;
}
static_assert(entrySize() == TndEntrySize);
static_assert(rec::TlnFunc2 == rec::TlnFunc1 + 1);

unsigned char *tlnRecord(int i) { return recAt(rec::TlnData + rec::TlnDataSize * std::size_t(i)); }

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

bool writeTndEntries(FILE *fp)
{
    for (int i = 0; i < rec::TlnCount; i++)
        for (const TndField &f : tndFields)
            if (std::fwrite(tlnRecord(i) + f.offset, 1, f.size, fp) != f.size)
                return false;
    return std::fflush(fp) == 0;
}

void readTndEntries(FILE *fp)
{
    // Straight into the record: a field cut short keeps its bytes beyond the cut.
    for (int i = 0; i < rec::TlnCount; i++)
        for (const TndField &f : tndFields)
            if (std::fread(tlnRecord(i) + f.offset, 1, f.size, fp) != f.size)
                return;
}

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
