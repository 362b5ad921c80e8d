#include "link/trace.h"

#include <cstdarg>
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
    debugfile = std::fopen(traceFilePath.c_str(), "w");
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
