// The lock file, the line set-up and the short sleep; the line against what
// users and other programs do: something else given as the device, a line
// still holding bytes, eight programs after one stale lock, a line that hangs
// up or fills, a descriptor beyond FD_SETSIZE.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"
#include "support/bounded.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string ourLockText()
{
    char text[32];
    std::snprintf(text, sizeof text, "%05d kelvora\n", int(getpid()));
    return text;
}

std::string deadPid()
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return std::to_string(pid);
}

// A pty reachable as <tmp>/dev/ttyS1, locks in <tmp>/lock.
struct Lock : ::testing::Test {
    TempDir dir;
    PtyPeer peer;
    std::string device = dir.file("dev/ttyS1");
    std::string lock = dir.file("lock/LCK..ttyS1");
    int fd = -1;
    void SetUp() override
    {
        mkdir(dir.file("dev").c_str(), 0755);
        mkdir(dir.file("lock").c_str(), 0755);
        ASSERT_EQ(symlink(peer.slavePath().c_str(), device.c_str()), 0);
        setLockDir(dir.file("lock").c_str());
    }
    void TearDown() override { close(); }
    // openSer with its stderr.
    std::string openCapturing()
    {
        CaptureStderr();
        fd = openSer(device.c_str());
        return GetCapturedStderr();
    }
    void close()
    {
        if (fd >= 0)
            closeSer(fd);
        fd = -1;
    }
};

TEST_F(Lock, FreshLockHoldsOurPidAndGoesAwayOnClose)
{
    EXPECT_EQ(openCapturing(), "");
    ASSERT_GE(fd, 0);
    EXPECT_EQ(readFile(lock), ourLockText());
    EXPECT_EQ(std::string(lockfile), lock);
    // The same base name elsewhere is the same device.
    mkdir(dir.file("other").c_str(), 0755);
    std::string other = dir.file("other/ttyS1");
    ASSERT_EQ(symlink(peer.slavePath().c_str(), other.c_str()), 0);
    CaptureStderr();
    EXPECT_EQ(openSer(other.c_str()), -1);
    EXPECT_EQ(GetCapturedStderr(), "Device " + other + " is locked.\n");
    EXPECT_EQ(readFile(lock), ourLockText());
    close();
    EXPECT_NE(access(lock.c_str(), F_OK), 0);
}

// The lock is written under "LTMP.<pid>.XXXXXX" first; what a run killed
// with -9 left of those goes, and nothing of another form or a live run.
TEST_F(Lock, TemporariesOfRunsThatAreGoneAreRemoved)
{
    std::string gone = deadPid(), alive = std::to_string(getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {"LTMP." + gone + ".aB3dE6", true},
        {"LTMP." + alive + ".aB3dE6", false},
        {"LTMP.aB3dE6", false},              // another program's form
        {"LTMP." + gone + ".aB3dE", false},
        {"LTMP." + gone + "x.aB3dE6", false},
        {"LCK..ttyS7", false},
    };
    for (const auto &c : cases)
        writeFile(dir.file("lock/" + c.name), "x");
    EXPECT_EQ(openCapturing(), "");
    ASSERT_GE(fd, 0);
    for (const auto &c : cases)
        EXPECT_EQ(access(dir.file("lock/" + c.name).c_str(), F_OK) != 0, c.removed) << c.name;
}

