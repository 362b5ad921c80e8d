// The PBX on another machine: the program against the real ser2net serving
// the simulator's pty (support/ser2net_line.h), and against a made-up server
// for the answers ser2net never gives.
#include <gtest/gtest.h>

#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "link/rfc2217.h"
#include "link/serial.h"
#include "link/trace.h"
#include "support/bounded.h"
#include "support/recording.h"
#include "support/ser2net_line.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

#define SERVE_OR_SKIP(line)                                                                                       \
    do {                                                                                                           \
        if (ser2netBinary().empty())                                                                               \
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh)";                                          \
        std::string why_;                                                                                          \
        ASSERT_TRUE((line).serve(&why_)) << why_;                                                                  \
    } while (0)

// 0xFF in lists the read brings in and the programming sends back: telnet's
// IAC, which must be doubled on the wire both ways.
pbxsim::State withIacBytes()
{
    pbxsim::State s = pbxsim::defaultState();
    s.rufnr[3] = 0xFF;
    s.rufnr[4] = 0xFF;
    s.anldat[7] = 0xFF;
    s.ports[1][20] = 0xFF;
    return s;
}

// What comes on fd within ms (a quiet gap of ms ends it).
std::string drain(int fd, int ms)
{
    std::string got;
    pollfd p = {fd, POLLIN, 0};
    char buf[512];
    ssize_t n;
    while (poll(&p, 1, ms) > 0 && (n = read(fd, buf, sizeof buf)) > 0)
        got.append(buf, std::size_t(n));
    return got;
}

// A socket listening on a free loopback port (its number in *port) with room
// for backlog connections in its queue.
int listenLocal(int backlog, int *port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) != 0 || listen(fd, backlog) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(a.sin_port);
    return fd;
}

std::string localDevice(int port) { return "rfc2217://127.0.0.1:" + std::to_string(port); }

struct Both {
    TransferResult read, program;
    std::vector<pbxsim::Byte> fromProgram, toProgram;
    std::vector<unsigned char> image;
    std::string trace;
};

Both readThenProgram(Ser2netLine &line, const std::string &device, const pbxsim::State &pbx)
{
    Both r;
    line.sim.setState(pbx);
    line.sim.clearLogs();
    std::memset(all, 0, rec::PbxImageSize);
    setDevicePath(device.c_str());
    std::string trace = line.dir.file(device == line.device ? "trace-pty" : "trace-net");
    setDebugFilePath(trace.c_str());
    openTrace(3);
    Recording seen;
    r.read = readConfiguration(seen, all);
    r.image.assign(all, all + rec::PbxImageSize);
    r.program = writeConfiguration(seen, all);
    closeTrace();
    r.fromProgram = line.sim.received();
    // Its answers as logged before they went out: sent() may still lack the
    // last one when the program has read it.
    for (const pbxsim::Frame &f : line.sim.frames())
        if (f.dir == '>')
            r.toProgram.insert(r.toProgram.end(), f.bytes.begin(), f.bytes.end());
    r.trace = readFile(trace);
    return r;
}

TEST(Ser2net, ReadAndProgramGoByteForByteAsOnThePtyAtTheSettingsTheProgramAsked)
{
    Ser2netLine line(withIacBytes());
    SERVE_OR_SKIP(line);
    setFramePause([] {});

    // A client that sets nothing finds the line as ser2net was told to set it.
    int raw = connectLocal(line.port);
    ASSERT_GE(raw, 0);
    const unsigned char begin[] = {5, 98, 0, 0, 0};
    ASSERT_EQ(write(raw, begin, sizeof begin), ssize_t(sizeof begin));
    EXPECT_NE(drain(raw, 300).find(std::string("\x04\x60\x00\x00", 4)), std::string::npos);
    close(raw);
    EXPECT_EQ(line.sim.lineSettings(), "9600 8N1 no flow control");

    Both net = readThenProgram(line, line.netDevice(), withIacBytes());
    EXPECT_EQ(line.sim.lineSettings(), "4800 8N2 RTS/CTS");
    std::string log = readFile(line.dir.file("pbx.log"));
    EXPECT_NE(log.find("# line 9600 8N1 no flow control\n< 05 62 00 00 00\n"), std::string::npos) << log;
    EXPECT_NE(log.find("# line 4800 8N2 RTS/CTS\n< 05 62 00 00 00\n"), std::string::npos) << log;
    line.killServer(); // it would read the pty too
    Both pty = readThenProgram(line, line.device, withIacBytes());

    EXPECT_EQ(net.read, TransferResult::Done);
    EXPECT_EQ(net.program, TransferResult::Done);
    EXPECT_EQ(pty.program, TransferResult::Done);
    EXPECT_TRUE(net.image == imageOf(withIacBytes())) << "the record read over the network";
    EXPECT_TRUE(net.image == pty.image);
    EXPECT_GE(std::count(net.fromProgram.begin(), net.fromProgram.end(), 0xFF), 3) << "programmed 0xFF bytes";
    EXPECT_TRUE(net.fromProgram == pty.fromProgram) << "what the PBX got";
    EXPECT_TRUE(net.toProgram == pty.toProgram) << "what the PBX sent: " << net.toProgram.size() << " bytes, on the pty "
                                                << pty.toProgram.size();
    EXPECT_EQ(net.trace, pty.trace) << "the trace (-D 3)";
    EXPECT_NE(access(line.netLockPath().c_str(), F_OK), 0) << "lock left behind";
}

