#include "child.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

Child startChild(const std::string &path, const std::string &argv0, const std::vector<std::string> &args,
                 const std::vector<std::string> &extraEnv)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return {};
    std::vector<std::string> env;
    for (char **e = environ; *e; e++)
        env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());

    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 2);
        std::vector<char *> av{const_cast<char *>(argv0.c_str())};
        for (const std::string &a : args)
            av.push_back(const_cast<char *>(a.c_str()));
        av.push_back(nullptr);
        std::vector<char *> ev;
        for (const std::string &e : env)
            ev.push_back(const_cast<char *>(e.c_str()));
        ev.push_back(nullptr);
        execve(path.c_str(), av.data(), ev.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return {};
    }
    return Child{pid, fds[0]};
}

int waitChild(Child &child, int ms, std::string *err)
{
    using clock = std::chrono::steady_clock;
    auto deadline = clock::now() + std::chrono::milliseconds(ms);
    int status = -1;
    bool exited = false;
    while (!exited) {
        // Keep the pipe drained so the child never blocks on standard error.
        pollfd p{child.errFd, POLLIN, 0};
        if (child.errFd >= 0 && poll(&p, 1, 20) > 0) {
            char buf[512];
            ssize_t n = read(child.errFd, buf, sizeof buf);
            if (n > 0 && err)
                err->append(buf, std::size_t(n));
            if (n <= 0) {
                close(child.errFd);
                child.errFd = -1;
            }
        } else if (child.errFd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pid_t r = waitpid(child.pid, &status, WNOHANG);
        if (r == child.pid) {
            exited = true;
        } else if (clock::now() > deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            status = -1;
            break;
        }
    }
    if (child.errFd >= 0) {
        char buf[512];
        ssize_t n;
        while ((n = read(child.errFd, buf, sizeof buf)) > 0)
            if (err)
                err->append(buf, std::size_t(n));
        close(child.errFd);
        child.errFd = -1;
    }
    child.pid = -1;
    return status;
}
