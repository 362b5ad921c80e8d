#include "link/serial.h"

#include "link/answer.h"
#include "link/interrupt.h"
#include "link/number.h"
#include "link/staletemps.h"
#include "resources/fill.h"
#include "link/rfc2217.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

char lockfile[LockFileSize];
struct termios tsero;
struct termios tser;

namespace {

std::string lock_dir = DefaultLockDir;
std::string failure; // portFailureText()
PortFailure failureCause = PortFailure::NoCause;
std::string failureArg;
// The lock under the name of the device a symlink leads to; "" when none.
char devlockfile[LockFileSize];
std::string opened; // openedDevice()
bool portOpen = false; // between a successful openSer and closeSer
volatile sig_atomic_t openFd = -1; // the same, for a signal handler

// The user's text: what, its name, why it failed, the detail.
void fail(const char *what, const std::string &name, const char *why, const char *detail)
{
    failure = std::string(what) + " \"" + shownText(name) + "\"\n" + why + ":\n" + detail;
}

// The serial-port convention's own line for a device that would not open.
std::string openFailureLine;

void cause(PortFailure c, const std::string &arg)
{
    failureCause = c;
    failureArg = arg;
}

// What the owner's pid in an existing lock file says about the device.
enum class Owner { Locked, Stale, Unreadable, Gone };

// Four bytes of digits, blanks and line feeds are text: read as a binary pid
// they would be at least 0x0A0A0A0A, far beyond any pid the kernel hands out.
bool isTextPid(const char *buf)
{
    for (int i = 0; i < 4; i++)
        if (!(buf[i] >= '0' && buf[i] <= '9') && buf[i] != ' ' && buf[i] != '\n')
            return false;
    return true;
}

// The leading decimal number of a text lock, after blanks; -1 without one or
// for one out of range.
int textPid(const char *text)
{
    text += std::strspn(text, " \t\n");
    std::size_t length = std::strspn(text + (*text == '-' || *text == '+'), "0123456789");
    std::string number(text, length + (*text == '-' || *text == '+'));
    return int(decimalIn(number.c_str(), INT_MIN, INT_MAX).value_or(-1));
}

// The lock file open at fd (a regular file), judged by its pid.
Owner judgeOpenLock(int fd, int *owner)
{
    char buf[128];
    ssize_t n = pread(fd, buf, 127, 0);
    if (n < 0)
        return Owner::Unreadable;
    if (n == 0)
        return Owner::Locked;
    int pid = -1;
    if (n == 4 && !isTextPid(buf)) {
        std::memcpy(&pid, buf, sizeof pid); // other programs write the pid in binary
    } else {
        buf[n] = '\0';
        pid = textPid(buf);
    }
    if (pid <= 0)
        return Owner::Locked;
    *owner = pid;
    if (kill(pid, 0) == 0 || errno != ESRCH)
        return Owner::Locked; // alive, or alive and someone else's
    return Owner::Stale;
}

// Judges what lies at path.  A stale lock stays open at *stale (its status
// in *judged) for the takeover.
Owner judgeLockFile(const char *path, int *owner, int *stale, struct stat *judged)
{
    *owner = -1;
    *stale = -1;
    // Anyone can put anything at the lock path: a FIFO would block open() and
    // read() for good, a symlink would make us read wherever it points.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        if (lstat(path, judged) == 0 && !S_ISREG(judged->st_mode))
            return Owner::Locked; // a symlink, a socket, ...
        return err == ENOENT ? Owner::Gone : Owner::Unreadable;
    }
    if (fstat(fd, judged) != 0 || !S_ISREG(judged->st_mode)) {
        close(fd);
        return Owner::Locked;
    }
    Owner judgement = judgeOpenLock(fd, owner);
    if (judgement == Owner::Stale)
        *stale = fd;
    else
        close(fd);
    return judgement;
}

