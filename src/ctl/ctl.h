// kelvoractl: every transfer and file of kelvora from a shell, cron or a
// script, on the same core as the window.
#pragma once

#include <string>
#include <vector>

enum ExitStatus {
    Success = 0,
    WrongUsage = 1,  // and, for diff, "the files differ"
    LineFailed = 2,  // the line or the PBX failed; for diff, any trouble
    FileTrouble = 3, // a file could not be read or written, or is of the wrong kind
};

struct Invocation {
    std::string program;   // argv[0]'s last component, for messages
    std::string device;    // -d, else $KELVORA_DEVICE
    bool progress = false; // on standard error: it is a terminal and -q was not given
    bool quiet = false;    // -q: nothing but data and trouble, so cron mails nothing on success
    std::string command;
    std::vector<std::string> args;
};

// Runs one command; its exit status.
int runCommand(const Invocation &invocation);
// The command lines of --help, one per command.
const char *commandSummary();