// ttyS1 is a symlink to the pty: other programs know the line by the pty's
// own name, so both names are locked, before the line is opened.
TEST_F(Lock, SymlinkedDeviceIsLockedUnderBothNames)
{
    std::string slave = peer.slavePath();
    std::string resolved = dir.file("lock/LCK..") + slave.substr(slave.rfind('/') + 1);
    struct Case {
        const char *name;
        std::string atResolved; // what lies at the resolved name's lock first; "-" nothing
        bool opens;
        std::string said;
    } cases[] = {
        {"free", "-", true, ""},
        {"stale under the device's name", deadPid() + "\n", true, "Lockfile is stale. Overriding it..\n"},
        {"live under the device's name", ourLockText(), false, "Device " + slave + " is locked.\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.atResolved != "-")
            writeFile(resolved, c.atResolved);
        EXPECT_EQ(openCapturing(), c.said);
        EXPECT_EQ(fd >= 0, c.opens);
        if (c.opens) {
            EXPECT_EQ(readFile(lock), ourLockText());
            EXPECT_EQ(readFile(resolved), ourLockText());
            EXPECT_EQ(std::string(deviceLockFile()), resolved);
            close();
            EXPECT_NE(access(lock.c_str(), F_OK), 0) << "the link's lock goes on close";
            EXPECT_NE(access(resolved.c_str(), F_OK), 0) << "and the device's with it";
        } else {
            EXPECT_NE(access(lock.c_str(), F_OK), 0) << "the link's lock taken first is given back";
            EXPECT_EQ(readFile(resolved), c.atResolved) << "the holder's lock stays";
            unlink(resolved.c_str());
        }
    }
    // A live lock under the link's name keeps us off before the device's is touched.
    writeFile(lock, ourLockText());
    EXPECT_EQ(openCapturing(), "Device " + device + " is locked.\n");
    EXPECT_NE(access(resolved.c_str(), F_OK), 0);
}

TEST_F(Lock, ExistingLockFiles)
{
    int self = getpid();
    const std::string binarySelf(reinterpret_cast<char *>(&self), 4);
    struct Case {
        std::string content;
        bool stale;
    } cases[] = {
        {"", false},
        {"0\n", false},
        {"00000 kelvora\n", false},
        {"-5\n", false},
        {"kelvora 4711\n", false},
        {std::string(4, '\0'), false},
        {binarySelf, false},
        {"   " + std::to_string(self) + "\n", false},
        {deadPid() + "\n", true},
        {"     " + deadPid() + "\n", true},
        {"99999999999\n", false}, // beyond any pid: no owner known
        {"-99999999999\n", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.content));
        writeFile(lock, c.content);
        auto t = Clock::now();
        if (c.stale) {
            EXPECT_EQ(openCapturing(), "Lockfile is stale. Overriding it..\n");
            EXPECT_GE(secondsSince(t), 0.95) << "a second's grace for its owner";
            EXPECT_GE(fd, 0);
            EXPECT_EQ(readFile(lock), ourLockText());
        } else {
            EXPECT_EQ(openCapturing(), "Device " + device + " is locked.\n");
            EXPECT_EQ(fd, -1);
            EXPECT_EQ(readFile(lock), c.content) << "someone else's lock stays as it was";
        }
        close();
    }
}

TEST_F(Lock, LiveProcessOfAnotherUserLocks)
{
    // Pid 1 belongs to root.  Run the check as nobody so the null signal is refused.
    if (geteuid() != 0 && kill(1, 0) == 0)
        GTEST_SKIP() << "pid 1 can be signalled by this user";
    writeFile(lock, "1\n");
    chmod(dir.path().c_str(), 0755);
    chmod(dir.file("lock").c_str(), 0777);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        if (kill(1, 0) == 0 || errno != EPERM)
            _exit(4);
        _exit(lockSer(device.c_str()) == -1 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: cannot become nobody, 4: no permission error, 1: not locked";
    EXPECT_EQ(readFile(lock), "1\n");
}

TEST_F(Lock, OpenWithoutLockDirectoryAndFailedOpens)
{
    setLockDir(dir.file("missing").c_str());
    EXPECT_EQ(openCapturing(), "");
    EXPECT_GE(fd, 0);
    EXPECT_STREQ(lockfile, "");
    close();

    // A device that cannot be opened takes its fresh lock away again; the
    // user's message says why (portFailureText), stderr nothing more.
    setLockDir(dir.file("lock").c_str());
    device = dir.file("dev/ttyS9");
    EXPECT_EQ(openCapturing(), "");
    EXPECT_EQ(fd, -1);
    EXPECT_NE(access(dir.file("lock/LCK..ttyS9").c_str(), F_OK), 0);
    // A lock directory that is a file: LockPath/LockDirIsAFile.
}

TEST_F(Lock, NameTooLongForTheLockPathIsRefused)
{
    std::string prefix = dir.file("lock/LCK..");
    std::size_t fits = LockFileSize - 1 - prefix.size(); // the longest base name that fits
    std::string longest = "/dev/" + std::string(fits, 'x');
    ASSERT_EQ(lockSer(longest.c_str()), 0);
    EXPECT_EQ(std::string(lockfile).size(), std::size_t(LockFileSize - 1));
    unlink(lockfile);

    std::string too_long = "/dev/" + std::string(fits + 1, 'x');
    CaptureStderr();
    EXPECT_EQ(lockSer(too_long.c_str()), -1);
    std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("File name too long\nCannot create lockfile. Sorry.\n"), std::string::npos) << err;
    EXPECT_STREQ(lockfile, "");
}

