// Stand-ins for the shell's globals until src/shell lands on this branch.
#include "shell/shell.h"

#include <cstdio>

int debugflag = 0;
FILE *debugfile = nullptr;
