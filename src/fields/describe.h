// A configuration, speed-dial or subscriber file as readable lines: show
// gives one line per field, diff one line per field two files disagree on.
#pragma once

#include "fields/fields.h"

#include <cstdio>
#include <string>
#include <vector>

struct FileImage {
    FileKind kind;
    std::vector<unsigned char> record; // rec::RecordSize bytes, the file loaded as the window loads it
};

enum class FileOpen {
    Loaded,
    Unreadable, // cannot be opened or read (errno tells why)
    NotRegular, // a directory, a device, ...
    Unknown,    // none of the three kinds
};

// Tells the kind by the file's mark (configuration, speed dial) or its size
// (subscriber data: exactly 1650 bytes) and loads it into a zeroed record.
FileOpen loadFileImage(const char *path, FileImage &image);
// The same from a stream of size bytes (standard input read into memory).
FileOpen loadFileImage(FILE *fp, long size, FileImage &image);

// What a kind is called in messages ("Konfigurationsdatei", ...).
const char *kindName(FileKind kind);

// "label: value" for every field; bytes no dialog shows only where they are
// not zero.
std::vector<std::string> showLines(const FileImage &image);
// "label: value in a -> value in b" for every field that differs; a and b
// must be of one kind.
std::vector<std::string> diffLines(const FileImage &a, const FileImage &b);