// The lock is readable by all (others read the pid in it); the umask stays
// the user's for every file the program makes afterwards.
TEST_F(Lock, LockIs0644AndTheUmaskStaysTheUsers)
{
    mode_t old = umask(077);
    fd = openSer(device.c_str());
    ASSERT_GE(fd, 0);
    struct stat st;
    ASSERT_EQ(stat(lock.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(umask(077), 077u);
    umask(old);
}

// What a line someone else used may look like: a terminal at 9600 7E1 with
// XON/XOFF, line editing and modem control.
termios usedLine(int fd)
{
    termios t;
    tcgetattr(fd, &t);
    t.c_iflag |= ICRNL | INLCR | IGNCR | ISTRIP | INPCK | IXON | IXOFF | IXANY;
    t.c_oflag |= OPOST;
    t.c_cflag = (t.c_cflag & ~tcflag_t(CSIZE | CSTOPB | CLOCAL | CRTSCTS | CREAD)) | CS7 | PARENB | HUPCL;
    t.c_lflag |= ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG;
    cfsetspeed(&t, B9600);
    return t;
}

TEST_F(Lock, LineIs4800Baud8N2RawWithHardwareFlowControlAndRestoredOnClose)
{
    int probe = open(peer.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(probe, 0);
    termios before = usedLine(probe);
    ASSERT_EQ(tcsetattr(probe, TCSANOW, &before), 0);
    tcgetattr(probe, &before);
    ASSERT_EQ(openCapturing(), "");
    ASSERT_GE(fd, 0);
    termios t;
    tcgetattr(fd, &t);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B4800));
    // A pty always has CS8, CREAD and no parity, whatever is asked: for those
    // only what the program asked for (tser) can show a fault.
    struct Flag {
        const char *name;
        tcflag_t termios::*field;
        tcflag_t bits, want;
        bool ptyFixed;
    } flags[] = {
        {"CS8", &termios::c_cflag, CSIZE, CS8, true},
        {"PARENB", &termios::c_cflag, PARENB, 0, true},
        {"CREAD", &termios::c_cflag, CREAD, CREAD, true},
        {"CSTOPB", &termios::c_cflag, CSTOPB, CSTOPB, false},
        {"CLOCAL", &termios::c_cflag, CLOCAL, CLOCAL, false}, // no modem: never wait for carrier
        {"CRTSCTS", &termios::c_cflag, CRTSCTS, CRTSCTS, false},
        {"HUPCL", &termios::c_cflag, HUPCL, 0, false}, // nothing to hang up on a direct line
        // Every byte value is data: no software flow control, no translation, all eight bits.
        {"IXON", &termios::c_iflag, IXON, 0, false},
        {"IXOFF", &termios::c_iflag, IXOFF, 0, false},
        {"IXANY", &termios::c_iflag, IXANY, 0, false},
        {"ICRNL", &termios::c_iflag, ICRNL, 0, false},
        {"INLCR", &termios::c_iflag, INLCR, 0, false},
        {"IGNCR", &termios::c_iflag, IGNCR, 0, false},
        {"ISTRIP", &termios::c_iflag, ISTRIP, 0, false},
        {"INPCK", &termios::c_iflag, INPCK, 0, false},
        {"OPOST", &termios::c_oflag, OPOST, 0, false},
        {"ICANON", &termios::c_lflag, ICANON, 0, false},
        {"ECHO", &termios::c_lflag, ECHO | ECHOE | ECHOK | ECHONL, 0, false},
        {"ISIG", &termios::c_lflag, ISIG, 0, false},
    };
    for (const Flag &f : flags) {
        EXPECT_EQ(tser.*f.field & f.bits, f.want) << f.name << " asked for";
        EXPECT_EQ(t.*f.field & f.bits, f.want) << f.name << " on the line";
        if (!f.ptyFixed) {
            EXPECT_NE(before.*f.field & f.bits, f.want) << f.name << " was right before the open";
        }
    }
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 5);
    EXPECT_TRUE(fcntl(fd, F_GETFL) & O_NONBLOCK);
    close();
    termios after;
    tcgetattr(probe, &after);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    ::close(probe);
}

