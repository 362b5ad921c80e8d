// Writing a file so that it is, at every moment and after any failure, either
// the old file or the whole new one: every file the program writes goes here.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <sys/types.h>

enum class FileWrite {
    Written,    // the new file is in place
    NotRegular, // the target exists and is no regular file: nothing written
    ReadOnly,   // the user may not write the file as it is (as '>' would refuse): nothing written
    OtherOwner, // the file is another user's, and only root replaces that: nothing written
    Failed,     // nothing changed; errno tells why
};

// Writes through write() into a temporary file beside path, flushes it to the
// disk and renames it over path.  A replaced file keeps its mode, and, when
// root replaces it, its owner and group; a new one gets the mode the umask
// gives.  A symbolic link is followed, also one whose file is not there yet,
// and the file it names replaced or made.  write() returns false when the
// stream did not take everything.
FileWrite writeFileAtomically(const char *path, const std::function<bool(FILE *)> &write);

// Makes a new file "<dir>/.<stem>.<pid>.<six characters>" (dir "" for one
// right below dirfd, an open directory or AT_FDCWD), exclusively and never
// through a link, with mode less the umask; its path in *path.  The stem is
// cut so that the name stays within NAME_MAX.  The descriptor, or -1 with errno.
int createTemporaryFile(int dirfd, const std::string &dir, const std::string &stem, mode_t mode, std::string *path);