// "Prozess 1234 (minicom)" for the user; without a usable pid the lock file.
std::string holderOf(int pid, const char *lock)
{
    if (pid <= 0)
        return std::string("die Sperrdatei ") + lock;
    std::string text = "Prozess " + std::to_string(pid);
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    if (std::getline(comm, name) && !name.empty())
        text += " (" + name + ")";
    return text;
}

void cannotCreate(const char *path, int err)
{
    sayOnStandardError(shownText(path) + ": " + std::strerror(err) + "\n");
    sayOnStandardError("Cannot create lockfile. Sorry.\n");
    fail("Die Sperrdatei", path, "kann nicht angelegt werden", std::strerror(err));
    if (err == EACCES || err == EPERM || err == EROFS)
        cause(PortFailure::LockDirDenied, lock_dir);
}

void isLocked(const char *path, const char *device, int owner)
{
    sayOnStandardError("Device " + shownText(device) + " is locked.\n");
    fail("Das Gerät", device, "ist von einem anderen Programm gesperrt", path);
    cause(PortFailure::Busy, holderOf(owner, path));
}

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

enum class Takeover { Removed, LookAgain, Held };

// Of all who found the lock at path stale, only the one holding its file may
// remove it, and only while path still names that file and its owner is
// still gone: so no one removes a lock another program has just made.  The
// others wait for it and look again.
Takeover takeOverStale(const char *path, int stale, const struct stat &judged)
{
    Takeover result = Takeover::Held;
    for (int tries = 0; tries < 40; tries++) { // the holder sleeps a second
        if (flock(stale, LOCK_EX | LOCK_NB) == 0) {
            sleep(1); // its owner's grace
            struct stat now;
            int owner = -1;
            bool still = lstat(path, &now) == 0 && sameFile(now, judged) && judgeOpenLock(stale, &owner) == Owner::Stale;
            result = still && unlink(path) == 0 ? Takeover::Removed : Takeover::LookAgain;
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        usleep(100000);
    }
    close(stale); // and with it the flock
    return result;
}

// Takes the lock "<lock dir>/LCK..<base>" into path; device is what the
// messages name.  0, or -1 with nothing created.
int takeLock(const char *base, char *path, const char *device)
{
    int len = std::snprintf(path, LockFileSize, "%s/LCK..%s", lock_dir.c_str(), base);
    if (len < 0 || len >= LockFileSize) {
        // A cut path would name some other device's lock.
        std::string full = lock_dir + "/LCK.." + base;
        path[0] = '\0';
        cannotCreate(full.c_str(), ENAMETOOLONG);
        return -1;
    }

    // The lock is whole before it has its name: written under a name of its
    // own, then linked into place, which fails when a lock is there already.
    // Named with our pid, so that what a run killed with -9 left can go.
    if (int dirfd = open(lock_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirfd >= 0) {
        removeStaleNamed(dirfd, "LTMP.");
        close(dirfd);
    }
    std::string temp = lock_dir + "/LTMP." + std::to_string(getpid()) + ".XXXXXX";
    int fd = mkstempRemovedOnInterrupt(temp.data());
    if (fd < 0) {
        cannotCreate(path, errno);
        path[0] = '\0';
        return -1;
    }
    char text[64];
    int n = std::snprintf(text, sizeof text, "%05d kelvora\n", int(getpid()));
    // Others read the pid in it; the umask is the user's, not ours to change.
    bool written = fchmod(fd, 0644) == 0 && write(fd, text, std::size_t(n)) == n;
    int err = errno;
    close(fd);

    int result = -1;
    bool told = false;
    for (int tries = 0; written && !told && tries < 5; tries++) {
        if (link(temp.c_str(), path) == 0) {
            removeOnInterrupt(path);
            result = 0;
            break;
        }
        if (errno != EEXIST) {
            err = errno;
            written = false;
            break;
        }
        int owner = -1, stale = -1;
        struct stat judged;
        switch (judgeLockFile(path, &owner, &stale, &judged)) {
        case Owner::Gone:
            break;
        case Owner::Unreadable:
            err = EEXIST;
            written = false;
            break;
        case Owner::Locked:
            isLocked(path, device, owner);
            told = true;
            break;
        case Owner::Stale:
            sayOnStandardError("Lockfile is stale. Overriding it..\n");
            if (takeOverStale(path, stale, judged) == Takeover::Held) {
                isLocked(path, device, owner);
                told = true;
            }
            break;
        }
    }
    if (written && !told && result != 0)
        isLocked(path, device, -1);
    if (!written)
        cannotCreate(path, err);
    forgetOnInterrupt(temp.c_str());
    unlink(temp.c_str());
    if (result != 0)
        path[0] = '\0';
    return result;
}

// The device a symlinked name leads to, when its base name differs from the
// link's (the stable /dev/serial/by-id/... names of USB adapters); "" else.
std::string resolvedDevice(const char *device)
{
    struct stat st;
    if (lstat(device, &st) != 0 || !S_ISLNK(st.st_mode))
        return "";
    char *real = realpath(device, nullptr);
    if (!real)
        return "";
    std::string target = real;
    std::free(real);
    if (std::strcmp(basename(device), basename(target.c_str())) == 0)
        return "";
    return target;
}

// A second close (or a signal) must not remove someone else's new lock:
// the name is forgotten before the file goes.
void removeLock(char *lock)
{
    if (!lock[0])
        return;
    std::string path = lock;
    lock[0] = '\0';
    unlink(path.c_str());
}

void removeLocks()
{
    removeLock(lockfile);
    removeLock(devlockfile);
}

// "eine gewöhnliche Datei": what the device is instead of a terminal.
const char *kindOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return "eine gewöhnliche Datei";
    if (S_ISDIR(st.st_mode))
        return "ein Verzeichnis";
    if (S_ISFIFO(st.st_mode))
        return "eine benannte Pipe (FIFO)";
    if (S_ISSOCK(st.st_mode))
        return "ein Socket";
    return "ein Gerät, aber kein Terminal";
}

void notATerminal(const char *device, const char *kind)
{
    fail("Das Gerät", device, "ist keine serielle Schnittstelle", (std::string("Es ist ") + kind + ".").c_str());
    cause(PortFailure::NotTerminal, device);
}

// The line set up as the PBX needs it, and emptied of what it still held from
// whoever used it last; false when the line refused.
bool setUpLine(int fd)
{
    tser = tsero;
    tser.c_iflag |= IGNBRK | BRKINT | IGNPAR;
    tser.c_iflag &= ~tcflag_t(INPCK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXANY | IXOFF);
    tser.c_oflag &= ~tcflag_t(OPOST);
    tser.c_cflag &= ~tcflag_t(HUPCL | CSIZE);
    tser.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL | CRTSCTS;
    tser.c_lflag &= ~tcflag_t(ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL);
    tser.c_cc[VMIN] = 1;
    tser.c_cc[VTIME] = 5;
    return cfsetospeed(&tser, B4800) == 0 && cfsetispeed(&tser, B4800) == 0 && tcsetattr(fd, TCSANOW, &tser) == 0 &&
           tcflush(fd, TCIOFLUSH) == 0;
}

// The lock of a line on another machine: in the user's runtime folder, named
// after host and port, so that the window and kelvoractl here keep out of each
// other.  The server itself lets one client at a time in.
int lockNet(const char *device)
{
    std::string dir = netLockDir();
    struct stat st;
    if (dir.empty() || stat(dir.c_str(), &st) != 0)
        return 0;
    std::string serialDir = lock_dir;
    lock_dir = dir;
    char path[LockFileSize];
    int taken = takeLock(netDeviceName(device).c_str(), path, device);
    lock_dir = serialDir;
    if (taken != 0)
        return -1;
    std::memcpy(lockfile, path, sizeof path);
    forgetOnInterrupt(path); // the port's own lock from here
    return 0;
}

int openNet(const char *device)
{
    if (lockSer(device) != 0)
        return -1;
    NetOpened net = netOpen(device, 3 * byteTimeout());
    if (net.fd < 0) {
        switch (net.failure) {
        case NetFailure::Busy:
            fail("Das Gerät", device, "ist belegt", net.detail.c_str());
            cause(PortFailure::Busy, "einer anderen Verbindung zum Server");
            break;
        case NetFailure::Settings:
            fail("Das Gerät", device, "lässt sich nicht einstellen", net.detail.c_str());
            cause(PortFailure::NoRemoteSettings, device);
            break;
        default:
            fail("Das Gerät", device, "ist nicht erreichbar", net.detail.c_str());
            cause(PortFailure::NoConnection, device);
            break;
        }
        removeLocks();
        return -1;
    }
    // Answers come later by the time the network takes: twice its slowest
    // round trip while connecting is added to every deadline of the line.
    setLineAllowanceMs(int(2 * net.roundTrip.count()));
    opened = device;
    portOpen = true;
    openFd = net.fd;
    return net.fd;
}

volatile sig_atomic_t rang;
void wakeUp(int) { rang = 1; }

} // namespace