// lstat and, for a regular file, the content: enough to see a change.
std::string look(const std::string &path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return "missing";
    return std::to_string(st.st_mode) + " " + std::to_string(st.st_ino) + " " +
           (S_ISREG(st.st_mode) ? readFile(path) : "");
}

enum class Outcome { Opened, Stale, Locked, NoDevice, NoLockFile };

struct Hostile {
    const char *name, *device;
    void (*make)(Lock &t);
    Outcome outcome;
};

void PrintTo(const Hostile &h, std::ostream *os) { *os << h.name; }

class LockPath : public Lock, public ::testing::WithParamInterface<Hostile> {};

// In a child with a time limit: nothing at the lock path may hang the open.
TEST_P(LockPath, IsJudgedAtOnceAndTheUserIsToldWhy)
{
    const Hostile &h = GetParam();
    std::string missing = dir.file("dev/ttyS9"), outside = dir.file("outside");
    device = dir.file(h.device);
    h.make(*this);
    std::string lock_before = look(lock), outside_before = look(outside);
    Bounded r = runBounded(5, [&] {
        if (h.outcome == Outcome::Opened)
            openSer(missing.c_str()); // its failure must not linger in the text
        int opened = openSer(device.c_str());
        std::fputs(portFailureText(), stdout);
        if (opened >= 0)
            closeSer(opened);
        return opened;
    });
    ASSERT_TRUE(r.finished) << "openSer hung";
    std::string told[] = {
        "", "Lockfile is stale. Overriding it..\n",
        "Device " + device + " is locked.\nDas Gerät \"" + device + "\"\nist von einem anderen Programm gesperrt:\n" +
            lock,
        "Das Gerät \"" + device + "\"\nkann nicht geöffnet werden:\n" + std::strerror(ENOENT),
        lock + ": " + std::strerror(ENOTDIR) + "\nCannot create lockfile. Sorry.\nDie Sperrdatei \"" + lock +
            "\"\nkann nicht angelegt werden:\n" + std::strerror(ENOTDIR)};
    EXPECT_EQ(r.out, told[int(h.outcome)]);
    EXPECT_EQ(r.result >= 0, h.outcome <= Outcome::Stale) << r.result;
    EXPECT_EQ(look(outside), outside_before);
    if (h.outcome == Outcome::Locked) {
        EXPECT_LT(r.seconds, 0.9);
        EXPECT_EQ(look(lock), lock_before);
    }
}

