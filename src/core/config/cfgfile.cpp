#include "config/cfgfile.h"

#include "config/record.h"

#include <cstring>
#include <sys/stat.h>

bool writeCfgStream(FILE *fp, CfgVendor vendor, const unsigned char *record)
{
    // The identification followed by record bytes 0-2097, both PBX shares
    // included, in the order of the record.
    char id[CfgIdSize] = {};
    std::strcpy(id, vendor == CfgVendor::Dorvan ? CfgIdDorvan : CfgIdOstrale);
    bool written = std::fwrite(id, 1, sizeof id, fp) == sizeof id;
    written = written && std::fwrite(record, 1, rec::PbxImageSize, fp) == rec::PbxImageSize;
    return written && std::fflush(fp) == 0;
}


FileWrite writeConfigFile(const char *path, CfgVendor vendor, const unsigned char *record)
{
    return writeFileAtomically(path, [vendor, record](FILE *fp) { return writeCfgStream(fp, vendor, record); });
}

FileWrite writeConfigFile(const char *path, CfgVendor vendor)
{
    FileWrite written = writeConfigFile(path, vendor, all);
    if (written == FileWrite::Written) {
        setRecInt(rec::CfgChanges, 0);
        incRecInt(rec::CfgFileCount);
        markClean(FileKind::Configuration, all);
    }
    return written;
}

FileLoad loadConfigImage(FILE *fp, unsigned char *record)
{
    FileLoad loaded = readCfgStream(fp, record);
    if (loaded == FileLoad::Loaded) {
        putLe32(record + rec::CfgChanges, 0);
        putLe32(record + rec::CfgValid, 1);
        putLe32(record + rec::CfgFileCount, getLe32(record + rec::CfgFileCount) + 1);
    }
    return loaded;
}

FileLoad loadConfigImage(FILE *fp)
{
    FileLoad loaded = loadConfigImage(fp, all);
    if (loaded == FileLoad::Loaded)
        markClean(FileKind::Configuration, all);
    return loaded;
}

int isNormalFile(FILE *fp)
{
    struct stat st;
    if (!fp || fstat(fileno(fp), &st) != 0)
        return 0;
    return S_ISREG(st.st_mode) ? 1 : 0;
}
