#include "link/interrupt.h"

#include "link/protocol.h"
#include "link/serial.h"
#include "resources/fill.h"
#include "resources/lookup.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr const char *SignalNames[] = {"SIGINT", "SIGTERM", "SIGHUP"};
constexpr int SignalCount = 3;

// What the PBX holds, as far as this run has changed it.
enum PbxState : int { Unchanged, Partly, Programmed, StateCount };
constexpr const char *StateTexts[] = {"*interrupted.unchanged", "*interrupted.partly", "*interrupted.programmed"};

volatile sig_atomic_t caught = 0;
volatile sig_atomic_t inTransmission = 0;
volatile sig_atomic_t writing = 0;
volatile sig_atomic_t pbxState = Unchanged;

// The handler may neither allocate nor format: every line it may print is
// made beforehand.
char messages[SignalCount][StateCount][512];
// 255 zero bytes and the end command: the end of the transmission as far as
// the line takes it without waiting.
unsigned char farewell[255 + 5];

struct TempSlot {
    volatile sig_atomic_t used;
    char path[PATH_MAX];
};
TempSlot temps[8];

void removeTemps()
{
    for (TempSlot &t : temps)
        if (t.used)
            unlink(t.path);
}

void say(int sig)
{
    int state = pbxState;
    for (int i = 0; i < SignalCount; i++) {
        if (Signals[i] != sig)
            continue;
        const char *text = messages[i][state];
        ssize_t n = write(STDERR_FILENO, text, std::strlen(text));
        (void)n;
    }
}

[[noreturn]] void exitAtOnce(int sig)
{
    abandonPort(farewell, int(sizeof farewell));
    removeTemps();
    say(sig);
    _exit(128 + sig);
}

void onSignal(int sig)
{
    if (inTransmission && !caught) {
        caught = sig; // the transmission ends itself at its next frame
        return;
    }
    exitAtOnce(sig);
}

} // namespace

void catchInterrupts(InterruptSay wording)
{
    caught = 0;
    pbxState = Unchanged; // what this program has done to the PBX so far: nothing
    for (int i = 0; i < SignalCount; i++) {
        for (int state = 0; state < StateCount; state++) {
            std::string text = fillPlaceholders(builtinResource(StateTexts[state]), {SignalNames[i]});
            std::snprintf(messages[i][state], sizeof messages[i][state], "%s\n", wording(text).c_str());
        }
    }
    std::memset(farewell, 0, sizeof farewell);
    unsigned char *end = farewell + 255;
    end[0] = 5;
    end[1] = K_END;

    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : Signals)
        sigaddset(&sa.sa_mask, sig);
    // No SA_RESTART: a wait on the line comes back to look at the mark.
    for (int sig : Signals)
        sigaction(sig, &sa, nullptr);
}

int interruptCaught() { return caught; }

int mkstempRemovedOnInterrupt(char *pathTemplate)
{
    InterruptsDeferred deferred; // no file made and not yet known
    int fd = mkstemp(pathTemplate);
    if (fd >= 0)
        removeOnInterrupt(pathTemplate);
    return fd;
}

void removeOnInterrupt(const char *path)
{
    if (std::strlen(path) >= PATH_MAX)
        return;
    for (TempSlot &t : temps) {
        if (t.used)
            continue;
        std::strcpy(t.path, path);
        t.used = 1;
        return;
    }
}

void forgetOnInterrupt(const char *path)
{
    for (TempSlot &t : temps)
        if (t.used && std::strcmp(t.path, path) == 0) {
            t.used = 0;
            return;
        }
}

InterruptsDeferred::InterruptsDeferred()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : Signals)
        sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &old_);
}

InterruptsDeferred::~InterruptsDeferred() { sigprocmask(SIG_SETMASK, &old_, nullptr); }

void transmissionBegins(bool writes)
{
    writing = writes;
    inTransmission = 1;
}

void transmissionSentData()
{
    if (writing)
        pbxState = Partly;
}

void transmissionEnds(bool complete)
{
    if (writing && complete)
        pbxState = Programmed;
    writing = 0;
    inTransmission = 0;
}

void exitForInterrupt()
{
    std::fflush(nullptr);
    exitAtOnce(caught ? caught : SIGTERM);
}