void linkOutside(Lock &t) { (void)!symlink(t.dir.file("outside").c_str(), t.lock.c_str()); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, LockPath,
    ::testing::Values(
        Hostile{"LiveLock", "dev/ttyS1", [](Lock &test) { writeFile(test.lock, ourLockText()); }, Outcome::Locked},
        // pid 1 is alive (refused as root's, or ours to signal): as text it locks.
        Hostile{"TextPidOfALiveProcess", "dev/ttyS1", [](Lock &test) { writeFile(test.lock, "  1\n"); }, Outcome::Locked},
        Hostile{"TextWithoutPid", "dev/ttyS1", [](Lock &test) { writeFile(test.lock, "  \n\n"); }, Outcome::Locked},
        Hostile{"BinaryPid", "dev/ttyS1", [](Lock &test) { writeFile(test.lock, "1\t\t\n"); }, Outcome::Stale},
        Hostile{"Fifo", "dev/ttyS1", [](Lock &test) { mkfifo(test.lock.c_str(), 0600); }, Outcome::Locked},
        Hostile{"Directory", "dev/ttyS1", [](Lock &test) { mkdir(test.lock.c_str(), 0700); }, Outcome::Locked},
        Hostile{"SymlinkToAStaleLock", "dev/ttyS1",
                [](Lock &test) {
                    writeFile(test.dir.file("outside"), deadPid() + "\n");
                    linkOutside(test);
                },
                Outcome::Locked},
        Hostile{"SymlinkToAFifo", "dev/ttyS1",
                [](Lock &test) {
                    mkfifo(test.dir.file("outside").c_str(), 0600);
                    linkOutside(test);
                },
                Outcome::Locked},
        Hostile{"MissingDevice", "dev/ttyS9", [](Lock &) {}, Outcome::NoDevice},
        Hostile{"LockDirIsAFile", "dev/ttyS1",
                [](Lock &test) {
                    writeFile(test.dir.file("file"), "");
                    setLockDir(test.dir.file("file").c_str());
                    test.lock = test.dir.file("file/LCK..ttyS1");
                },
                Outcome::NoLockFile},
        Hostile{"NoLockDir", "dev/ttyS1", [](Lock &test) { setLockDir(test.dir.file("none").c_str()); }, Outcome::Opened}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(Minisleep, UnitsOf1024Microseconds)
{
    struct {
        int units, repeat;
        double atLeast, below;
    } cases[] = {
        {20, 1, 0.0204, 0.2},
        {0, 1, 0, 0.05},          // a zero timer would never fire
        {1000, 1, 1.024, 1.3},    // more than a second of microseconds
        {1, 300, 0.3072, 3.0},    // many short sleeps never hang
    };
    for (const auto &c : cases) {
        auto t = Clock::now();
        for (int i = 0; i < c.repeat; i++)
            minisleep(c.units);
        double s = secondsSince(t);
        EXPECT_GE(s, c.atLeast) << c.units << " x " << c.repeat;
        EXPECT_LT(s, c.below) << c.units << " x " << c.repeat;
    }
}

volatile sig_atomic_t usr1_seen;
void onUsr1(int) { usr1_seen = 1; }

TEST(Minisleep, AnotherSignalDoesNotCutItShort)
{
    struct sigaction sa = {}, old;
    sa.sa_handler = onUsr1;
    sigaction(SIGUSR1, &sa, &old);
    usr1_seen = 0;
    pthread_t self = pthread_self();
    sigset_t alrm, prev;
    sigemptyset(&alrm);
    sigaddset(&alrm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alrm, &prev); // inherited by the thread: the timer is not its business
    std::thread poker([self] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        pthread_kill(self, SIGUSR1);
    });
    pthread_sigmask(SIG_SETMASK, &prev, nullptr);
    auto t = Clock::now();
    minisleep(100);
    double s = secondsSince(t);
    poker.join();
    sigaction(SIGUSR1, &old, nullptr);
    EXPECT_EQ(usr1_seen, 1);
    EXPECT_GE(s, 0.1024);
}

int entriesOf(const std::string &path)
{
    int count = 0;
    if (DIR *d = opendir(path.c_str())) {
        while (dirent *e = readdir(d))
            count += e->d_name[0] != '.';
        closedir(d);
    }
    return count;
}

struct NotALine {
    const char *name;
    std::string (*make)(const TempDir &dir); // the path given as the device
    const char *kind;
};

std::string regularFile(const TempDir &dir)
{
    writeFile(dir.file("pbx.cfg"), "Daten Konfigurator X");
    return dir.file("pbx.cfg");
}

const NotALine notLines[] = {
    {"RegularFile", regularFile, "eine gewöhnliche Datei"},
    {"LinkToARegularFile",
     [](const TempDir &dir) {
         (void)!symlink(regularFile(dir).c_str(), dir.file("ttyS0").c_str());
         return dir.file("ttyS0");
     },
     "eine gewöhnliche Datei"},
    {"Fifo",
     [](const TempDir &dir) {
         mkfifo(dir.file("fifo").c_str(), 0600);
         return dir.file("fifo");
     },
     "eine benannte Pipe (FIFO)"},
    {"Directory", [](const TempDir &dir) { return dir.path(); }, "ein Verzeichnis"},
    {"DeviceButNoTerminal", [](const TempDir &) { return std::string("/dev/null"); }, "ein Gerät, aber kein Terminal"},
};

// Not a byte reaches it, no lock stays, and the user hears what it is.
TEST_F(Lock, AnythingButATerminalIsRefusedUntouched)
{
    for (const NotALine &n : notLines) {
        SCOPED_TRACE(n.name);
        device = n.make(dir);
        std::string before = readFile(dir.file("pbx.cfg"));
        // A child with a time limit: a FIFO must not hang the open.
        Bounded r = runBounded(5, [&] {
            int opened = openSer(device.c_str());
            std::printf("%d|%s", int(portFailureCause()), portFailureText());
            return opened;
        });
        ASSERT_TRUE(r.finished) << "openSer hung";
        EXPECT_EQ(r.result, -1);
        EXPECT_EQ(r.out, std::to_string(int(PortFailure::NotTerminal)) + "|Das Gerät \"" + device +
                             "\"\nist keine serielle Schnittstelle:\nEs ist " + n.kind + ".");
        EXPECT_EQ(readFile(dir.file("pbx.cfg")), before);
        EXPECT_EQ(entriesOf(dir.file("lock")), 0) << "a lock left behind";
    }
}

// What the PBX (or a program before us) left on the line is not taken for
// the answer to our first command.
TEST_F(Lock, OpeningDiscardsWhatTheLineHeld)
{
    peer.send({4, 0x39, 0, 0, 4, 0x60, 0, 0});
    usleep(50000);
    ASSERT_EQ(openCapturing(), "");
    ASSERT_GE(fd, 0);
    pollfd p = {fd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 100), 0) << "the old bytes are still there";
}

