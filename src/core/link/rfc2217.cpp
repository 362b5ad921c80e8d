#include "link/rfc2217.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

enum : unsigned char { SE = 240, SB = 250, WILL = 251, WONT = 252, DO = 253, DONT = 254, IAC = 255 };
enum : unsigned char { OptBinary = 0, OptEcho = 1, OptSga = 3, OptComPort = 44 };
// COM-PORT commands; the server answers each with its code + 100.
enum : unsigned char { SetBaud = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4, SetControl = 5 };
constexpr int ServerAnswer = 100;
constexpr unsigned Baud = 4800;
constexpr unsigned char DataBits = 8, NoParity = 1, TwoStopBits = 2, HardwareFlow = 3;
constexpr std::size_t SbMax = 64; // longer subnegotiations are none we asked for

// The one connection and what its telnet side has said.
struct Connection {
    int fd = -1;
    enum { Data, Iac, Verb, Sub, SubIac } state = Data;
    unsigned char verb = 0;
    std::vector<unsigned char> sub;
    bool told[4][256] = {}; // WILL, WONT, DO, DONT we sent, per option
    bool comPort = false, comPortRefused = false;
    long answers[6] = {-1, -1, -1, -1, -1, -1}; // the server's value for each setting
    bool lost = false;
    unsigned char pending = 0; // the second half of an escaped 0xFF a write could not take
    bool hasPending = false;
};

Connection conn;

void sendRaw(const unsigned char *bytes, std::size_t count)
{
    while (count > 0) {
        ssize_t n = send(conn.fd, bytes, count, MSG_NOSIGNAL);
        if (n > 0) {
            bytes += n;
            count -= std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN)
                conn.lost = true;
            return; // a full socket drops a negotiation reply; the data never waits behind one
        }
    }
}

void tell(unsigned char verb, unsigned char option)
{
    bool &sent = conn.told[verb - WILL][option];
    if (sent)
        return; // each answer once: two sides that insist never loop
    sent = true;
    unsigned char bytes[3] = {IAC, verb, option};
    sendRaw(bytes, 3);
}

bool wanted(unsigned char option) { return option == OptBinary || option == OptSga || option == OptComPort; }

void negotiate(unsigned char verb, unsigned char option)
{
    switch (verb) {
    case DO:
        if (wanted(option)) {
            tell(WILL, option);
            if (option == OptComPort)
                conn.comPort = true;
        } else {
            tell(WONT, option);
        }
        break;
    case DONT:
        if (option == OptComPort)
            conn.comPortRefused = true;
        break;
    case WILL:
        // The server's echo would send our frames back to us.
        tell(wanted(option) && option != OptComPort ? DO : DONT, option);
        break;
    default: break;
    }
}

void subnegotiation()
{
    const std::vector<unsigned char> &s = conn.sub;
    if (s.size() < 3 || s[0] != OptComPort)
        return;
    int command = s[1] - ServerAnswer;
    if (command == SetBaud && s.size() >= 6)
        conn.answers[SetBaud] = long(s[2]) << 24 | long(s[3]) << 16 | long(s[4]) << 8 | long(s[5]);
    else if (command >= SetDataSize && command <= SetControl)
        conn.answers[command] = s[2];
    // Notifications of line and modem state (106, 107) need nothing from us.
}

// Takes the telnet commands out of raw; the data bytes go to into (never more
// than raw held).  The state carries over from one read to the next.
std::size_t decode(const unsigned char *raw, std::size_t count, unsigned char *into)
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < count; i++) {
        unsigned char b = raw[i];
        switch (conn.state) {
        case Connection::Data:
            if (b == IAC)
                conn.state = Connection::Iac;
            else
                into[out++] = b;
            break;
        case Connection::Iac:
            conn.state = Connection::Data;
            if (b == IAC) {
                into[out++] = b;
            } else if (b >= WILL) {
                conn.verb = b;
                conn.state = Connection::Verb;
            } else if (b == SB) {
                conn.sub.clear();
                conn.state = Connection::Sub;
            }
            break;
        case Connection::Verb:
            negotiate(conn.verb, b);
            conn.state = Connection::Data;
            break;
        case Connection::Sub:
            if (b == IAC)
                conn.state = Connection::SubIac;
            else if (conn.sub.size() < SbMax)
                conn.sub.push_back(b);
            break;
        case Connection::SubIac:
            if (b == SE) {
                subnegotiation();
                conn.state = Connection::Data;
            } else {
                if (b == IAC && conn.sub.size() < SbMax)
                    conn.sub.push_back(b);
                conn.state = Connection::Sub;
            }
            break;
        }
    }
    return out;
}

