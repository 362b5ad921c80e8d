#include "speeddial/kwzformat.h"

#include "speeddial/kwzread.h"

#include <cstring>

namespace {

constexpr std::size_t FirstPiece = rec::NahBerList - rec::KwzHeader; // header, numbers, names
constexpr const char *HeaderFormat = "%4s %-25.25s %12.12s\n%s\n";
constexpr const char *DashLine = " ------------------------------------------";

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


bool writeTextFile(FILE *fp) { return writeKwzText(fp, all); }

bool writeKwzText(FILE *fp, const unsigned char *record)
{
    auto slot = [record](std::size_t from, int i, std::size_t size) {
        return slotText(reinterpret_cast<const char *>(record + from + size * std::size_t(i)), size);
    };
    bool ok = std::fprintf(fp, HeaderFormat, " Nr.", "Name", "Telefon", DashLine) > 0;
    int last = 99;
    for (int i = 0; i < rec::KwzCount && ok; ++i) {
        if (i == 100)
            ok = std::fprintf(fp, "%c", 12) > 0 && std::fprintf(fp, HeaderFormat, " Nr.", "Name", "Telefon", DashLine) > 0;
        if (record[rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i)] == '\0')
            continue;
        if (i != 0 && i != 100 && last != i - 1)
            ok = ok && std::fputs(" ...\n", fp) >= 0;
        // A number longer than its column is written whole (a cut one would be
        // a wrong number on paper); only that line's column is wider.
        ok = ok && std::fprintf(fp, "%4d %-25.25s %12s\n", 100 + i,
                                 slot(rec::KwzNames, i, rec::KwzNameSize).c_str(),
                                 slot(rec::KwzNumbers, i, rec::KwzNumberSize).c_str()) > 0;
        last = i;
    }
    return ok && !std::ferror(fp);
}

bool writeKwzStream(FILE *fp, const unsigned char *record)
{
    return std::fwrite(record + rec::KwzHeader, 1, FirstPiece, fp) == FirstPiece &&
           std::fwrite(record + rec::NahBerList, 1, 2 * rec::PrefixListSize, fp) == 2 * rec::PrefixListSize;
}


FileWrite writeKwzFile(const char *path, const unsigned char *record)
{
    return writeFileAtomically(path, [record](FILE *fp) { return writeKwzStream(fp, record); });
}

FileWrite writeKwzFile(const char *path)
{
    FileWrite written = writeKwzFile(path, all);
    if (written == FileWrite::Written) {
        setRecInt(rec::KwzChanges, 0);
        markClean(FileKind::SpeedDial, all);
    }
    return written;
}

FileLoad loadKwzImage(FILE *fp, unsigned char *record)
{
    FileLoad loaded = readKwzStream(fp, record);
    if (loaded == FileLoad::Loaded) {
        putLe32(record + rec::KwzChanges, 0);
        for (std::size_t counter : {rec::KwzPresent, rec::PrefixPresent, rec::KwzFileCount})
            putLe32(record + counter, getLe32(record + counter) + 1);
    }
    return loaded;
}

FileLoad loadKwzImage(FILE *fp)
{
    FileLoad loaded = loadKwzImage(fp, all);
    if (loaded == FileLoad::Loaded)
        markClean(FileKind::SpeedDial, all);
    return loaded;
}
