#include "ctl_env.h"

#include "support/sim_line.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

bool names(const std::string &entry, const std::string &name) { return entry.compare(0, name.size() + 1, name + "=") == 0; }

// The test's environment with the changes made; DISPLAY and KELVORA_DEVICE
// taken away unless they set them.
std::vector<std::string> environmentFor(std::vector<std::string> changes)
{
    changes.insert(changes.begin(), {"DISPLAY=", "KELVORA_DEVICE="});
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::none_of(changes.begin(), changes.end(),
                         [e](const std::string &c) { return names(*e, c.substr(0, c.find('='))); }))
            env.push_back(*e);
    for (const std::string &c : changes)
        if (c.back() != '=')
            env.push_back(c);
    return env;
}

bool setsVariable(const std::vector<std::string> &changes, const std::string &name)
{
    return std::any_of(changes.begin(), changes.end(), [&name](const std::string &c) { return names(c, name); });
}

std::vector<char *> pointers(std::vector<std::string> &strings)
{
    std::vector<char *> p;
    for (std::string &s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

} // namespace

CtlRun runCtl(const std::vector<std::string> &args, const CtlOptions &options, const CtlSignal &stop)
{
    CtlRun run;
    std::vector<std::string> argv = {KELVORACTL_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    // The reads keep backups: never in the real home.
    static TempDir data;
    std::vector<std::string> changes = options.env;
    if (!setsVariable(changes, "XDG_DATA_HOME"))
        changes.push_back("XDG_DATA_HOME=" + data.path());
    std::vector<std::string> env = environmentFor(changes);
    std::vector<char *> av = pointers(argv), ev = pointers(env);

    int out[2], err[2] = {-1, -1};
    if (pipe2(out, O_CLOEXEC) != 0)
        return run;
    if (options.terminal) {
        if (openpty(&err[0], &err[1], nullptr, nullptr, nullptr) != 0)
            return run;
    } else if (pipe2(err, O_CLOEXEC) != 0) {
        return run;
    }
    // Written whole before the child starts: the tests' inputs fit the pipe.
    int in[2] = {-1, -1};
    if (!options.input.empty()) {
        if (pipe2(in, O_CLOEXEC) != 0 || fcntl(in[1], F_SETPIPE_SZ, 1 << 20) < 0 ||
            write(in[1], options.input.data(), options.input.size()) != ssize_t(options.input.size()))
            return run;
        close(in[1]);
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        dup2(in[0] >= 0 ? in[0] : open("/dev/null", O_RDONLY), 0);
        execve(av[0], av.data(), ev.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    if (in[0] >= 0)
        close(in[0]);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeout_ms);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string *into[2] = {&run.out, &run.err};
    int open = 2;
    bool signalled = false;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (stop.signal && !signalled && stop.when()) {
            kill(pid, stop.signal);
            signalled = true;
        }
        if (poll(fds, 2, stop.signal && !signalled ? 10 : 100) <= 0)
            continue;
        for (int i = 0; i < 2; i++) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                into[i]->append(buf, std::size_t(n));
            } else {
                // A pty's master reads EIO once the child is gone.
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd &p : fds)
        if (p.fd >= 0)
            close(p.fd);
    int status = 0;
    if (open > 0)
        kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) && open == 0 ? WEXITSTATUS(status) : -1;
    return run;
}

std::string configFile(const pbxsim::State &state, const char *id)
{
    Bytes image = imageOf(state);
    std::string file(id);
    file.push_back('\0');
    file.append(image.begin(), image.end());
    return file;
}

std::vector<std::string> inDir(std::vector<std::string> args, const std::string &dir)
{
    for (std::string &a : args)
        if (!a.empty() && a[0] == '@')
            a = dir + a.substr(1);
    return args;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at));
    return lines;
}

void CtlLine::start(const pbxsim::State &state, std::vector<std::string> extra)
{
    device = dir.file(uniqueLineName("ctl"));
    std::string error;
    ASSERT_TRUE(pbxsim::saveState(state, dir.file("start.pbx"), &error)) << error;
    PbxsimOptions options;
    options.load = dir.file("start.pbx");
    options.save = dir.file("end.pbx");
    options.extra = std::move(extra);
    ASSERT_TRUE(sim_.start(device, options, dir.file("pbxsim.out"), &error)) << error;
    running_ = true;
}

pbxsim::State CtlLine::stop()
{
    pbxsim::State state;
    if (!running_)
        return state;
    sim_.stop();
    running_ = false;
    std::string error;
    EXPECT_TRUE(pbxsim::loadState(state, dir.file("end.pbx"), &error)) << error;
    return state;
}

CtlRun CtlLine::ctl(std::vector<std::string> args, const CtlOptions &options, const CtlSignal &stop)
{
    args.insert(args.begin(), {"-d", device});
    CtlOptions own = options;
    if (!setsVariable(own.env, "XDG_DATA_HOME"))
        own.env.push_back("XDG_DATA_HOME=" + dir.file("data"));
    return runCtl(args, own, stop);
}

std::string CtlLine::backups() const { return dir.file("data/kelvora/backups"); }

void CtlLine::TearDown()
{
    if (running_)
        stop();
    EXPECT_NE(access(lockFileFor(device).c_str(), F_OK), 0) << "a lock file left behind";
}