void setLockDir(const char *dir) { lock_dir = dir ? dir : DefaultLockDir; }

void sayOnStandardError(const std::string &line) { std::fputs(line.c_str(), stderr); }

const char *portFailureText() { return failure.c_str(); }
const char *portFailureLine() { return openFailureLine.c_str(); }
PortFailure portFailureCause() { return failureCause; }
const char *portFailureArgument() { return failureArg.c_str(); }
const char *deviceLockFile() { return devlockfile; }
const char *openedDevice() { return opened.c_str(); }

int lockSer(const char *device)
{
    // The locks of a port that is open stay known until it is closed, even
    // when another device is tried meanwhile.
    if (!portOpen) {
        lockfile[0] = '\0';
        devlockfile[0] = '\0';
    }
    failure.clear();
    openFailureLine.clear();
    cause(PortFailure::NoCause, "");
    if (isNetDevice(device))
        return lockNet(device);
    struct stat st;
    if (stat(lock_dir.c_str(), &st) != 0) {
        lockfile[0] = devlockfile[0] = '\0';
        return 0; // no lock directory: nobody to coordinate with
    }

    char first[LockFileSize], second[LockFileSize] = "";
    if (takeLock(basename(device), first, device) != 0)
        return -1;
    // Other programs know the device by its own name: lock that as well, or
    // one of them could share the line with us.
    std::string target = resolvedDevice(device);
    if (!target.empty() && takeLock(basename(target.c_str()), second, target.c_str()) != 0) {
        forgetOnInterrupt(first);
        unlink(first);
        return -1;
    }
    std::memcpy(lockfile, first, sizeof first);
    std::memcpy(devlockfile, second, sizeof second);
    forgetOnInterrupt(first); // the port's own locks from here
    forgetOnInterrupt(second);
    return 0;
}