// The server's rest of an answer must not wait for our acknowledgement of its
// start (Nagle's algorithm at its end, a delayed ACK at ours: 40 ms a time).
// Linux falls back to delaying ACKs after a while, so this is asked anew
// after every read.
void acknowledgeAtOnce(int fd)
{
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}

bool waitFor(short events, Clock::time_point deadline)
{
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p = {conn.fd, events, 0};
        int n = poll(&p, 1, int(left));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// Reads what the server says until done() or the deadline; false when it did not come.
template <typename Done> bool listen(Clock::time_point deadline, Done done)
{
    while (!done() && !conn.lost) {
        if (!waitFor(POLLIN, deadline))
            return false;
        unsigned char raw[512], data[512];
        ssize_t n = read(conn.fd, raw, sizeof raw);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0) {
            conn.lost = true;
            break;
        }
        decode(raw, std::size_t(n), data); // the line's data before it was set up goes, as a flush would
    }
    return done();
}

std::string why(int err)
{
    switch (err) {
    case ECONNREFUSED: return "Der Rechner nimmt an diesem Port keine Verbindung an.";
    case ETIMEDOUT: return "Der Rechner antwortet nicht.";
    case EHOSTUNREACH:
    case ENETUNREACH: return "Der Rechner ist im Netz nicht erreichbar.";
    default: return std::strerror(err);
    }
}

NetOpened failed(NetFailure failure, const std::string &detail)
{
    if (conn.fd >= 0)
        close(conn.fd);
    conn = Connection();
    NetOpened r;
    r.failure = failure;
    r.detail = detail;
    return r;
}

// A server that closes a new connection while it is being set up has the port
// given to another client.
// Its words may be lost: a server closing on our unread options resets the connection.
NetOpened closedAtOnce()
{
    return failed(NetFailure::Busy, "Der Server hat die Verbindung gleich wieder beendet: "
                                    "er lässt nur eine Verbindung zu, und die hat ein anderes Programm.");
}

// A TCP connection to one of the host's addresses within the deadline; -1 with errno.
int connectTo(const addrinfo *a, Clock::time_point deadline)
{
    int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0)
        return -1;
    conn.fd = fd;
    int err = 0;
    if (connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
        err = errno;
        if (err == EINPROGRESS) {
            socklen_t len = sizeof err;
            if (!waitFor(POLLOUT, deadline))
                err = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
                err = errno;
        }
    }
    conn.fd = -1;
    if (err) {
        close(fd);
        errno = err;
        return -1;
    }
    // Frames are small and each waits for its answer: none may wait for more.
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

const char *settingName(int command)
{
    static const char *const names[] = {"", "Baudrate", "Datenbits", "Parität", "Stoppbits", "Flusssteuerung"};
    return names[command];
}

} // namespace

bool isNetDevice(const char *device)
{
    return device && std::strncmp(device, NetDevicePrefix, std::strlen(NetDevicePrefix)) == 0;
}

bool splitNetDevice(const std::string &device, std::string *host, std::string *port)
{
    if (!isNetDevice(device.c_str()))
        return false;
    std::string rest = device.substr(std::strlen(NetDevicePrefix));
    std::size_t colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size())
        return false;
    std::string h = rest.substr(0, colon), p = rest.substr(colon + 1);
    if (h.front() == '[') {
        if (h.size() < 3 || h.back() != ']')
            return false;
        h = h.substr(1, h.size() - 2);
    } else if (h.find(':') != std::string::npos) {
        return false; // an IPv6 address needs its brackets
    }
    if (h.find('/') != std::string::npos || p.find_first_not_of("0123456789") != std::string::npos ||
        p.size() > 5 || std::stol(p) < 1 || std::stol(p) > 65535)
        return false;
    *host = h;
    *port = p;
    return true;
}

std::string netDeviceName(const std::string &device)
{
    std::string host, port;
    if (!splitNetDevice(device, &host, &port))
        return "";
    return host + "_" + port;
}

