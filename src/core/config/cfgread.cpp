#include "config/cfgread.h"

#include "config/cfgfile.h"
#include "config/record.h"

#include <cstring>

bool hasMark(const char *bytes, const char *expected, int count)
{
    return std::strncmp(bytes, expected, std::size_t(count)) == 0;
}

FileLoad readCfgStream(FILE *fp, unsigned char *record)
{
    // A buffer cleared first makes a file shorter than the compared part fail.
    char id[CfgIdSize] = {};
    std::size_t got = std::fread(id, 1, sizeof id, fp);
    if (!hasMark(id, "Daten Konfigurator", 18))
        return FileLoad::WrongFile;
    // A short file fills the record as far as it reaches and still counts as loaded.
    got = std::fread(record, 1, rec::PbxImageSize, fp);
    (void)got;
    return FileLoad::Loaded;
}
