#include "speeddial/kwzread.h"

#include "config/record.h"
#include "speeddial/kwzformat.h"

#include <cstring>

void normaliseNumbers(unsigned char *record)
{
    for (int i = 0; i < rec::KwzCount; ++i) {
        unsigned char *slot = record + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i);
        if (auto *end = static_cast<unsigned char *>(std::memchr(slot, 0, KwzNumberMax)))
            std::memset(end, 0, std::size_t(slot + KwzNumberMax - end));
    }
}

FileLoad readKwzStream(FILE *fp, unsigned char *record)
{
    // Cleared first: a file too short for the mark fails the check.
    static unsigned char image[KwzFileSize];
    std::memset(image, 0, sizeof image);
    std::size_t got = std::fread(image, 1, sizeof image, fp);
    if (!hasMark(reinterpret_cast<const char *>(image), KwzMark, KwzMarkLength))
        return FileLoad::WrongFile;
    std::memcpy(record + rec::KwzHeader, image, got);
    normaliseNumbers(record);
    return FileLoad::Loaded;
}

FileLoad readKwzNames(FILE *fp, unsigned char *record)
{
    char mark[rec::KwzHeaderSize] = {}; // cleared: a short file fails the check
    std::size_t got = std::fread(mark, 1, sizeof mark, fp);
    if (!hasMark(mark, KwzMark, KwzMarkLength))
        return FileLoad::WrongFile;
    if (std::fseek(fp, long(KwzNameFileOffset), SEEK_SET) != 0)
        return FileLoad::Unplaced;
    got = std::fread(record + rec::KwzNames, 1, rec::KwzCount * rec::KwzNameSize, fp);
    (void)got;
    return FileLoad::Loaded;
}
