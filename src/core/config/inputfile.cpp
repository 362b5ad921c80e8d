#include "config/inputfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE *openInputFile(const char *path, bool *regular)
{
    *regular = true;
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    int flags = fcntl(fd, F_GETFL);
    FILE *fp = nullptr;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        *regular = false;
    else if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        fp = fdopen(fd, "rb");
    if (!fp) {
        int error = errno;
        close(fd);
        errno = error;
    }
    return fp;
}

const char *baseName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}