// A port that will not open over the network, and why the user is told.
TEST(Ser2net, APortThatWillNotOpenSaysWhyWithAdviceAndSendsNothing)
{
    Ser2netLine line;
    SERVE_OR_SKIP(line);
    setByteTimeoutMs(200);
    pid_t holder = fork();
    if (holder == 0) {
        execlp("sleep", "sleep", "30", static_cast<char *>(nullptr));
        _exit(127);
    }
    int other = -1;
    std::string unused = localDevice(freeLocalPort());
    // A server too busy to take a connection: its queue holds one already, so
    // the kernel drops the next one's SYN and the connect hangs.
    int fullPort = 0;
    int full = listenLocal(0, &fullPort);
    ASSERT_GE(full, 0);
    int queued = connectLocal(fullPort);
    std::string silent = localDevice(fullPort);
    const struct {
        const char *name;
        std::string device;
        std::function<void()> before;
        std::string port; // text|advice|argument
    } cases[] = {
        {"nobody listens", unused, [] {},
         "Das Gerät \"" + unused + "\"\nist nicht erreichbar:\nDer Rechner nimmt an diesem Port keine Verbindung an.|" +
             advice::NoConnection + "|" + unused},
        {"the server takes no connection", silent, [] {},
         "Das Gerät \"" + silent + "\"\nist nicht erreichbar:\nDer Rechner antwortet nicht.|" + advice::NoConnection +
             "|" + silent},
        {"no port named", "rfc2217://127.0.0.1", [] {},
         "Das Gerät \"rfc2217://127.0.0.1\"\nist nicht erreichbar:\nDie Form ist rfc2217://RECHNER:PORT.|" +
             std::string(advice::NoConnection) + "|rfc2217://127.0.0.1"},
        {"another client at the server", line.netDevice(),
         [&] {
             other = connectLocal(line.port);
             drain(other, 200); // ser2net's options: it has the line open for that client
         },
         "Das Gerät \"" + line.netDevice() +
             "\"\nist belegt:\nDer Server hat die Verbindung gleich wieder beendet: er lässt nur eine Verbindung zu, "
             "und die hat ein anderes Programm.|" +
             advice::Busy + "|einer anderen Verbindung zum Server"},
        {"another program here", line.netDevice(),
         [&] {
             close(other);
             writeFile(line.netLockPath(), std::to_string(holder) + " kelvoractl\n");
         },
         "Das Gerät \"" + line.netDevice() + "\"\nist von einem anderen Programm gesperrt:\n" + line.netLockPath() +
             "|" + advice::Busy + "|Prozess " + std::to_string(holder) + " (sleep)"},
    };
    for (const auto &c : cases) {
        c.before();
        line.sim.clearLogs();
        setDevicePath(c.device.c_str());
        Recording seen;
        auto start = Clock::now();
        EXPECT_EQ(readConfiguration(seen, all), TransferResult::NoPort) << c.name;
        EXPECT_LT(secondsSince(start), 1.5) << c.name;
        EXPECT_EQ(seen.port, c.port) << c.name;
        EXPECT_EQ(seen.end, "") << c.name;
        EXPECT_TRUE(line.sim.received().empty()) << c.name;
    }
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(queued);
    close(full);
    EXPECT_TRUE(readFile(line.netLockPath()).find("kelvoractl") != std::string::npos) << "another's lock kept";
}

