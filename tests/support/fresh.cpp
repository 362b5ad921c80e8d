#include "support/fresh.h"

#include "app/app.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "link/trace.h"
#include "ui/safetynet.h"

#include <cstdio>
#include <cstring>
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
    setFramePause(nullptr);
    // No backups into the home directory, no question before programming:
    // the tests of those turn them on.
    setSafetySettings({"", 0, false});
    forgetPbxHolds();
    setByteTimeoutMs(0);
    // What the last transfer heard, had acknowledged or lost is no test's business but its own.
    forgetBytesHeard();
    closeTrace();
    setDebugFilePath(startTrace.c_str());
    if (all) {
        std::memset(all, 0, rec::RecordSize);
        SetUpVars();
    }
    forgetClean();
    anl_vers[0] = '\0';
    setDevicePath(nullptr);
    for (auto &reset : resets())
        reset();
}
