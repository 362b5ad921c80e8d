// SIGINT, SIGTERM and SIGHUP.  During a transmission a signal only marks it:
// the transmission then ends at its next frame as any failed one does (end of
// transmission, line restored, lock removed) and the program exits with
// 128 + the signal, saying what the PBX may now hold.  Anywhere else, and at a
// second signal, the handler itself gives the line back, removes the lock and
// the temporary files and exits at once.
#pragma once

#include <csignal>
#include <string>

// Turns a text of the program (ISO 8859-1) into the line standard error gets.
using InterruptSay = std::string (*)(const std::string &latin1);
// From now on the three signals are caught; say words what is printed.
void catchInterrupts(InterruptSay say);
// The signal that asks the running transmission to end; 0 when none.
int interruptCaught();

// mkstemp whose file goes should a signal end the program before
// forgetOnInterrupt(path); at most a few at a time.
int mkstempRemovedOnInterrupt(char *pathTemplate);
void removeOnInterrupt(const char *path);
void forgetOnInterrupt(const char *path);

// While one lives the signals wait: what it guards happens wholly or not at all.
class InterruptsDeferred {
public:
    InterruptsDeferred();
    ~InterruptsDeferred();
    InterruptsDeferred(const InterruptsDeferred &) = delete;
    InterruptsDeferred &operator=(const InterruptsDeferred &) = delete;

private:
    sigset_t old_;
};

// runTransmission's part: from begin to end a signal only marks the
// transmission; a write's first data frame on the line means the PBX may hold
// part of it, its end that it holds all.
void transmissionBegins(bool writes);
void transmissionSentData();
void transmissionEnds(bool complete);
// After a transmission ended for a signal: says what the PBX holds, removes
// the temporary files and exits with 128 + the signal.
[[noreturn]] void exitForInterrupt();