TEST(Ser2net, ServerKilledMidTransferEndsItAsALostConnection)
{
    Ser2netLine line;
    SERVE_OR_SKIP(line);
    setFramePause([] {});
    line.sim.setBaud(4800); // as slow as the real line, so there is a midst to kill it in
    std::string device = line.netDevice(); // the record keeps the pointer
    setDevicePath(device.c_str());
    Clock::time_point killed{};
    std::atomic<bool> done{false};
    std::thread killer([&] {
        if (line.sim.waitForFrames(8, 10000) && !done) {
            killed = Clock::now();
            line.killServer();
        }
    });
    Recording seen;
    TransferResult result = readConfiguration(seen, all);
    done = true;
    killer.join();
    ASSERT_NE(killed, Clock::time_point{}) << "the transfer ended before the server was killed: " << seen.port
                                           << seen.end;
    EXPECT_LT(secondsSince(killed), 1.5) << "gave up as fast as on a dead local line";
    EXPECT_EQ(result, TransferResult::Failed);
    std::string end = seen.end.substr(seen.end.find('|') + 1);
    EXPECT_EQ(end, "Uebertragungs-Fehler|" + std::string(advice::ConnectionLost) + "|" + line.netDevice());
    EXPECT_NE(access(line.netLockPath().c_str(), F_OK), 0) << "lock left behind";
    EXPECT_EQ(builtinAdvice(advice::ConnectionLost, line.netDevice()),
              "Die Verbindung zu " + line.netDevice() +
                  " ist abgebrochen: Netz und Server prüfen, dann die Übertragung wiederholen.");
}

// ---------------------------------------------------------------- a server of our own

