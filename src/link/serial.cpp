#include "link/serial.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
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

// The user's text: what, its name, why it failed, the detail.
void fail(const char *what, const std::string &name, const char *why, const char *detail)
{
    failure = std::string(what) + " \"" + name + "\"\n" + why + ":\n" + detail;
}

void cause(PortFailure c, const std::string &arg)
{
    failureCause = c;
    failureArg = arg;
}

// What the owner's pid in an existing lock file says about the device.
enum class Owner { Locked, Stale, Unreadable };

// Four bytes of digits, blanks and line feeds are text: read as a binary pid
// they would be at least 0x0A0A0A0A, far beyond any pid the kernel hands out.
bool isTextPid(const char *buf)
{
    for (int i = 0; i < 4; i++)
        if (!(buf[i] >= '0' && buf[i] <= '9') && buf[i] != ' ' && buf[i] != '\n')
            return false;
    return true;
}

Owner judgeLockFile(const char *path, int *owner)
{
    *owner = -1;
    // Anyone can put anything at the lock path: a FIFO would block open() and
    // read() for good, a symlink would make us read wherever it points.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    struct stat st;
    if (fd < 0) {
        if (lstat(path, &st) == 0 && !S_ISREG(st.st_mode))
            return Owner::Locked; // a symlink, a socket, ...
        return Owner::Unreadable;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Owner::Locked;
    }
    char buf[128];
    ssize_t n = read(fd, buf, 127);
    close(fd);
    if (n < 0)
        return Owner::Unreadable; // creating will fail and say why
    if (n == 0)
        return Owner::Locked;
    int pid = -1;
    if (n == 4 && !isTextPid(buf)) {
        std::memcpy(&pid, buf, sizeof pid); // other programs write the pid in binary
    } else {
        buf[n] = '\0';
        if (std::sscanf(buf, "%d", &pid) != 1)
            pid = -1;
    }
    if (pid <= 0)
        return Owner::Locked;
    *owner = pid;
    if (kill(pid, 0) == 0 || errno != ESRCH)
        return Owner::Locked; // alive, or alive and someone else's
    return Owner::Stale;
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

// Takes the lock "<lock dir>/LCK..<base>" into path; device is what the
// messages name.  0, or -1 with nothing created.
int takeLock(const char *base, char *path, const char *device)
{
    int len = std::snprintf(path, LockFileSize, "%s/LCK..%s", lock_dir.c_str(), base);
    if (len < 0 || len >= LockFileSize) {
        // A cut path would name some other device's lock.
        path[0] = '\0';
        std::string full = lock_dir + "/LCK.." + base;
        std::fprintf(stderr, "%s: %s\n", full.c_str(), std::strerror(ENAMETOOLONG));
        std::fprintf(stderr, "Cannot create lockfile. Sorry.\n");
        fail("Die Sperrdatei", full, "kann nicht angelegt werden", std::strerror(ENAMETOOLONG));
        return -1;
    }

    int owner = -1;
    switch (judgeLockFile(path, &owner)) {
    case Owner::Locked:
        std::fprintf(stderr, "Device %s is locked.\n", device);
        fail("Das Gerät", device, "ist von einem anderen Programm gesperrt", path);
        cause(PortFailure::Busy, holderOf(owner, path));
        path[0] = '\0';
        return -1;
    case Owner::Stale:
        std::fprintf(stderr, "Lockfile is stale. Overriding it..\n");
        sleep(1);
        unlink(path);
        break;
    case Owner::Unreadable:
        break;
    }

    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        int err = errno;
        std::perror(path);
        std::fprintf(stderr, "Cannot create lockfile. Sorry.\n");
        fail("Die Sperrdatei", path, "kann nicht angelegt werden", std::strerror(err));
        if (err == EACCES || err == EPERM || err == EROFS)
            cause(PortFailure::LockDirDenied, lock_dir);
        path[0] = '\0';
        return -1;
    }
    umask(022);
    char text[64];
    int n = std::snprintf(text, sizeof text, "%05d kelvora\n", int(getpid()));
    if (write(fd, text, std::size_t(n)) != n)
        std::perror(path);
    close(fd);
    return 0;
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

void removeLocks()
{
    if (lockfile[0])
        unlink(lockfile);
    if (devlockfile[0])
        unlink(devlockfile);
    // A second close must not remove someone else's new lock.
    lockfile[0] = '\0';
    devlockfile[0] = '\0';
}

volatile sig_atomic_t rang;
void wakeUp(int) { rang = 1; }

} // namespace

void setLockDir(const char *dir) { lock_dir = dir ? dir : DefaultLockDir; }

const char *portFailureText() { return failure.c_str(); }
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
    cause(PortFailure::NoCause, "");
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
        unlink(first);
        return -1;
    }
    std::memcpy(lockfile, first, sizeof first);
    std::memcpy(devlockfile, second, sizeof second);
    return 0;
}

int openSer(const char *device)
{
    if (lockSer(device) != 0)
        return -1;
    // O_NOCTTY: the PBX line must never become our controlling terminal.
    int fd = open(device, O_RDWR | O_EXCL | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        int err = errno;
        std::fprintf(stderr, "Cannot open %s, errno %d\n", device, err);
        fail("Das Gerät", device, "kann nicht geöffnet werden", std::strerror(err));
        if (err == EACCES || err == EPERM)
            cause(PortFailure::Denied, device);
        else if (err == ENOENT || err == ENXIO || err == ENODEV)
            cause(PortFailure::NoDevice, device);
        removeLocks();
        return -1;
    }
    opened = device;
    portOpen = true;
    tcgetattr(fd, &tsero);
    tser = tsero;
    tser.c_iflag |= IGNBRK | BRKINT | IGNPAR;
    tser.c_iflag &= ~tcflag_t(INPCK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXANY | IXOFF);
    tser.c_oflag &= ~tcflag_t(OPOST);
    tser.c_cflag &= ~tcflag_t(HUPCL | CSIZE);
    tser.c_cflag |= CS8 | CSTOPB | CREAD | CLOCAL | CRTSCTS;
    tser.c_lflag &= ~tcflag_t(ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL);
    tser.c_cc[VMIN] = 1;
    tser.c_cc[VTIME] = 5;
    cfsetospeed(&tser, B4800);
    cfsetispeed(&tser, B4800);
    tcsetattr(fd, TCSANOW, &tser);
    return fd;
}

int closeSer(int fd)
{
    tser = tsero;
    tcflush(fd, TCIOFLUSH);
    tcsetattr(fd, TCSANOW, &tser);
    close(fd);
    removeLocks();
    portOpen = false;
    return 0;
}

void synchronize(int fd)
{
    static const unsigned char zeros[255] = {};
    ssize_t n = write(fd, zeros, sizeof zeros);
    (void)n;
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
