#include "support/pty_peer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

void makeRaw(int fd)
{
    struct termios t;
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
}

} // namespace

Bytes readBytes(int fd, std::size_t count, int quiet_ms)
{
    Bytes got;
    while (got.size() < count) {
        struct pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, quiet_ms) <= 0)
            break;
        std::uint8_t buf[512];
        ssize_t n = read(fd, buf, std::min(sizeof buf, count - got.size()));
        if (n > 0)
            got.insert(got.end(), buf, buf + n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

void writeBytes(int fd, const Bytes &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error(std::string("write: ") + std::strerror(errno));
        struct pollfd p = {fd, POLLOUT, 0};
        if (poll(&p, 1, 2000) <= 0)
            throw std::runtime_error("write: line blocked");
    }
}

std::string hexString(const Bytes &bytes)
{
    std::string s;
    char b[4];
    for (std::uint8_t c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        s += b;
    }
    return s;
}

PtyPeer::PtyPeer()
{
    if (openpty(&fd_, &slave_, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    char name[256];
    if (ptsname_r(fd_, name, sizeof name) != 0)
        throw std::runtime_error("ptsname failed");
    slave_path_ = name;
    makeRaw(fd_);
    makeRaw(slave_);
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

PtyPeer::~PtyPeer()
{
    close(fd_);
    close(slave_);
}

PtyClient::PtyClient(const std::string &path)
{
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    makeRaw(fd_);
}

PtyClient::~PtyClient() { close(fd_); }

void RawEnd::send(const Bytes &bytes) { writeBytes(fd_, bytes); }
Bytes RawEnd::receive(std::size_t count, int quiet_ms) { return readBytes(fd_, count, quiet_ms); }