NetOpened netOpen(const std::string &device, std::chrono::milliseconds limit)
{
    if (conn.fd >= 0)
        netClose(conn.fd);
    conn = Connection();
    std::string host, port;
    if (!splitNetDevice(device, &host, &port))
        return failed(NetFailure::BadAddress, "Die Form ist rfc2217://RECHNER:PORT.");
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (int e = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); e != 0)
        return failed(NetFailure::BadAddress, "Den Rechner " + host + " findet das Netz nicht (" + gai_strerror(e) + ").");

    auto start = Clock::now();
    int err = ETIMEDOUT;
    for (const addrinfo *a = found; a && conn.fd < 0; a = a->ai_next) {
        conn.fd = connectTo(a, start + limit);
        err = errno;
    }
    freeaddrinfo(found);
    if (conn.fd < 0)
        return failed(NetFailure::Unreachable, why(err));
    auto roundTrip = Clock::now() - start;

    // Binary both ways (no CR/NUL games with the PBX's bytes), no go-ahead, and
    // the COM-PORT option, which must be agreed before any setting.
    tell(WILL, OptComPort);
    for (unsigned char option : {OptBinary, OptSga}) {
        tell(WILL, option);
        tell(DO, option);
    }
    auto comPortSettled = [] { return conn.comPort || conn.comPortRefused; };
    if (!listen(Clock::now() + limit, comPortSettled) || conn.comPortRefused) {
        if (conn.lost)
            return closedAtOnce();
        return failed(NetFailure::Settings, conn.comPortRefused
                                                ? "Der Server lehnt die COM-PORT-Option (RFC 2217) ab."
                                                : "Der Server antwortet nicht auf die COM-PORT-Option (RFC 2217).");
    }

    const long wants[6] = {0, Baud, DataBits, NoParity, TwoStopBits, HardwareFlow};
    const unsigned char requests[] = {
        IAC, SB, OptComPort, SetBaud, 0, 0, Baud >> 8 & 0xFF, Baud & 0xFF, IAC, SE,
        IAC, SB, OptComPort, SetDataSize, DataBits, IAC, SE,
        IAC, SB, OptComPort, SetParity, NoParity, IAC, SE,
        IAC, SB, OptComPort, SetStopSize, TwoStopBits, IAC, SE,
        IAC, SB, OptComPort, SetControl, HardwareFlow, IAC, SE,
    };
    auto asked = Clock::now();
    sendRaw(requests, sizeof requests);
    auto allAnswered = [] { return std::all_of(conn.answers + 1, conn.answers + 6, [](long v) { return v >= 0; }); };
    listen(asked + limit, allAnswered);
    roundTrip = std::max(roundTrip, Clock::now() - asked);
    if (conn.lost)
        return closedAtOnce();
    for (int c = SetBaud; c <= SetControl; c++) {
        if (conn.answers[c] < 0)
            return failed(NetFailure::Settings,
                          std::string("Der Server antwortet nicht auf die Einstellung: ") + settingName(c) + ".");
        if (conn.answers[c] != wants[c])
            return failed(NetFailure::Settings, std::string("Der Server lehnt die Einstellung ab: ") + settingName(c) +
                                                    " " + std::to_string(wants[c]) + " verlangt, " +
                                                    std::to_string(conn.answers[c]) + " gemeldet.");
    }
    NetOpened r;
    r.fd = conn.fd;
    r.roundTrip = std::chrono::ceil<std::chrono::milliseconds>(roundTrip);
    return r;
}

bool isNetLine(int fd) { return fd >= 0 && fd == conn.fd; }

ssize_t netRead(int fd, unsigned char *into, std::size_t most)
{
    // Never more raw bytes than data asked for: what lies beyond an answer
    // stays in the socket, as on the line.
    unsigned char raw[1024];
    ssize_t n = read(fd, raw, std::min(most, sizeof raw));
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
        conn.lost = true;
    if (n <= 0)
        return n;
    acknowledgeAtOnce(fd);
    std::size_t got = decode(raw, std::size_t(n), into);
    if (got > 0)
        return ssize_t(got);
    errno = EAGAIN; // telnet only: the caller waits for the line again
    return -1;
}

ssize_t netWrite(int fd, const unsigned char *bytes, std::size_t count)
{
    if (count == 0)
        return 0;
    if (conn.hasPending) {
        ssize_t n = send(fd, &conn.pending, 1, MSG_NOSIGNAL);
        if (n != 1) {
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                conn.lost = true;
            return -1;
        }
        conn.hasPending = false;
    }
    // At most 1024 data bytes a call, each 0xFF doubled.
    unsigned char raw[2048];
    std::size_t taken = std::min<std::size_t>(count, 1024), length = 0;
    for (std::size_t i = 0; i < taken; i++) {
        raw[length++] = bytes[i];
        if (bytes[i] == IAC)
            raw[length++] = IAC;
    }
    ssize_t n = send(fd, raw, length, MSG_NOSIGNAL);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR)
            conn.lost = true;
        return -1;
    }
    // Count the data bytes that went; a doubled 0xFF cut in half counts, its
    // second half goes first next time.
    std::size_t data = 0, pos = 0;
    while (pos < std::size_t(n)) {
        pos += bytes[data] == IAC ? 2 : 1;
        data++;
    }
    if (pos > std::size_t(n)) {
        conn.pending = IAC;
        conn.hasPending = true;
    }
    if (data == 0) {
        errno = EAGAIN;
        return -1;
    }
    return ssize_t(data);
}

bool netLost() { return conn.lost; }

void netClose(int fd)
{
    if (fd >= 0 && fd == conn.fd)
        conn = Connection();
    close(fd);
}