// Eight programs started together, after a free line and after one whose lock
// a dead program left: exactly one gets the line, and its lock is its own.
TEST_F(Lock, OfEightProgramsExactlyOneGetsTheLine)
{
    std::string ptyLock = dir.file("lock/LCK.." + peer.slavePath().substr(peer.slavePath().rfind('/') + 1));
    for (const std::string &left : {std::string("-"), deadPid() + "\n"}) {
        SCOPED_TRACE(left == "-" ? "free line" : "stale lock");
        if (left != "-")
            writeFile(ptyLock, left);
        int go[2], told[2], release[2];
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(pipe(told), 0);
        ASSERT_EQ(pipe(release), 0);
        std::fflush(nullptr);
        std::vector<pid_t> children;
        for (int i = 0; i < 8; i++) {
            pid_t child = fork();
            if (child == 0) {
                ::close(go[1]);
                ::close(release[1]);
                char c;
                (void)!read(go[0], &c, 1); // all start at once
                (void)!freopen("/dev/null", "w", stderr);
                bool got = lockSer(peer.slavePath().c_str()) == 0;
                char verdict = got ? 'W' : 'L';
                (void)!write(told[1], &verdict, 1);
                if (got) { // holds the line until all have tried
                    (void)!read(release[0], &c, 1);
                    bool own = readFile(ptyLock).find(std::to_string(getpid())) != std::string::npos;
                    unlink(lockfile);
                    _exit(own ? 0 : 1);
                }
                _exit(0);
            }
            children.push_back(child);
        }
        ::close(go[0]);
        ::close(told[1]);
        ::close(release[0]);
        ::close(go[1]); // go
        std::string verdicts;
        char c;
        while (verdicts.size() < 8) {
            pollfd p = {told[0], POLLIN, 0};
            if (poll(&p, 1, 15000) <= 0 || read(told[0], &c, 1) != 1)
                break;
            verdicts += c;
        }
        ::close(release[1]);
        int failures = 0;
        for (pid_t child : children) {
            int status = 0;
            waitpid(child, &status, 0);
            failures += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        }
        ::close(told[0]);
        EXPECT_EQ(verdicts.size(), 8u);
        EXPECT_EQ(std::count(verdicts.begin(), verdicts.end(), 'W'), 1) << verdicts;
        EXPECT_EQ(failures, 0) << "the one that got the line found another's pid in the lock";
        EXPECT_NE(access(ptyLock.c_str(), F_OK), 0);
    }
}

