#include "link/trace.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>

int debugflag = 0;
FILE *debugfile = nullptr;

namespace {
std::string traceFilePath = "/tmp/kelvora.debug";
} // namespace

void setDebugFilePath(const char *path) { traceFilePath = path; }

const char *debugFilePath() { return traceFilePath.c_str(); }

namespace {

// The trace file open for writing, emptied; -1 with why in *why.
int openTraceFile(const char *path, std::string *why)
{
    // The file lies in a directory everybody writes to: a link planted there
    // must not make the program write where its owner can, a FIFO must not
    // hang it, and another user's file must not get the trace (numbers,
    // names), which is for the user alone.  Nothing is emptied before that
    // is known.
    int fd = open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    struct stat st;
    if (fd < 0) {
        int err = errno;
        *why = lstat(path, &st) == 0 && !S_ISREG(st.st_mode) ? "no regular file" : std::strerror(err);
        return -1;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        *why = "no regular file of this user's";
        close(fd);
        return -1;
    }
    if (fchmod(fd, 0600) != 0 || ftruncate(fd, 0) != 0) {
        *why = std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool openTrace(int level)
{
    if (debugfile)
        std::fclose(debugfile);
    debugfile = nullptr;
    std::string why;
    int fd = openTraceFile(traceFilePath.c_str(), &why);
    if (fd >= 0 && !(debugfile = fdopen(fd, "w"))) {
        why = std::strerror(errno);
        close(fd);
    }
    if (!debugfile)
        std::fprintf(stderr, "kelvora: no trace, %s: %s\n", traceFilePath.c_str(), why.c_str());
    debugflag = debugfile ? level : 0;
    return debugfile != nullptr;
}

namespace {

// A trace that can no longer be written (a full /tmp) is said once and
// given up: a user who asked for one must not think it was written.
void traceLost(int err)
{
    std::fprintf(stderr, "kelvora: trace %s not written: %s\n", traceFilePath.c_str(), std::strerror(err));
    std::fclose(debugfile);
    debugfile = nullptr;
    debugflag = 0;
}

// Whatever of the trace is buffered, written; false (and said) when it cannot be.
bool traceWritten()
{
    errno = 0;
    if (std::fflush(debugfile) == 0 && !std::ferror(debugfile))
        return true;
    traceLost(errno ? errno : EIO);
    return false;
}

} // namespace

void closeTrace()
{
    if (debugfile && traceWritten())
        std::fclose(debugfile);
    debugfile = nullptr;
    debugflag = 0;
}

void tracePrintf(const char *fmt, ...)
{
    if (!debugfile)
        return;
    va_list ap;
    va_start(ap, fmt);
    int written = std::vfprintf(debugfile, fmt, ap);
    va_end(ap);
    if (written < 0)
        traceLost(errno ? errno : EIO);
}

bool traceErrors() { return debugfile && debugflag != 0; }
bool traceBytes() { return debugfile && debugflag > 2; }

void dumppacket(const char *title, const unsigned char *bytes, int count)
{
    if (!debugfile)
        return;
    std::fprintf(debugfile, "\n\n%s\n", title);
    for (int row = 0; row < count; row += 8) {
        int end = row + 8 < count ? row + 8 : count;
        for (int i = row; i < end; i++)
            std::fprintf(debugfile, "%02X ", bytes[i]);
        for (int i = row; i < end; i++)
            std::fprintf(debugfile, "%c ", bytes[i] >= 32 && bytes[i] <= 126 ? bytes[i] : '.');
        if (end - row == 8)
            std::fprintf(debugfile, "\n");
    }
}

void traceFlush()
{
    if (debugfile)
        traceWritten();
}
