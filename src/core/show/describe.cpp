#include "show/describe.h"

#include "config/cfgfile.h"
#include "config/cfgread.h"
#include "config/inputfile.h"
#include "config/record.h"
#include "speeddial/kwzread.h"
#include "subscriber/tndentries.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr const char *KwzFileMark = "KwDaten";

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

long fileSizeOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Configuration: return CfgFileSize;
    case FileKind::SpeedDial: return long(rec::KwzSizeInFile);
    case FileKind::Subscribers: return TndFileSize;
    }
    return 0;
}

FileOpen loadFileImage(const char *path, FileImage &image)
{
    bool regular = true;
    FILE *fp = openInputFile(path, &regular);
    if (!fp)
        return regular ? FileOpen::Unreadable : FileOpen::NotRegular;
    struct stat st;
    FileOpen result = FileOpen::Unreadable;
    if (fstat(fileno(fp), &st) == 0)
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
    } else if (got >= 7 && hasMark(head, KwzFileMark, 7)) {
        image.kind = FileKind::SpeedDial;
    } else if (size == TndFileSize) { // no mark: its size is all that tells it
        image.kind = FileKind::Subscribers;
    } else {
        result = FileOpen::Unknown;
    }
    // A file cut short or grown would be compared as if the rest were zeros.
    if (result == FileOpen::Loaded && size != fileSizeOf(image.kind))
        result = FileOpen::WrongSize;
    if (result == FileOpen::Loaded) {
        if (image.kind == FileKind::Configuration)
            readCfgStream(fp, image.record.data());
        else if (image.kind == FileKind::SpeedDial)
            readKwzStream(fp, image.record.data());
        else
            readTndStream(fp, image.record.data());
        if (std::ferror(fp))
            result = FileOpen::Unreadable;
    }
    return result;
}

const Field *firstUnstorableField(const FileImage &image)
{
    if (image.kind != FileKind::Subscribers)
        return nullptr;
    for (const Field &f : fieldsOf(FileKind::Subscribers)) {
        const unsigned char *p = image.record.data() + f.offset;
        bool storable = true;
        if (f.reading == Reading::TimeOfDay) {
            // The field takes four digits, read as hhmm in hexadecimal.
            unsigned v = getLe16(p);
            for (int shift = 0; shift < 16; shift += 4)
                storable = storable && (v == 0xFFFF || (v >> shift & 0xF) <= 9);
        } else if (f.reading == Reading::Text) {
            // Digits up to the terminating zero; what follows it the field
            // neither shows nor changes.
            std::size_t n = strnlen(reinterpret_cast<const char *>(p), f.size);
            storable = n < f.size && std::all_of(p, p + n, [](unsigned char c) { return c >= '0' && c <= '9'; });
        }
        if (!storable)
            return &f;
    }
    return nullptr;
}

std::vector<std::string> showLines(const FileImage &image)
{
    std::vector<std::string> lines;
    // Every field, the zero ones too: apply of a whole show text makes the
    // target byte for byte the source.
    for (const Field &f : fieldsOf(image.kind))
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
