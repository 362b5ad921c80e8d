// Writing a file so that it is, at every moment and after any failure, either
// the old file or the whole new one: every file the program writes goes here.
#pragma once

#include <cstdio>
#include <functional>

enum class FileWrite {
    Written,    // the new file is in place
    NotRegular, // the target exists and is no regular file: nothing written
    Failed,     // nothing changed; errno tells why
};

// Writes through write() into a temporary file beside path, flushes it to the
// disk and renames it over path.  An existing file keeps its permissions; a
// symbolic link is followed and the file it names replaced.  write() returns
// false when the stream did not take everything.
FileWrite writeFileAtomically(const char *path, const std::function<bool(FILE *)> &write);
