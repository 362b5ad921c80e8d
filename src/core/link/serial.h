// The serial port to the PBX: lock file, line set-up and the two small line
// operations the frame protocol needs.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <termios.h>

constexpr int LockFileSize = 255;
constexpr const char *DefaultLockDir = "/var/lock";

extern char lockfile[LockFileSize]; // lock of the open port; "" when none is held
extern struct termios tsero;        // line settings found at open, restored at close
extern struct termios tser;         // line settings while the port is open

// 0 when the caller may go on (lock taken, or no lock directory), -1 when the
// device is locked or the lock cannot be created.  Messages go to stderr.
// A device named through a symlink whose target has another base name is
// locked under both names (deviceLockFile() holds the second); a live lock
// under either keeps us off, and both go together.
// A device whose lock path would not fit lockfile is refused like a lock that
// cannot be created (a cut path would name another device's lock).
// Anything but a regular file at the lock path (a FIFO, a directory, a
// symlink) counts as a lock: it is never followed and never waited on.
// The lock is written under a temporary name and linked into place, so it is
// taken whole or not at all; of several programs taking over one stale lock
// only one gets the line.
int lockSer(const char *device);
// Locks, opens (never as our controlling terminal) and sets up the line,
// discarding what it still held; a descriptor, or -1 (nothing left behind).
// Only a terminal is opened: anything else is refused before a byte is sent.
int openSer(const char *device);
// Why the last openSer() failed, in German for the user (names the device or
// the lock file); "" after a successful open.
const char *portFailureText();
// "Cannot open DEVICE, errno N\n" when the device itself would not open, as
// serial programs say it on standard error (the window does); "" otherwise.
const char *portFailureLine();
// Where the port's own lines go: the lock's ("Device DEVICE is locked.\n" ...)
// as they happen, portFailureLine() when the window says it.  Standard error.
void sayOnStandardError(const std::string &line);
// The causes of a failed open that the user can do something about, with
// what the advice names: the lock holder ("Prozess 4711 (minicom)", or the
// lock file when no live owner is known), the device, the lock directory.
// A network device (link/rfc2217.h) adds NoConnection (the argument is the
// device) and NoRemoteSettings (the server would not set the far port); a
// second client the server turns away is Busy.
enum class PortFailure { NoCause, Busy, Denied, NoDevice, LockDirDenied, NotTerminal, NoConnection, NoRemoteSettings };
PortFailure portFailureCause();
const char *portFailureArgument();
// The lock under the name of the device a symlink leads to; "" when none.
const char *deviceLockFile();
// The device of the last successful openSer().
const char *openedDevice();
// Flushes, restores the line, closes and removes the lock.  Always 0; a line
// that would not take its settings back is named on stderr.
int closeSer(int fd);
// For a signal handler: hands the line the farewell bytes it takes at once,
// restores its settings, closes it and removes the locks.
void abandonPort(const unsigned char *farewell, int length);
// 255 zero bytes, to bring the PBX's receiver into a known state; false when
// the line would not take them all (a second for each write).
bool synchronize(int fd);
// Sleeps units x 1024 microseconds (callers pass 20) on the process's
// real-time timer.  Threads other than the caller must block SIGALRM.
void minisleep(int units);

// The open line's read() and write(): a network device's data without its
// telnet commands.  Any other descriptor is read and written as it is.
ssize_t lineRead(int fd, unsigned char *into, std::size_t most);
ssize_t lineWrite(int fd, const unsigned char *bytes, std::size_t count);
// The network connection of the open port broke (the far side closed or reset
// it): the same failure as a line hung up, with its own advice.
bool lineConnectionLost();
// Where the lock of a network device goes: $XDG_RUNTIME_DIR, else
// /run/user/<uid>; "" when neither is there (no lock is taken then).
std::string netLockDir();

// Test-only: where lock files go (default "/var/lock").
void setLockDir(const char *dir);
