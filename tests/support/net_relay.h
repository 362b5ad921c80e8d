// ser2net started on a line, and a relay that delays a TCP connection: what the
// network tests and the benchmark share.  No gtest here, so the benchmark
// builds it too.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>

// The ser2net binary, or "" when it is not installed.
std::string ser2netBinary();
// A TCP port on 127.0.0.1 nobody listens on right now.
int freeLocalPort();
// A connection to 127.0.0.1:port; -1 when none is made.
int connectLocal(int port);
// Whether something listens on 127.0.0.1:port, from the kernel's table: a
// connection to find out would make ser2net open the line.
bool listeningOn(int port);

// Writes config (telnet with RFC 2217 on 127.0.0.1:port, the line at 9600 8N1
// without flow control, no character delay) and starts ser2net on it, its output to log; the
// child's pid once it listens, else -1 (why says why, the child is gone).
pid_t startSer2net(const std::string &line, int port, const std::string &config, const std::string &log,
                   std::string *why);
// SIGKILL, and waits for it.
void killSer2net(pid_t pid);

// Passes one connection on to 127.0.0.1:target, every chunk oneWay late in
// each direction: a network that far away.
class DelayRelay {
public:
    DelayRelay(int target, std::chrono::milliseconds oneWay);
    ~DelayRelay();
    DelayRelay(const DelayRelay &) = delete;
    DelayRelay &operator=(const DelayRelay &) = delete;
    int port = 0;

private:
    void relay();
    int target_;
    std::chrono::milliseconds oneWay_;
    int listen_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
