// Shared by the file targets: the input as an open stream, and the abort.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The bytes as a read-only stream (an empty input too).
inline FILE *openBytes(const std::uint8_t *data, std::size_t size)
{
    static const std::uint8_t none = 0;
    FILE *fp = size ? fmemopen(const_cast<std::uint8_t *>(data), size, "r")
                    : fmemopen(const_cast<std::uint8_t *>(&none), 1, "r");
    if (fp && !size)
        std::fgetc(fp); // at the end: reads as an empty file
    if (!fp) {
        std::perror("fmemopen");
        std::abort();
    }
    return fp;
}

[[noreturn]] inline void fuzzFail(const char *target, const char *what, std::size_t at)
{
    std::fprintf(stderr, "%s: %s (byte %zu)\n", target, what, at);
    std::abort();
}