// Answers the telnet side as told, never passes data on.
class FakeServer {
public:
    // answer(command, value) gives the value to answer a setting with; -1: none.
    FakeServer(bool agree, std::function<int(int, long)> answer) : agree_(agree), answer_(std::move(answer))
    {
        listen_ = listenLocal(1, &port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeServer()
    {
        shutdown(listen_, SHUT_RDWR);
        thread_.join();
        close(listen_);
    }
    int port = 0;

private:
    void serve()
    {
        int fd = accept(listen_, nullptr, nullptr);
        if (fd < 0)
            return;
        std::string in;
        pollfd p = {fd, POLLIN, 0};
        char buf[256];
        ssize_t n;
        bool told = false;
        while (poll(&p, 1, 2000) > 0 && (n = read(fd, buf, sizeof buf)) > 0) {
            in.append(buf, std::size_t(n));
            std::string out;
            if (!told && in.find("\xFF\xFB\x2C") != std::string::npos) {
                out += agree_ ? "\xFF\xFD\x2C" : "\xFF\xFE\x2C";
                told = true;
            }
            // Each complete IAC SB 44 <command> <value> IAC SE.
            for (std::size_t at; (at = in.find("\xFF\xFA\x2C")) != std::string::npos;) {
                std::size_t end = in.find("\xFF\xF0", at);
                if (end == std::string::npos)
                    break;
                int command = static_cast<unsigned char>(in[at + 3]);
                long value = 0;
                for (std::size_t i = at + 4; i < end; i++)
                    value = value << 8 | static_cast<unsigned char>(in[i]);
                int reply = answer_(command, value);
                if (reply >= 0) {
                    out += std::string("\xFF\xFA\x2C", 3) + char(command + 100);
                    if (command == 1)
                        out += std::string({char(reply >> 24), char(reply >> 16), char(reply >> 8), char(reply)});
                    else
                        out += char(reply);
                    out += "\xFF\xF0";
                }
                in.erase(0, end + 2);
            }
            if (!out.empty() && write(fd, out.data(), out.size()) < 0)
                break;
        }
        close(fd);
    }

    bool agree_;
    std::function<int(int, long)> answer_;
    int listen_ = -1;
    std::thread thread_;
};

TEST(Rfc2217, ASettingTheServerRefusesOrIgnoresFailsTheOpen)
{
    TempDir dir;
    setByteTimeoutMs(100);
    auto echo = [](int, long value) { return int(value); };
    const struct {
        const char *name;
        bool agree;
        std::function<int(int, long)> answer;
        const char *detail;
    } cases[] = {
        {"COM-PORT refused", false, echo, "Der Server lehnt die COM-PORT-Option (RFC 2217) ab."},
        {"baud rate kept", true, [](int c, long v) { return c == 1 ? 9600 : int(v); },
         "Der Server lehnt die Einstellung ab: Baudrate 4800 verlangt, 9600 gemeldet."},
        {"parity even", true, [](int c, long v) { return c == 3 ? 3 : int(v); },
         "Der Server lehnt die Einstellung ab: Parität 1 verlangt, 3 gemeldet."},
        {"no flow control", true, [](int c, long v) { return c == 5 ? 1 : int(v); },
         "Der Server lehnt die Einstellung ab: Flusssteuerung 3 verlangt, 1 gemeldet."},
        {"stop bits ignored", true, [](int c, long v) { return c == 4 ? -1 : int(v); },
         "Der Server antwortet nicht auf die Einstellung: Stoppbits."},
        {"all agreed", true, echo, ""},
    };
    for (const auto &c : cases) {
        FakeServer server(c.agree, c.answer);
        NetOpened net = netOpen(localDevice(server.port), std::chrono::milliseconds(300));
        EXPECT_EQ(net.detail, c.detail) << c.name;
        EXPECT_EQ(net.failure, *c.detail ? NetFailure::Settings : NetFailure::None) << c.name;
        EXPECT_EQ(net.fd >= 0, !*c.detail) << c.name;
        if (net.fd >= 0)
            netClose(net.fd);
    }
    // And as the user hears of it.
    FakeServer refusing(false, echo);
    std::string device = localDevice(refusing.port);
    setDevicePath(device.c_str());
    Recording seen;
    EXPECT_EQ(readConfiguration(seen, all), TransferResult::NoPort);
    EXPECT_EQ(seen.port, "Das Gerät \"" + device +
                             "\"\nlässt sich nicht einstellen:\nDer Server lehnt die COM-PORT-Option (RFC 2217) ab.|" +
                             advice::NoRemoteSettings + "|" + device);
}

TEST(Rfc2217, DeviceNames)
{
    const struct {
        const char *device;
        const char *name; // "" not a network device
    } cases[] = {
        {"rfc2217://pi.local:3001", "pi.local_3001"}, {"rfc2217://[::1]:2000", "::1_2000"},
        {"rfc2217://10.0.0.7:65535", "10.0.0.7_65535"}, {"rfc2217://pi.local", ""},
        {"rfc2217://::1:2000", ""},   {"rfc2217://pi:0", ""},
        {"rfc2217://pi:65536", ""},   {"rfc2217://pi:30x", ""},
        {"rfc2217://a/b:1", ""},      {"/dev/ttyS0", ""},
        {"RFC2217://pi:1", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(netDeviceName(c.device), c.name) << c.device;
}

// ---------------------------------------------------------------- 50 ms away

// The read 50 ms away: in a network namespace of its own with netem on its
// loopback device where the kernel has both, else through the relay above.
TEST(Ser2net, AReadFiftyMillisecondsAwayFinishes)
{
    if (ser2netBinary().empty())
        GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh)";
    constexpr int NoNetem = 77;
    Bounded inNamespace = runBounded(60, [] {
        if (unshare(CLONE_NEWNET) != 0 || std::system("ip link set lo up 2>/dev/null") != 0 ||
            std::system("tc qdisc add dev lo root netem delay 50ms 2>/dev/null") != 0)
            return NoNetem;
        Ser2netLine line(withIacBytes());
        std::string why;
        if (!line.serve(&why))
            return 2;
        std::string device = line.netDevice(); // the record keeps the pointer
        setDevicePath(device.c_str());
        Recording seen;
        return readConfiguration(seen, all) == TransferResult::Done && std::equal(all, all + rec::PbxImageSize,
                                                                             imageOf(withIacBytes()).begin())
                   ? 0
                   : 1;
    });
    ASSERT_TRUE(inNamespace.finished) << inNamespace.out;
    if (inNamespace.result != NoNetem) {
        EXPECT_EQ(inNamespace.result, 0) << inNamespace.out;
        return;
    }
    std::printf("no network namespace with netem here: the delay comes from a relay\n");
    Ser2netLine line(withIacBytes());
    SERVE_OR_SKIP(line);
    DelayRelay far(line.port, std::chrono::milliseconds(50));
    std::string device = "rfc2217://127.0.0.1:" + std::to_string(far.port);
    setDevicePath(device.c_str());
    Recording seen;
    auto start = Clock::now();
    EXPECT_EQ(readConfiguration(seen, all), TransferResult::Done) << seen.end;
    double took = secondsSince(start);
    EXPECT_EQ(seen.end, "ok");
    EXPECT_TRUE(std::equal(all, all + rec::PbxImageSize, imageOf(withIacBytes()).begin()));
    // 15 frames, each answered 100 ms later than on the line, and the set-up's round trips.
    EXPECT_GT(took, 1.5);
    std::printf("read through 50 ms each way: %.2f s\n", took);
}

} // namespace
