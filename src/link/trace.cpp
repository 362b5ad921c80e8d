#include "link/trace.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <string>

int debugflag = 0;
FILE *debugfile = nullptr;

namespace {
std::string traceFilePath = "/tmp/kelvora.debug";
} // namespace

void setDebugFilePath(const char *path) { traceFilePath = path; }

const char *debugFilePath() { return traceFilePath.c_str(); }

bool openTrace(int level)
{
    if (debugfile)
        std::fclose(debugfile);
    debugfile = nullptr;
    // The file lies in a directory everybody writes to: a link planted there
    // must not make the program write where its owner can, and the trace
    // (numbers, names) is for the user alone.
    int fd = open(traceFilePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 && !(debugfile = fdopen(fd, "w")))
        close(fd);
    if (!debugfile)
        std::fprintf(stderr, "kelvora: no trace, %s: %s\n", traceFilePath.c_str(), std::strerror(errno));
    debugflag = debugfile ? level : 0;
    return debugfile != nullptr;
}

void closeTrace()
{
    if (debugfile)
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
    std::vfprintf(debugfile, fmt, ap);
    va_end(ap);
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
        std::fflush(debugfile);
}