int openSer(const char *device)
{
    if (isNetDevice(device))
        return openNet(device);
    // Anything but a terminal (a file given in the device's place) is not
    // opened at all, so not a byte can reach it.
    struct stat st;
    if (stat(device, &st) == 0 && !S_ISCHR(st.st_mode)) {
        lockfile[0] = devlockfile[0] = '\0';
        notATerminal(device, kindOf(st));
        return -1;
    }
    if (lockSer(device) != 0)
        return -1;
    // O_NOCTTY: the PBX line must never become our controlling terminal.
    int fd = open(device, O_RDWR | O_EXCL | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        int err = errno;
        fail("Das Gerät", device, "kann nicht geöffnet werden", std::strerror(err));
        openFailureLine = "Cannot open " + shownText(device) + ", errno " + std::to_string(err) + "\n";
        if (err == EACCES || err == EPERM)
            cause(PortFailure::Denied, device);
        else if (err == ENOENT || err == ENXIO || err == ENODEV)
            cause(PortFailure::NoDevice, device);
        removeLocks();
        return -1;
    }
    // It may have been swapped since it was looked at.
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !isatty(fd) || tcgetattr(fd, &tsero) != 0) {
        notATerminal(device, fstat(fd, &st) == 0 ? kindOf(st) : "kein Terminal");
        close(fd);
        removeLocks();
        return -1;
    }
    if (!setUpLine(fd)) {
        int err = errno;
        tcsetattr(fd, TCSANOW, &tsero);
        close(fd);
        fail("Das Gerät", device, "lässt sich nicht einstellen", std::strerror(err));
        removeLocks();
        return -1;
    }
    opened = device;
    portOpen = true;
    openFd = fd;
    return fd;
}

