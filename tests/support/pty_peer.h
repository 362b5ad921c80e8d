// The other end of a line, by hand: a raw pty pair whose slave a test opens
// like a serial device, and a raw client for a line someone else serves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// What either end sends and receives on its descriptor.
class RawEnd {
public:
    RawEnd() = default;
    RawEnd(const RawEnd &) = delete;
    RawEnd &operator=(const RawEnd &) = delete;
    void send(const Bytes &bytes);
    // Collects bytes until count have come or nothing came for quiet_ms.
    Bytes receive(std::size_t count, int quiet_ms = 1500);

protected:
    int fd_ = -1;
};

class PtyPeer : public RawEnd {
public:
    PtyPeer(); // throws when no pty can be had
    ~PtyPeer();
    const std::string &slavePath() const { return slave_path_; }
    int master() const { return fd_; }

private:
    int slave_ = -1; // held so the master sees no hang-up while the test's side is closed
    std::string slave_path_;
};

// Opens path (a tty) raw and non-blocking, as a program would.
class PtyClient : public RawEnd {
public:
    explicit PtyClient(const std::string &path); // throws when it cannot open
    ~PtyClient();
    int fd() const { return fd_; }
};

// Reads from fd until count bytes or quiet_ms without a byte.
Bytes readBytes(int fd, std::size_t count, int quiet_ms);
void writeBytes(int fd, const Bytes &bytes);
std::string hexString(const Bytes &bytes); // "05 62 00" for failure messages
