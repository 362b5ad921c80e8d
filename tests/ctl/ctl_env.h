// kelvoractl as a user runs it: the real program in a child process without a
// display, against the real pbxsim on a line of the test's own.
#pragma once

#include <gtest/gtest.h>

#include "pbxsim/pbxsim.h"
#include "support/e2e_process.h"
#include "support/tempdir.h"

#include <functional>
#include <string>
#include <vector>

struct CtlRun {
    int status = -1;      // exit status; -1 when it did not exit normally
    std::string out, err; // standard output and error
};

struct CtlOptions {
    std::vector<std::string> env; // NAME=value added, or NAME= to take it away
    bool terminal = false;        // standard error is a terminal
    int timeout_ms = 60000;
    std::string input{};          // standard input (a pipe; /dev/null when empty)
};

// A signal sent to kelvoractl as soon as when() is true.
struct CtlSignal {
    int signal = 0;
    std::function<bool()> when;
};

// Runs kelvoractl with args; DISPLAY and KELVORA_DEVICE are not passed on
// unless options.env sets them.
CtlRun runCtl(const std::vector<std::string> &args, const CtlOptions &options = {}, const CtlSignal &stop = {});

// The marks a configuration file begins with, by the PBX it was read as.
constexpr const char *Dorvan = "Daten Konfigurator DORVAN IS-x V1.4";
constexpr const char *Ostrale = "Daten Konfigurator OSTRALE 18x V1.4";
// The configuration file the window saves after reading state.
std::string configFile(const pbxsim::State &state, const char *id = Dorvan);
// args with a leading "@" standing for dir.
std::vector<std::string> inDir(std::vector<std::string> args, const std::string &dir);
// text's lines without their '\n'.
std::vector<std::string> linesOf(const std::string &text);

// pbxsim with a state of the test's choosing on <tmp>/<unique name>; stop()
// returns the state it ended with.
class CtlLine : public ::testing::Test {
protected:
    TempDir dir;
    std::string device;
    void start(const pbxsim::State &state = pbxsim::defaultState(), std::vector<std::string> extra = {});
    pbxsim::State stop();
    // kelvoractl -d <device> args, its backups kept in backups()
    CtlRun ctl(std::vector<std::string> args, const CtlOptions &options = {}, const CtlSignal &stop = {});
    std::string backups() const;
    void TearDown() override;

private:
    PbxsimProcess sim_;
    bool running_ = false;
};