int closeSer(int fd)
{
    if (isNetLine(fd)) {
        openFd = -1;
        netClose(fd);
        setLineAllowanceMs(0);
        removeLocks();
        portOpen = false;
        return 0;
    }
    tser = tsero;
    bool restored = tcflush(fd, TCIOFLUSH) == 0 && tcsetattr(fd, TCSANOW, &tser) == 0;
    int err = errno;
    openFd = -1;
    close(fd);
    removeLocks();
    portOpen = false;
    // A line hung up (EIO) has no settings left to restore.
    if (!restored && err != EIO)
        sayOnStandardError(shownText(opened) + ": " + std::strerror(err) + "\n");
    return 0;
}

void abandonPort(const unsigned char *farewell, int length)
{
    int fd = openFd;
    if (fd >= 0) {
        ssize_t n = lineWrite(fd, farewell, std::size_t(length)); // as much as the line takes now
        (void)n;
        tcsetattr(fd, TCSANOW, &tsero);
        close(fd);
    }
    openFd = -1;
    // The names as removeLock forgets them: a lock removed is never removed twice.
    for (char *lock : {lockfile, devlockfile})
        if (lock[0])
            unlink(lock);
}

bool synchronize(int fd)
{
    static const unsigned char zeros[255] = {};
    std::size_t sent = 0;
    while (sent < sizeof zeros) {
        ssize_t n = lineWrite(fd, zeros + sent, sizeof zeros - sent);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        // The rest when the line takes it, as for any frame.
        pollfd p = {fd, POLLOUT, 0};
        int ready = poll(&p, 1, int(byteTimeout().count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(p.revents & POLLOUT))
            return false;
    }
    return true;
}

ssize_t lineRead(int fd, unsigned char *into, std::size_t most)
{
    return isNetLine(fd) ? netRead(fd, into, most) : read(fd, into, most);
}

ssize_t lineWrite(int fd, const unsigned char *bytes, std::size_t count)
{
    return isNetLine(fd) ? netWrite(fd, bytes, count) : write(fd, bytes, count);
}

bool lineConnectionLost() { return netLost(); }

std::string netLockDir()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return runtime;
    std::string user = "/run/user/" + std::to_string(getuid());
    struct stat st;
    return stat(user.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? user : "";
}

void minisleep(int units)
{
    long usec = long(units) * 1024;
    if (usec <= 0)
        return; // a zero timer would never fire
    // SIGALRM stays blocked until sigsuspend, so a timer that fires early is
    // kept pending instead of being lost before we wait.
    sigset_t alrm, old;
    sigemptyset(&alrm);
    sigaddset(&alrm, SIGALRM);
    sigprocmask(SIG_BLOCK, &alrm, &old);

    struct sigaction sa = {};
    sa.sa_handler = wakeUp;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGALRM, &sa, nullptr);

    struct itimerval it = {};
    it.it_value.tv_sec = usec / 1000000;
    it.it_value.tv_usec = usec % 1000000;
    rang = 0;
    if (setitimer(ITIMER_REAL, &it, nullptr) == 0) {
        sigset_t wait = old;
        sigdelset(&wait, SIGALRM);
        while (!rang) // another signal may wake us first
            sigsuspend(&wait);
    }
    sigprocmask(SIG_SETMASK, &old, nullptr);
}
