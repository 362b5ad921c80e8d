// Opening a file the program reads: without waiting (a FIFO that nobody
// writes, a device) and only when it is a regular file.
#pragma once

#include <cstdio>

// The open stream ("rb"), or nullptr with *regular false for anything but a
// regular file, *regular true and errno for a file that cannot be opened.
FILE *openInputFile(const char *path, bool *regular);

// The file name without its directories (the path itself when it has none).
const char *baseName(const char *path);