// A line that hangs up fails every write at once (EIO is no byte sent); one
// that never takes a byte fails within the byte time.
TEST(Device, WritesTheLineRefusesFailTheFrame)
{
    struct {
        const char *name;
        int (*send)(int fd);
    } sends[] = {
        {"command", [](int fd) { return write_cmd(fd, K_BEGIN_READ, 0); }},
        {"data frame",
         [](int fd) {
             static const unsigned char payload[50] = {};
             return send_data(fd, K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50);
         }},
        {"synchronisation", [](int fd) { return int(synchronize(fd)); }},
    };
    setByteTimeoutMs(200);
    setFramePause([] {});
    for (const char *state : {"hung up", "full"}) {
        for (const auto &s : sends) {
            SCOPED_TRACE(std::string(state) + ", " + s.name);
            HandLine line;
            if (std::string(state) == "hung up") {
                line.peer.reset();
            } else {
                // The pty moves what it holds on to the far side's buffer a
                // moment later, which makes room again: full only once a
                // second filling after a pause takes nothing.
                Bytes junk(1024, 0x55);
                for (bool took = true; took;) {
                    took = false;
                    while (write(line.fd, junk.data(), junk.size()) > 0)
                        took = true;
                    usleep(20000);
                }
            }
            auto t = Clock::now();
            EXPECT_EQ(s.send(line.fd), 0);
            EXPECT_LT(secondsSince(t), 0.6);
        }
    }
}

// poll() knows no FD_SETSIZE: a program with many files open still talks.
TEST(Device, DescriptorBeyondFdSetSizeWorks)
{
    rlimit lim;
    getrlimit(RLIMIT_NOFILE, &lim);
    if (lim.rlim_max < 2000)
        GTEST_SKIP() << "no descriptor 1500 to be had";
    Line line;
    ASSERT_GE(line.open(), 0);
    Bounded r = runBounded(10, [&] {
        rlimit more = lim;
        more.rlim_cur = std::max<rlim_t>(lim.rlim_cur, 2000);
        if (setrlimit(RLIMIT_NOFILE, &more) != 0 || dup2(line.fd, 1500) != 1500)
            return 2;
        return sendBOTR(1500) == 1 && isOK(1500) == ANS_OK ? 0 : 1;
    });
    ASSERT_TRUE(r.finished) << r.out;
    EXPECT_EQ(r.result, 0) << "2: no descriptor 1500 to be had; " << r.out;
}

} // namespace
