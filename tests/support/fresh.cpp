#include "support/fresh.h"

#include "link/serial.h"
#include "shell/shell.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::function<void()>> &resets()
{
    static std::vector<std::function<void()>> list;
    return list;
}

} // namespace

void atFreshStart(std::function<void()> reset) { resets().push_back(std::move(reset)); }

void freshStart()
{
    static const std::string startTrace = debugFilePath();
    setLockDir(nullptr);
    if (debugfile)
        std::fclose(debugfile);
    debugfile = nullptr;
    debugflag = 0;
    setDebugFilePath(startTrace.c_str());
    for (auto &reset : resets())
        reset();
}
