#include "link/serial.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// The user's text: what, its name, why it failed, the detail.
void fail(const char *what, const std::string &name, const char *why, const char *detail)
{
    failure = std::string(what) + " \"" + name + "\"\n" + why + ":\n" + detail;
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

Owner judgeLockFile()
{
    // Anyone can put anything at the lock path: a FIFO would block open() and
    // read() for good, a symlink would make us read wherever it points.
    int fd = open(lockfile, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    struct stat st;
    if (fd < 0) {
        if (lstat(lockfile, &st) == 0 && !S_ISREG(st.st_mode))
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
    if (kill(pid, 0) == 0 || errno != ESRCH)
        return Owner::Locked; // alive, or alive and someone else's
    return Owner::Stale;
}

volatile sig_atomic_t rang;
void wakeUp(int) { rang = 1; }

} // namespace

void setLockDir(const char *dir) { lock_dir = dir ? dir : DefaultLockDir; }
const char *lockDir() { return lock_dir.c_str(); }
const char *portFailureText() { return failure.c_str(); }

int lockSer(const char *device)
{
    lockfile[0] = '\0';
    failure.clear();
    struct stat st;
    if (stat(lock_dir.c_str(), &st) != 0)
        return 0; // no lock directory: nobody to coordinate with

    const char *base = basename(device);
    int len = std::snprintf(lockfile, sizeof lockfile, "%s/LCK..%s", lock_dir.c_str(), base);
    if (len < 0 || len >= int(sizeof lockfile)) {
        // A cut path would name some other device's lock.
        lockfile[0] = '\0';
        std::string path = lock_dir + "/LCK.." + base;
        std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(ENAMETOOLONG));
        std::fprintf(stderr, "Cannot create lockfile. Sorry.\n");
        fail("Die Sperrdatei", path, "kann nicht angelegt werden", std::strerror(ENAMETOOLONG));
        return -1;
    }

    switch (judgeLockFile()) {
    case Owner::Locked:
        std::fprintf(stderr, "Device %s is locked.\n", device);
        fail("Das Gerät", device, "ist von einem anderen Programm gesperrt", lockfile);
        return -1;
    case Owner::Stale:
        std::fprintf(stderr, "Lockfile is stale. Overriding it..\n");
        sleep(1);
        unlink(lockfile);
        break;
    case Owner::Unreadable:
        break;
    }

    int fd = open(lockfile, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        int err = errno;
        std::perror(lockfile);
        std::fprintf(stderr, "Cannot create lockfile. Sorry.\n");
        fail("Die Sperrdatei", lockfile, "kann nicht angelegt werden", std::strerror(err));
        return -1;
    }
    umask(022);
    char text[64];
    int n = std::snprintf(text, sizeof text, "%05d kelvora\n", int(getpid()));
    if (write(fd, text, std::size_t(n)) != n)
        std::perror(lockfile);
    close(fd);
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
        if (lockfile[0])
            unlink(lockfile);
        return -1;
    }
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
    if (lockfile[0])
        unlink(lockfile);
    lockfile[0] = '\0'; // a second close must not remove someone else's new lock
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
