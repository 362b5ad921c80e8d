#include "link/trace.h"

#include "shell/shell.h"

#include <cstdarg>

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
