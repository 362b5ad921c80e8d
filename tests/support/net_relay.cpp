#include "support/net_relay.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int loopbackSocket(int port, bool listening)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int ok = listening ? bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a)
                       : connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    if (ok != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int portOf(int fd)
{
    sockaddr_in a = {};
    socklen_t len = sizeof a;
    return getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0 ? ntohs(a.sin_port) : 0;
}

} // namespace

std::string ser2netBinary()
{
    for (const char *path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"})
        if (access(path, X_OK) == 0)
            return path;
    return "";
}

int freeLocalPort()
{
    int fd = loopbackSocket(0, true);
    int port = fd >= 0 ? portOf(fd) : 0;
    if (fd >= 0)
        close(fd);
    return port;
}

int connectLocal(int port) { return loopbackSocket(port, false); }

bool listeningOn(int port)
{
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", unsigned(port));
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    while (std::getline(tcp, line))
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos)
            return true;
    return false;
}

pid_t startSer2net(const std::string &line, int port, const std::string &config, const std::string &log,
                   std::string *why)
{
    std::string binary = ser2netBinary();
    if (binary.empty()) {
        *why = "ser2net is not installed";
        return -1;
    }
    std::ofstream(config) << "%YAML 1.1\n---\n"
                          << "connection: &pbx\n"
                          << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << port << "\n"
                          << "  connector: serialdev," << line << ",9600n81,local\n"
                          << "  options:\n"
                          << "    chardelay: false\n"; // as README.md advises: no batching of answers
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        // -u: no UUCP lock of its own in /var/lock, which others watch.
        execl(binary.c_str(), binary.c_str(), "-n", "-u", "-c", config.c_str(), "-P", (config + ".pid").c_str(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 500; i++) {
        if (listeningOn(port))
            return pid;
        usleep(10000);
    }
    killSer2net(pid);
    std::stringstream said;
    said << std::ifstream(log).rdbuf();
    *why = "ser2net did not listen on port " + std::to_string(port) + ": " + said.str();
    return -1;
}

void killSer2net(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

DelayRelay::DelayRelay(int target, std::chrono::milliseconds oneWay) : target_(target), oneWay_(oneWay)
{
    listen_ = loopbackSocket(0, true);
    port = portOf(listen_);
    ::listen(listen_, 1);
    thread_ = std::thread([this] { relay(); });
}

DelayRelay::~DelayRelay()
{
    stop_ = true;
    shutdown(listen_, SHUT_RDWR);
    thread_.join();
    close(listen_);
}

void DelayRelay::relay()
{
    int a = accept(listen_, nullptr, nullptr);
    if (a < 0)
        return;
    int b = loopbackSocket(target_, false);
    int fds[2] = {a, b};
    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };
    std::deque<Chunk> queue[2]; // queue[i]: read from fds[i], for the other
    bool open = b >= 0;
    while (open && !stop_) {
        long wait = 20;
        for (auto &q : queue)
            if (!q.empty())
                wait = std::clamp<long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(q.front().due - Clock::now()).count(), 0,
                    wait);
        pollfd p[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        poll(p, 2, int(wait));
        for (int i = 0; i < 2; i++) {
            if (p[i].revents) {
                char buf[1024];
                ssize_t n = read(fds[i], buf, sizeof buf);
                if (n <= 0)
                    open = false;
                else
                    queue[i].push_back({Clock::now() + oneWay_, std::string(buf, std::size_t(n))});
            }
            while (!queue[i].empty() && queue[i].front().due <= Clock::now()) {
                const std::string &bytes = queue[i].front().bytes;
                if (send(fds[1 - i], bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0)
                    open = false;
                queue[i].pop_front();
            }
        }
    }
    close(a);
    if (b >= 0)
        close(b);
}
