// The PBX's serial line on another machine: "rfc2217://HOST:PORT" is a TCP
// connection to a server that speaks the telnet COM-PORT option (ser2net), on
// which this program sets the far port itself.
//
// Our own small client over a plain non-blocking socket: the link's readiness
// waits and per-byte deadlines work on it unchanged, and only reads and writes
// pass through here, where telnet commands are taken out and 0xFF bytes of the
// data doubled (IAC escaping, both ways).  One connection at a time, as with
// the serial port.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <sys/types.h>

constexpr const char *NetDevicePrefix = "rfc2217://";

bool isNetDevice(const char *device);
// HOST and PORT of "rfc2217://HOST:PORT"; an IPv6 address stands in brackets
// ("rfc2217://[::1]:3001").  False when the device has not that form.
bool splitNetDevice(const std::string &device, std::string *host, std::string *port);
// "HOST_PORT" for a network device, "" for any other: what its lock and its
// backups are named after.
std::string netDeviceName(const std::string &device);

// Why a connection could not be made ready.
enum class NetFailure {
    None,
    BadAddress,  // not rfc2217://HOST:PORT, or the host is not known
    Unreachable, // refused, unreachable, no answer within the limit
    Busy,        // the server took the connection and closed it: another client has the port
    Settings,    // the server refused or ignored the COM-PORT option or one of the settings
};

struct NetOpened {
    int fd = -1;
    NetFailure failure = NetFailure::None;
    std::string detail;                  // German, for the user
    std::chrono::milliseconds roundTrip{}; // the slowest exchange of the set-up
};

// Connects and sets the far port to 4800 baud, 8 data bits, no parity, 2 stop
// bits, hardware flow control, checking the server's answer to each setting.
// The connection and each answer may take at most limit.  Data the far line
// delivers meanwhile is dropped, as a local open flushes the line.
NetOpened netOpen(const std::string &device, std::chrono::milliseconds limit);
// fd is the open network connection.
bool isNetLine(int fd);
// read()/write() for the connection, data bytes only: -1 with EAGAIN when only
// telnet commands came; 0 at end of file.  Writes never raise SIGPIPE.
ssize_t netRead(int fd, unsigned char *into, std::size_t most);
ssize_t netWrite(int fd, const unsigned char *bytes, std::size_t count);
// The connection broke (end of file, reset, a write refused) since netOpen.
bool netLost();
void netClose(int fd);
