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
    WrongSize,  // of its kind by the mark, but not of its kind's size (image.kind tells which)
};

// Tells the kind by the file's mark (configuration, speed dial) or its size
// (subscriber data: exactly 1650 bytes) and loads it into a zeroed record.
// Opened without waiting: a FIFO or a device is NotRegular.
FileOpen loadFileImage(const char *path, FileImage &image);
// The same from a stream of size bytes (standard input read into memory).
FileOpen loadFileImage(FILE *fp, long size, FileImage &image);
// The size a file of that kind has.
long fileSizeOf(FileKind kind);

// In a subscriber file, the first field that holds what the subscriber
// dialog cannot store (a wake-up time that is not four digits hhmm or none, a
// forwarding target that is not up to 24 digits); nullptr when there is none.
const Field *firstUnstorableField(const FileImage &image);

// What a kind is called in messages ("Konfigurationsdatei", ...).
const char *kindName(FileKind kind);

// "label: value" for every field, bytes no dialog shows included.
std::vector<std::string> showLines(const FileImage &image);
// "label: value in a -> value in b" for every field that differs; a and b
// must be of one kind.
std::vector<std::string> diffLines(const FileImage &a, const FileImage &b);
