// The real programs as child processes of an end-to-end test: kelvora under the
// test's X server, pbxsim at the other end of its line.
#pragma once

#include "support/tempdir.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started with fork/exec, its standard output and error going to a
// file.  The destructor ends it (SIGTERM, then SIGKILL) if it still runs.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // argv[0] is the program's path; false (with a reason) when it cannot be started.
    bool start(const std::vector<std::string> &argv, const std::string &outputFile, std::string *error);
    pid_t pid() const { return pid_; }
    bool running();
    // The wait status, or -1 when it is still running after timeout_ms.
    int waitExit(int timeout_ms);
    // SIGTERM, then SIGKILL after timeout_ms; the wait status.
    int terminate(int timeout_ms = 5000);
    // What it has written so far.
    std::string output() const;

private:
    pid_t pid_ = -1;
    int status_ = -1;
    std::string outputFile_;
};

// pbxsim's own command line: its state, log and pacing.
struct PbxsimOptions {
    std::string load; // state file to start from; empty: pbxsim's default state
    std::string save; // state file written when pbxsim ends
    std::string log;  // frame log
    long baud = 0;    // 0: no pacing
    std::vector<std::string> extra;
};

class PbxsimProcess {
public:
    // Starts pbxsim with its line at linkPath and waits until the link is there.
    bool start(const std::string &linkPath, const PbxsimOptions &options, const std::string &outputFile,
               std::string *error);
    // SIGTERM: pbxsim saves its state, removes the link and exits; the wait status.
    int stop(int timeout_ms = 5000) { return process_.terminate(timeout_ms); }
    ChildProcess &process() { return process_; }

private:
    ChildProcess process_;
};

// kelvora's trace file is fixed at /tmp/kelvora.debug.  A test must neither
// clobber someone else's trace there nor leave its own behind, so it gets one
// of its own: either it creates /tmp/kelvora.debug itself (and removes it
// afterwards), or, when one exists already, kelvora runs in a private mount
// namespace with the test's file bound over that path.  When neither works,
// kelvora runs without -D and there is no trace.
struct KelvoraOptions {
    int traceLevel = -1;              // -D level; -1: no -D
    std::vector<std::string> xtArgs;  // toolkit options (-geometry, -xrm ...) before the device
    bool confirmProgramming = false;  // the question before programming; backups go to dir/backups
};

class KelvoraProcess {
public:
    KelvoraProcess() = default;
    ~KelvoraProcess();
    KelvoraProcess(const KelvoraProcess &) = delete;
    KelvoraProcess &operator=(const KelvoraProcess &) = delete;

    // Starts KELVORA_BINARY for device; its output and private trace file go to
    // dir.  May be called again after the program has ended.
    bool start(const std::string &device, const KelvoraOptions &options, const std::string &dir,
               std::string *error);
    pid_t pid() const { return process_.pid(); }
    int waitExit(int timeout_ms) { return process_.waitExit(timeout_ms); }
    ChildProcess &process() { return process_; }
    std::string output() const { return process_.output(); }
    // Whether -D was given and where the trace can be read; "" when there is none.
    const std::string &tracePath() const { return tracePath_; }
    std::string trace() const;
    // Why there is no trace (when tracePath() is empty).
    const std::string &traceNote() const { return traceNote_; }

private:
    ChildProcess process_;
    std::string tracePath_;
    std::string traceNote_;
    std::vector<std::string> prefix_; // what runs kelvora with the private trace
    bool ownsSharedTrace_ = false; // created /tmp/kelvora.debug and must remove it
};

constexpr const char *SharedTracePath = "/tmp/kelvora.debug";
constexpr const char *SharedLockDir = "/var/lock";

// The lock file kelvora takes for device ("/var/lock/LCK..<last component>").
std::string lockFileFor(const std::string &device);
// A line name no other run uses at the same time: the lock is named after it.
std::string uniqueLineName(const std::string &prefix);

// Calls f every every_ms until it returns true; false after timeout_ms.
bool waitUntil(const std::function<bool()> &f, int timeout_ms, int every_ms = 20);
// Runs a program (PATH searched) to its end; its exit code, or -1 when it
// could not run or did not exit normally.  Standard output and error go to
// *out if given.
int runTool(const std::vector<std::string> &argv, std::string *out = nullptr, int timeout_ms = 20000);
// Whether a program's output says it could not connect to the X server.  Here
// (Xvfb in a sandbox) about one connection in a hundred is refused while
// another client connects; a program that got nothing done can be run again.
bool displayRefused(const std::string &output);
bool toolAvailable(const std::string &name);

