#include "support/e2e_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<char *> argvOf(const std::vector<std::string> &args)
{
    std::vector<char *> av;
    for (const std::string &a : args)
        av.push_back(const_cast<char *>(a.c_str()));
    av.push_back(nullptr);
    return av;
}

// Whether a bind mount over the shared trace path works here (root in a
// system that lets us make a mount namespace).  Asked once.
bool canBindTrace(const std::string &scratch)
{
    static int answer = -1;
    if (answer < 0) {
        std::vector<std::string> probe = {"unshare", "--mount", "--propagation", "private", "/bin/sh", "-c",
                                          "mount --bind \"$0\" \"$1\" 2>/dev/null", scratch, SharedTracePath};
        answer = runTool(probe) == 0 ? 1 : 0;
    }
    return answer == 1;
}

} // namespace

// ---------------------------------------------------------------- ChildProcess

ChildProcess::~ChildProcess()
{
    if (pid_ > 0)
        terminate(2000);
}

bool ChildProcess::start(const std::vector<std::string> &argv, const std::string &outputFile, std::string *error)
{
    outputFile_ = outputFile;
    int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        *error = outputFile + ": " + std::strerror(errno);
        return false;
    }
    std::vector<char *> av = argvOf(argv);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out, 1);
        dup2(out, 2);
        int null = open("/dev/null", O_RDONLY);
        if (null >= 0)
            dup2(null, 0);
        execvp(av[0], av.data());
        std::fprintf(stderr, "exec %s: %s\n", av[0], std::strerror(errno));
        _exit(127);
    }
    close(out);
    if (pid < 0) {
        *error = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    pid_ = pid;
    status_ = -1;
    return true;
}

bool ChildProcess::running()
{
    if (pid_ <= 0)
        return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        pid_ = -1;
        return false;
    }
    return true;
}

int ChildProcess::waitExit(int timeout_ms)
{
    return waitUntil([this] { return !running(); }, timeout_ms, 10) ? status_ : -1;
}

int ChildProcess::terminate(int timeout_ms)
{
    if (!running())
        return status_;
    kill(pid_, SIGTERM);
    if (waitExit(timeout_ms) != -1)
        return status_;
    kill(pid_, SIGKILL);
    int status = -1;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    status_ = status;
    return status_;
}

std::string ChildProcess::output() const { return readFile(outputFile_); }

// ---------------------------------------------------------------- pbxsim

bool PbxsimProcess::start(const std::string &linkPath, const PbxsimOptions &options, const std::string &outputFile,
                          std::string *error)
{
    std::vector<std::string> argv = {PBXSIM_BINARY, "--link", linkPath};
    if (!options.load.empty())
        argv.insert(argv.end(), {"--load", options.load});
    if (!options.save.empty())
        argv.insert(argv.end(), {"--save", options.save});
    if (!options.log.empty())
        argv.insert(argv.end(), {"--log", options.log});
    if (options.baud > 0)
        argv.insert(argv.end(), {"--baud", std::to_string(options.baud)});
    argv.insert(argv.end(), options.extra.begin(), options.extra.end());
    if (!process_.start(argv, outputFile, error))
        return false;
    // The link is made before pbxsim starts answering.
    struct stat st;
    if (waitUntil([&] { return lstat(linkPath.c_str(), &st) == 0 || !process_.running(); }, 10000, 10) &&
        lstat(linkPath.c_str(), &st) == 0)
        return true;
    *error = process_.running() ? "pbxsim made no link at " + linkPath : "pbxsim ended: " + process_.output();
    return false;
}

// ---------------------------------------------------------------- kelvora

KelvoraProcess::~KelvoraProcess()
{
    process_.terminate(2000);
    if (ownsSharedTrace_)
        unlink(SharedTracePath);
}

bool KelvoraProcess::start(const std::string &device, const KelvoraOptions &options, const std::string &dir,
                           std::string *error)
{
    std::vector<std::string> argv = {KELVORA_BINARY};
    std::vector<std::string> &prefix = prefix_;
    if (options.traceLevel >= 0 && tracePath_.empty() && traceNote_.empty()) {
        int fd = open(SharedTracePath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            close(fd);
            ownsSharedTrace_ = true;
            tracePath_ = SharedTracePath;
        } else {
            std::string own = dir + "/kelvora.debug";
            std::ofstream(own).flush();
            if (canBindTrace(own)) {
                tracePath_ = own;
                // unshare and sh exec in turn: the pid stays kelvora's.
                prefix = {"unshare", "--mount", "--propagation", "private", "/bin/sh", "-c",
                          "mount --bind \"$0\" " + std::string(SharedTracePath) + " && exec \"$@\"", own};
            } else {
                traceNote_ = std::string(SharedTracePath) +
                             " belongs to someone else and no private mount namespace could be made";
            }
        }
    }
    if (options.traceLevel >= 0 && !tracePath_.empty())
        argv.insert(argv.end(), {"-D", std::to_string(options.traceLevel)});
    argv.insert(argv.end(), {"-xrm", "*backupDirectory: " + dir + "/backups"});
    if (!options.confirmProgramming)
        argv.insert(argv.end(), {"-xrm", "*confirmProgramming: False"});
    argv.insert(argv.end(), options.xtArgs.begin(), options.xtArgs.end());
    argv.push_back(device);
    argv.insert(argv.begin(), prefix.begin(), prefix.end());
    return process_.start(argv, dir + "/kelvora.out", error);
}

std::string KelvoraProcess::trace() const { return tracePath_.empty() ? std::string() : readFile(tracePath_); }

// ---------------------------------------------------------------- helpers

std::string lockFileFor(const std::string &device)
{
    std::size_t slash = device.rfind('/');
    return std::string(SharedLockDir) + "/LCK.." + (slash == std::string::npos ? device : device.substr(slash + 1));
}

std::string uniqueLineName(const std::string &prefix) { return prefix + std::to_string(getpid()); }

bool waitUntil(const std::function<bool()> &f, int timeout_ms, int every_ms)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (f())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(every_ms));
    }
}

int runTool(const std::vector<std::string> &argv, std::string *out, int timeout_ms)
{
    static TempDir scratch;
    static int runs = 0;
    std::string file = scratch.file(std::to_string(++runs)), error;
    ChildProcess tool;
    if (!tool.start(argv, file, &error))
        return -1;
    int status = tool.waitExit(timeout_ms);
    if (status == -1)
        tool.terminate(0);
    if (out)
        out->append(tool.output());
    unlink(file.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool displayRefused(const std::string &output)
{
    return output.find("open display") != std::string::npos;
}

bool toolAvailable(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
    return false;
}
