#include "fields/describe.h"

#include "config/cfgfile.h"
#include "config/cfgread.h"
#include "config/record.h"
#include "speeddial/kwzread.h"
#include "subscriber/tndentries.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr const char *KwzFileMark = "KwDaten";

bool allZero(const Field &f, const unsigned char *record)
{
    for (std::size_t i = 0; i < f.size; i++)
        if (record[f.offset + i] & (f.size == 1 ? f.mask : 0xFFu))
            return false;
    return true;
}

} // namespace

const char *kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Configuration: return "Konfigurationsdatei";
    case FileKind::SpeedDial: return "Kurzwahl-Datei";
    case FileKind::Subscribers: return "Teilnehmerdatei";
    }
    return "";
}

FileOpen loadFileImage(const char *path, FileImage &image)
{
    FILE *fp = std::fopen(path, "rb");
    if (!fp)
        return FileOpen::Unreadable;
    struct stat st;
    FileOpen result = FileOpen::NotRegular;
    if (fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode))
        result = loadFileImage(fp, long(st.st_size), image);
    int error = errno;
    std::fclose(fp);
    errno = error;
    return result;
}

FileOpen loadFileImage(FILE *fp, long size, FileImage &image)
{
    char head[CfgIdSize] = {};
    std::size_t got = std::fread(head, 1, sizeof head, fp);
    bool unread = std::ferror(fp);
    std::rewind(fp);
    image.record.assign(rec::RecordSize, 0);
    FileOpen result = FileOpen::Loaded;
    if (unread) {
        result = FileOpen::Unreadable;
    } else if (hasMark(head, "Daten Konfigurator", 18)) {
        image.kind = FileKind::Configuration;
        readCfgStream(fp, image.record.data());
    } else if (got >= 7 && hasMark(head, KwzFileMark, 7)) {
        image.kind = FileKind::SpeedDial;
        readKwzStream(fp, image.record.data());
    } else if (size == TndFileSize) { // no mark: its size is all that tells it
        image.kind = FileKind::Subscribers;
        readTndStream(fp, image.record.data());
    } else {
        result = FileOpen::Unknown;
    }
    if (result == FileOpen::Loaded && std::ferror(fp))
        result = FileOpen::Unreadable;
    return result;
}

std::vector<std::string> showLines(const FileImage &image)
{
    std::vector<std::string> lines;
    for (const Field &f : fieldsOf(image.kind))
        if (!f.extra || !allZero(f, image.record.data()))
            lines.push_back(f.label + ": " + readField(f, image.record.data()));
    return lines;
}

std::vector<std::string> diffLines(const FileImage &a, const FileImage &b)
{
    std::vector<std::string> lines;
    for (const Field &f : fieldsOf(a.kind))
        if (fieldDiffers(f, a.record.data(), b.record.data()))
            lines.push_back(f.label + ": " + readField(f, a.record.data()) + " -> " + readField(f, b.record.data()));
    return lines;
}
