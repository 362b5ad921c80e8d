// The line against what users and other programs do: something else given as
// the device, a line still holding bytes, eight programs after one stale
// lock, a line that hangs up or fills, a descriptor beyond FD_SETSIZE.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"
#include "support/bounded.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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
    std::string (*make)(TempDir &dir); // the path given as the device
    const char *kind;
};

std::string regularFile(TempDir &dir)
{
    writeFile(dir.file("pbx.cfg"), "Daten Konfigurator X");
    return dir.file("pbx.cfg");
}

const NotALine notLines[] = {
    {"RegularFile", regularFile, "eine gewöhnliche Datei"},
    {"LinkToARegularFile",
     [](TempDir &dir) {
         (void)!symlink(regularFile(dir).c_str(), dir.file("ttyS0").c_str());
         return dir.file("ttyS0");
     },
     "eine gewöhnliche Datei"},
    {"Fifo",
     [](TempDir &dir) {
         mkfifo(dir.file("fifo").c_str(), 0600);
         return dir.file("fifo");
     },
     "eine benannte Pipe (FIFO)"},
    {"Directory", [](TempDir &dir) { return dir.path(); }, "ein Verzeichnis"},
    {"DeviceButNoTerminal", [](TempDir &) { return std::string("/dev/null"); }, "ein Gerät, aber kein Terminal"},
};

// Not a byte reaches it, no lock stays, and the user hears what it is.
TEST(Device, AnythingButATerminalIsRefusedUntouched)
{
    for (const NotALine &n : notLines) {
        SCOPED_TRACE(n.name);
        TempDir dir;
        mkdir(dir.file("lock").c_str(), 0755);
        setLockDir(dir.file("lock").c_str());
        std::string device = n.make(dir);
        std::string before = readFile(dir.file("pbx.cfg"));
        // A child with a time limit: a FIFO must not hang the open.
        Bounded r = runBounded(5, [&] {
            int fd = openSer(device.c_str());
            std::printf("%d|%s", int(portFailureCause()), portFailureText());
            return fd;
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
TEST(Device, OpeningDiscardsWhatTheLineHeld)
{
    PtyPeer peer;
    peer.send({4, 0x39, 0, 0, 4, 0x60, 0, 0});
    usleep(50000);
    TempDir dir;
    setLockDir(dir.file("none").c_str());
    int fd = openSer(peer.slavePath().c_str());
    ASSERT_GE(fd, 0);
    pollfd p = {fd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 100), 0) << "the old bytes are still there";
    closeSer(fd);
}

// Eight programs started together, after a free line and after one whose lock
// a dead program left: exactly one gets the line, and its lock is its own.
TEST(Device, OfEightProgramsExactlyOneGetsTheLine)
{
    PtyPeer peer;
    TempDir dir;
    mkdir(dir.file("lock").c_str(), 0755);
    setLockDir(dir.file("lock").c_str());
    std::string lock = dir.file("lock/LCK.." + peer.slavePath().substr(peer.slavePath().rfind('/') + 1));
    pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    for (const std::string &left : {std::string("-"), std::to_string(dead) + "\n"}) {
        SCOPED_TRACE(left == "-" ? "free line" : "stale lock");
        if (left != "-")
            writeFile(lock, left);
        int go[2], told[2], release[2];
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(pipe(told), 0);
        ASSERT_EQ(pipe(release), 0);
        std::fflush(nullptr);
        std::vector<pid_t> children;
        for (int i = 0; i < 8; i++) {
            pid_t child = fork();
            if (child == 0) {
                close(go[1]);
                close(release[1]);
                char c;
                (void)!read(go[0], &c, 1); // all start at once
                (void)!freopen("/dev/null", "w", stderr);
                bool got = lockSer(peer.slavePath().c_str()) == 0;
                char verdict = got ? 'W' : 'L';
                (void)!write(told[1], &verdict, 1);
                if (got) { // holds the line until all have tried
                    (void)!read(release[0], &c, 1);
                    bool own = readFile(lock).find(std::to_string(getpid())) != std::string::npos;
                    unlink(lockfile);
                    _exit(own ? 0 : 1);
                }
                _exit(0);
            }
            children.push_back(child);
        }
        close(go[0]);
        close(told[1]);
        close(release[0]);
        close(go[1]); // go
        std::string verdicts;
        char c;
        while (verdicts.size() < 8) {
            pollfd p = {told[0], POLLIN, 0};
            if (poll(&p, 1, 15000) <= 0 || read(told[0], &c, 1) != 1)
                break;
            verdicts += c;
        }
        close(release[1]);
        int failures = 0;
        for (pid_t child : children) {
            int status = 0;
            waitpid(child, &status, 0);
            failures += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        }
        close(told[0]);
        EXPECT_EQ(verdicts.size(), 8u);
        EXPECT_EQ(std::count(verdicts.begin(), verdicts.end(), 'W'), 1) << verdicts;
        EXPECT_EQ(failures, 0) << "the one that got the line found another's pid in the lock";
        EXPECT_NE(access(lock.c_str(), F_OK), 0);
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
                Bytes junk(1024, 0x55);
                while (write(line.fd, junk.data(), junk.size()) > 0) {
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
