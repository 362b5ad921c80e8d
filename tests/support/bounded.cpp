#include "support/bounded.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

Bounded runBounded(double limit_seconds, const std::function<int()> &body)
{
    using Clock = std::chrono::steady_clock;
    int p[2];
    if (pipe(p) != 0)
        return {};
    std::fflush(nullptr);
    auto start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        dup2(p[1], 1);
        dup2(p[1], 2);
        close(p[0]);
        int result = body();
        std::fflush(nullptr);
        _exit(result & 0xFF);
    }
    close(p[1]);
    Bounded b;
    auto deadline = start + std::chrono::duration<double>(limit_seconds);
    ssize_t n = child > 0 ? 1 : 0;
    while (n != 0) { // end of file: the child is gone
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        struct pollfd pf = {p[0], POLLIN, 0};
        if (left <= 0 || poll(&pf, 1, int(left)) == 0)
            break;
        char buf[4096];
        if ((n = read(p[0], buf, sizeof buf)) > 0)
            b.out.append(buf, std::size_t(n));
    }
    if (n != 0)
        kill(child, SIGKILL);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    b.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    b.finished = child > 0 && n == 0 && WIFEXITED(status);
    b.result = static_cast<signed char>(WEXITSTATUS(status));
    close(p[0]);
    return b;
}
