// Runs the real kelvora binary as a child process for the tests that end in exit().
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct Child {
    pid_t pid = -1;
    int errFd = -1; // read end of the child's standard error
};

// Starts path with argv0 and args; extraEnv entries ("NAME=value") are added to
// the environment.
Child startChild(const std::string &path, const std::string &argv0, const std::vector<std::string> &args,
                 const std::vector<std::string> &extraEnv = {});
// Waits up to ms for the child; returns its wait status, or -1 after killing it
// on timeout.  Collects what it wrote to standard error.
int waitChild(Child &child, int ms, std::string *err = nullptr);
