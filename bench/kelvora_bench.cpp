// Measures kelvora against its budgets: start-up time and memory of the real
// binary, and every transfer -- in-process as the window runs it, and by the
// real kelvoractl as a child -- against pbxsim pacing a 4800-baud line.  Needs
// an X display for the window's part (scripts/bench.sh).
#include "app/app.h"
#include "charges/calltransfer.h"
#include "charges/counters.h"
#include "charges/outcalls.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "pbxsim/pbxsim.h"
#include "speeddial/kwz.h"
#include "support/net_relay.h"
#include "speeddial/kwztransfer.h"
#include "ui/bind.h"
#include "ui/transferwindow.h"
#include "ui/safetynet.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Byte = std::uint8_t;

constexpr const char *MainTitle = "Ostrale 18x/Dorvan ISx Konfigurator";
constexpr long Baud = 4800;
constexpr double ByteTime = 11.0 / Baud;              // start bit, 8 data bits, 2 stop bits
constexpr double Pause = PauseUnits * 1024 / 1e6;     // after every frame the program sends
constexpr int StartRuns = 10;
constexpr int TransferRuns = 3;
constexpr int CallRuns = 2;      // a full memory of outgoing calls takes about a minute
constexpr int ListFillRuns = 20;
constexpr int FarOneWayMs = 25; // the network 50 ms away: a 50 ms round trip
constexpr int SetUpRoundTrips = 2; // a network device's option agreement and settings

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// ---------------------------------------------------------------- start-up

struct StartUp {
    double seconds;
    long rssKb, hwmKb;
};

long statusKb(pid_t pid, const char *field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

bool isMainWindowOf(Display *dpy, Window w, const std::string &device)
{
    char *name = nullptr;
    bool titled = XFetchName(dpy, w, &name) && name && std::strcmp(name, MainTitle) == 0;
    if (name)
        XFree(name);
    if (!titled)
        return false;
    char **argv = nullptr;
    int argc = 0;
    bool ours = XGetCommand(dpy, w, &argv, &argc) && argc > 0 && device == argv[argc - 1];
    if (argv)
        XFreeStringList(argv);
    return ours;
}

int ignoreErrors(Display *, XErrorEvent *) { return 0; }

// Starts the real binary and waits for its main window to be mapped; the
// device is only a name here (kelvora opens it for a transfer only).
bool measureStart(Display *dpy, const std::string &device, const std::vector<std::string> &options, StartUp *out)
{
    std::vector<std::string> args = {KELVORA_BINARY};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(device);
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execv(KELVORA_BINARY, argv.data());
        _exit(127);
    }
    bool mapped = false;
    auto deadline = start + std::chrono::seconds(20);
    while (!mapped && Clock::now() < deadline) {
        while (!mapped && XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && isMainWindowOf(dpy, ev.xmap.window, device)) {
                out->seconds = seconds(Clock::now() - start);
                mapped = true;
            }
        }
        if (!mapped) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(dpy), &fds);
            struct timeval tv = {0, 100000};
            select(ConnectionNumber(dpy) + 1, &fds, nullptr, nullptr, &tv);
        }
    }
    if (mapped) {
        // Let it draw the window and go idle before looking at its memory.
        usleep(500000);
        out->rssKb = statusKb(pid, "VmRSS:");
        out->hwmKb = statusKb(pid, "VmHWM:");
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSelectInput(dpy, DefaultRootWindow(dpy), NoEventMask);
    return mapped;
}

// ---------------------------------------------------------------- transfers

// What the program sent, cut into frames and zero runs.
struct Item {
    bool frame;
    std::size_t length;
};

std::vector<Item> itemsOf(const std::vector<Byte> &bytes)
{
    std::vector<Item> items;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == 0) {
            std::size_t n = 0;
            while (i < bytes.size() && bytes[i] == 0)
                i++, n++;
            items.push_back({false, n});
        } else {
            std::size_t n = std::min<std::size_t>(bytes[i], bytes.size() - i);
            items.push_back({true, n});
            i += n;
        }
    }
    return items;
}

// The time a transfer takes on the line with a program that needs no time
// itself: every byte takes 11 bits at 4800 baud; a frame reaches the PBX when
// its last byte has; the PBX answers then, on the other wire; after handing a
// frame and its padding to the line the program pauses 20.48 ms and then
// waits for the answer; a synchronisation run is handed to the line without
// a pause.  Bytes queue on each wire, so a frame sent after padding or a
// synchronisation run starts when they are through.
struct LineModel {
    double critical = 0; // the time the line needs (as above)
    double naive = 0;    // every byte and every pause one after the other
    std::size_t bytesOut = 0, bytesIn = 0, frames = 0;
};

LineModel lineModel(const std::vector<Byte> &received, const std::vector<pbxsim::Frame> &frames)
{
    std::vector<std::size_t> answers;
    for (const pbxsim::Frame &f : frames)
        if (f.dir == '>')
            answers.push_back(f.bytes.size());
    LineModel m;
    double t = 0, in = 0, out = 0; // the program's clock; when each wire is free
    std::size_t answer = 0;
    std::size_t padding = 0;       // still owed after the last frame
    for (const Item &item : itemsOf(received)) {
        if (!item.frame) {
            // Padding follows its frame; the rest of a run is a synchronisation.
            std::size_t pad = std::min(padding, item.length);
            padding = 0;
            std::size_t sync = item.length - pad;
            m.bytesOut += item.length;
            in += pad * ByteTime; // queued behind the frame before the program paused
            in = std::max(in, t) + sync * ByteTime;
            continue;
        }
        m.bytesOut += item.length;
        m.frames++;
        double arrived = std::max(in, t) + item.length * ByteTime;
        in = arrived;
        padding = item.length > 5 ? PaddingBytes : 0;
        double pauseEnd = t + Pause;
        std::size_t a = answer < answers.size() ? answers[answer++] : 0;
        m.bytesIn += a;
        out = std::max(out, arrived) + a * ByteTime;
        t = std::max(pauseEnd, out);
    }
    m.critical = t;
    m.naive = (m.bytesOut + m.bytesIn) * ByteTime + m.frames * Pause;
    return m;
}

struct Transfer {
    double wall, cpu;
    LineModel line;
};

double threadCpu()
{
    struct rusage ru;
    getrusage(RUSAGE_THREAD, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

Transfer measureTransfer(pbxsim::Simulator &sim, void (*transfer)(Widget, XtPointer, XtPointer))
{
    sim.clearLogs();
    double cpu0 = threadCpu();
    auto start = Clock::now();
    transfer(nullptr, nullptr, nullptr);
    Transfer r;
    r.wall = seconds(Clock::now() - start);
    r.cpu = threadCpu() - cpu0; // this thread only: pbxsim answers in its own
    r.line = lineModel(sim.received(), sim.frames());
    return r;
}

// The subscriber transfers as the dialog starts them, with the main window as
// the parent of their working dialog.
void tlnRead(Widget, XtPointer, XtPointer) { readTlnConfig(toplevel); }
void tlnWrite(Widget, XtPointer, XtPointer) { writeTlnConfig(toplevel); }

// The counters and the incoming calls as their dialogs read them (the window's
// observer under the main window); the dialogs only fill their lists after.
void countersRead(Widget, XtPointer, XtPointer)
{
    std::int32_t counters[ChargeCounters];
    WindowObserver observer(toplevel);
    readChargeCounters(counters, observer);
}
std::vector<unsigned char> incomingStore;
void incomingRead(Widget, XtPointer, XtPointer)
{
    WindowObserver observer(toplevel);
    readCalls(incomingCalls, incomingStore, observer);
}

// kelvoractl as a shell runs it, standard error no terminal: from fork to its
// exit, its own user and system time.  False when it did not exit with 0.
bool measureCtl(pbxsim::Simulator &sim, const std::vector<std::string> &args, Transfer *r)
{
    sim.clearLogs();
    std::vector<std::string> argv = {KELVORACTL_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char *> av;
    for (std::string &a : argv)
        av.push_back(a.data());
    av.push_back(nullptr);
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execv(av[0], av.data());
        _exit(127);
    }
    int status = 0;
    struct rusage ru = {};
    wait4(pid, &status, 0, &ru);
    r->wall = seconds(Clock::now() - start);
    r->cpu = ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    r->line = lineModel(sim.received(), sim.frames());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The floor for a reader that waits for every byte of the same exchange:
// the read's commands and their answers, one select() and one read() a byte,
// nothing else.  What a wake-up costs varies a lot on a shared machine.
Transfer measureBareRead(pbxsim::Simulator &sim, const std::string &device)
{
    sim.clearLogs();
    int fd = open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY);
    auto byte = [fd]() -> int {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        struct timeval tv = {1, 0};
        unsigned char c;
        if (select(fd + 1, &set, nullptr, nullptr, &tv) <= 0 || read(fd, &c, 1) != 1)
            return -1;
        return c;
    };
    auto exchange = [&](int code, int index) {
        unsigned char frame[5] = {5, Byte(code), 0, 0, Byte(index)};
        if (write(fd, frame, sizeof frame) != ssize_t(sizeof frame))
            return;
        int length = byte();
        for (int i = 1; i < length; i++)
            byte();
    };
    double cpu0 = threadCpu();
    auto start = Clock::now();
    exchange(98, 0);
    const int reads[][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0},
                            {3, 0}, {4, 0}, {6, 0}, {5, 0}, {10, 0}, {64, 0}};
    for (const auto &r : reads)
        exchange(r[0], r[1]);
    exchange(99, 0);
    Transfer t;
    t.wall = seconds(Clock::now() - start);
    t.cpu = threadCpu() - cpu0;
    close(fd);
    t.line = lineModel(sim.received(), sim.frames());
    return t;
}

void printTransfer(const char *what, const std::vector<Transfer> &runs)
{
    std::vector<double> walls, ratios, cpus, shares;
    for (const Transfer &t : runs) {
        walls.push_back(t.wall);
        ratios.push_back(t.wall / t.line.critical);
        cpus.push_back(t.cpu);
        shares.push_back(t.cpu / t.wall);
    }
    const Transfer &t = runs.front();
    bool within = (median(ratios) - 1) * 100 <= 1.0 && median(shares) * 100 <= 1.0;
    std::printf("%-22s %8.3f s %8.3f s %+7.2f %% %8.3f s %7.1f ms %6.2f %%%s\n", what, median(walls), t.line.critical,
                (median(ratios) - 1) * 100, t.line.naive, median(cpus) * 1000, median(shares) * 100,
                within ? "" : "  over budget");
    std::printf("%-22s   %zu frames, %zu bytes out (zero runs included), %zu bytes in; worst run %+.2f %%, %.2f %%\n",
                "", t.line.frames, t.line.bytesOut, t.line.bytesIn,
                (*std::max_element(ratios.begin(), ratios.end()) - 1) * 100,
                *std::max_element(shares.begin(), shares.end()) * 100);
}

// The same over the network further away: its line time plus a round trip for
// each frame and for the connection's set-up may take 1 % more.
void printFarTransfer(const char *what, const std::vector<Transfer> &runs, double roundTrip)
{
    std::vector<double> walls, added;
    const Transfer &t = runs.front();
    double network = double(t.line.frames + SetUpRoundTrips) * roundTrip;
    for (const Transfer &r : runs) {
        walls.push_back(r.wall);
        added.push_back((r.wall - network) / r.line.critical);
    }
    bool within = (median(added) - 1) * 100 <= 1.0;
    std::printf("%-22s %8.3f s %8.3f s %+7.2f %% %8.3f s%s\n", what, median(walls), t.line.critical,
                (median(added) - 1) * 100, network, within ? "" : "  over budget");
}

// The configuration read and the 1000 outgoing calls with the PBX behind
// ser2net on loopback, and once more through a relay that puts it 50 ms (a
// round trip) away.  The simulator holds the 1000 calls.
struct NetBench {
    std::vector<Transfer> reads, calls, farReads, farCalls;
};

bool benchNetwork(pbxsim::Simulator &sim, const std::string &device, const std::string &dir, CallList &outgoing,
                  NetBench &out)
{
    std::string why;
    int port = freeLocalPort();
    pid_t server = startSer2net(device, port, dir + "/ser2net.yaml", dir + "/ser2net.log", &why);
    if (server < 0) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return false;
    }
    std::filesystem::create_directory(dir + "/run");
    setenv("XDG_RUNTIME_DIR", (dir + "/run").c_str(), 1);
    auto overNetwork = [&](bool far, std::vector<Transfer> &reads, std::vector<Transfer> &calls) {
        for (int i = 0; i < TransferRuns + CallRuns; i++) {
            std::unique_ptr<DelayRelay> relay;
            if (far)
                relay = std::make_unique<DelayRelay>(port, std::chrono::milliseconds(FarOneWayMs));
            std::string net = "rfc2217://127.0.0.1:" + std::to_string(relay ? relay->port : port);
            setDevicePath(net.c_str());
            if (i < TransferRuns) {
                setRecInt(rec::CfgValid, 0);
                reads.push_back(measureTransfer(sim, readConfig));
                if (recInt(rec::CfgValid) != 1)
                    return false;
            } else {
                outgoing.store.clear();
                calls.push_back(measureTransfer(sim, doKitGetOut));
                if (outgoing.store.size() != 23000)
                    return false;
            }
        }
        return true;
    };
    bool done = overNetwork(false, out.reads, out.calls) && overNetwork(true, out.farReads, out.farCalls);
    killSer2net(server);
    setDevicePath(device.c_str());
    if (!done)
        std::fprintf(stderr, "a transfer over ser2net failed\n");
    return done;
}

void printNetwork(const NetBench &net)
{
    std::printf("\nover ser2net on loopback (rfc2217://127.0.0.1)\n");
    std::printf("%-22s %10s %10s %9s %10s %10s %8s\n", "transfer", "wall", "line", "added", "naive sum", "cpu",
                "of core");
    printTransfer("configuration read", net.reads);
    printTransfer("1000 outgoing calls", net.calls);
    std::printf("\nover ser2net 50 ms away (a relay delays each direction %d ms)\n", FarOneWayMs);
    std::printf("%-22s %10s %10s %9s %10s\n", "transfer", "wall", "line", "added", "network");
    printFarTransfer("configuration read", net.farReads, 2 * FarOneWayMs / 1000.0);
    printFarTransfer("1000 outgoing calls", net.farCalls, 2 * FarOneWayMs / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "%s: needs an X display (run scripts/bench.sh)\n", argv[0]);
        return 2;
    }
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    // "--start-up": only the start-ups, a few seconds instead of a quarter of an hour.
    bool startUpOnly = argc > 1 && std::strcmp(argv[1], "--start-up") == 0;
    // "--network": only the transfers over ser2net.
    bool networkOnly = argc > 1 && std::strcmp(argv[1], "--network") == 0;
    int startRuns = networkOnly ? 0 : StartRuns, transferRuns = networkOnly ? 0 : TransferRuns;

    char tmpl[] = "/tmp/kelvora-bench.XXXXXX";
    if (!mkdtemp(tmpl))
        return 2;
    std::string dir = tmpl;
    std::string device = dir + "/ttyBENCH";

    // Start-up of the real binary, in its own Xft font and in the core font.
    struct Look {
        const char *name;
        std::vector<std::string> options;
        const char *timeBudget, *memoryBudget;
        std::vector<double> times, rss, hwm;
    } looks[] = {
        {"Xft", {}, "< 60 ms", "< 16 MB", {}, {}, {}},
        {"core font", {"-xrm", "Kelvora.coreFont: -misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1"}, "< 30 ms",
         "< 12 MB", {}, {}, {}},
    };
    for (int i = 0; i < startRuns; i++) {
        for (Look &look : looks) {
            StartUp s{};
            if (!measureStart(dpy, device, look.options, &s)) {
                std::fprintf(stderr, "kelvora's main window did not appear (%s)\n", look.name);
                std::filesystem::remove_all(dir);
                return 1;
            }
            look.times.push_back(s.seconds);
            look.rss.push_back(double(s.rssKb));
            look.hwm.push_back(double(s.hwmKb));
        }
    }

    auto printStartUps = [&] {
        for (Look &look : looks) {
            std::string startUp = std::string("start-up, mapped window, ") + look.name;
            std::string memory = std::string("resident memory, ") + look.name;
            std::printf("%-34s %9.1f ms %12s   (min %.1f, max %.1f)\n", startUp.c_str(), median(look.times) * 1000,
                        look.timeBudget, *std::min_element(look.times.begin(), look.times.end()) * 1000,
                        *std::max_element(look.times.begin(), look.times.end()) * 1000);
            std::printf("%-34s %9.1f MB %12s   (VmRSS, median; peak VmHWM %.1f MB)\n", memory.c_str(),
                        median(look.rss) / 1024, look.memoryBudget, median(look.hwm) / 1024);
        }
    };
    if (startUpOnly) {
        std::filesystem::remove_all(dir);
        std::printf("kelvora start-up (%d runs of each font)\n\n%-34s %12s %12s\n", StartRuns, "", "measured",
                    "budget");
        printStartUps();
        return 0;
    }

    // Transfers in this process: the program's own read and programming, its
    // main window on the display, pbxsim in a thread pacing at 4800 baud.
    pbxsim::Simulator sim;
    std::string error;
    if (!sim.open(device, &error)) {
        std::fprintf(stderr, "pbxsim: %s\n", error.c_str());
        std::filesystem::remove_all(dir);
        return 1;
    }
    sim.setBaud(Baud);
    sim.start();
    std::filesystem::create_directory(dir + "/lock");
    setLockDir((dir + "/lock").c_str());
    std::string argv0 = "kelvora";
    char *args[] = {argv0.data(), device.data(), nullptr};
    kelvoraStart(2, args);
    // Transfers as they take the line: no backups, no question before programming.
    setSafetySettings({"", 0, false});

    std::vector<Transfer> reads, writes, tlnReads, tlnWrites, bare;
    for (int i = 0; i < transferRuns; i++) {
        reads.push_back(measureTransfer(sim, readConfig));
        if (recInt(rec::CfgValid) != 1) {
            std::fprintf(stderr, "the configuration read failed\n");
            return 1;
        }
        writes.push_back(measureTransfer(sim, writeConfig));
        if (recInt(rec::CfgValid) != 1) {
            std::fprintf(stderr, "programming failed\n");
            return 1;
        }
        setRecInt(rec::TlnPresent, 0);
        tlnReads.push_back(measureTransfer(sim, tlnRead));
        if (recInt(rec::TlnPresent) != 1) {
            std::fprintf(stderr, "the subscriber read failed\n");
            return 1;
        }
        tlnWrites.push_back(measureTransfer(sim, tlnWrite));
        // begin, 30 records, end, and an answer to each
        if (sim.frames().size() != 64) {
            std::fprintf(stderr, "programming the subscribers failed\n");
            return 1;
        }
        bare.push_back(measureBareRead(sim, device));
    }
    // The speed-dial directory: 25 blocks of 200 bytes and the two prefix lists,
    // from and to the speed-dial dialog (built, not shown: the working dialog is its own).
    buildDialogOnce(kwzdlg, toplevel, "kwz_dlg");
    std::vector<Transfer> kwzReads, kwzWrites;
    for (int i = 0; i < transferRuns; i++) {
        kwzReads.push_back(measureTransfer(sim, readISkwz));
        if (recInt(rec::KwzPresent) != i + 1) {
            std::fprintf(stderr, "the speed-dial read failed\n");
            return 1;
        }
        kwzWrites.push_back(measureTransfer(sim, writeISkwz));
        pbxsim::State held = sim.state();
        if (!std::equal(held.kwz.begin(), held.kwz.end(), all + rec::KwzNumbers)) {
            std::fprintf(stderr, "speed-dial programming failed\n");
            return 1;
        }
    }
    // The outgoing call list with a full memory, named from a full directory:
    // the read, and the list filled from its 1000 records.
    pbxsim::State calls = sim.state();
    calls.outcalls.clear();
    for (int k = 0; k < 1000; k++) {
        pbxsim::OutCall c{};
        c[0] = Byte(k);
        c[4] = Byte(k);
        c[6] = Byte(0x11 + k % 10);
        c[7] = Byte(1 + k % 12);
        c[8] = Byte(1 + k % 28);
        c[9] = Byte(k % 24);
        c[10] = Byte(k % 60);
        std::string digits = std::to_string(30000000 + k);
        std::fill(c.begin() + 11, c.end(), Byte(0xFF));
        for (std::size_t d = 0; d < digits.size(); d++) {
            Byte nibble = Byte(digits[d] - '0');
            Byte &b = c[11 + d / 2];
            b = d % 2 == 0 ? Byte(nibble << 4 | 0x0F) : Byte((b & 0xF0) | nibble);
        }
        calls.outcalls.push_back(c);
    }
    // And a full memory of 75 incoming calls: the tails of the first outgoing ones.
    calls.incalls.clear();
    for (int k = 0; k < 75; k++) {
        pbxsim::InCall q{};
        std::copy(calls.outcalls[std::size_t(k)].begin() + 6, calls.outcalls[std::size_t(k)].end(), q.begin());
        calls.incalls.push_back(q);
    }
    sim.setState(calls);
    for (int j = 0; j < rec::KwzCount; j++) {
        // Names for every fifth call; the rest are looked up through all 200.
        std::snprintf(recText(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(j)), rec::KwzNumberSize, "%d",
                      30000000 + 5 * j);
        std::snprintf(recText(rec::KwzNames + rec::KwzNameSize * std::size_t(j)), rec::KwzNameSize, "Kunde %d", j);
    }
    setRecInt(rec::KwzPresent, 1);
    CallList &outgoing = outCallList();
    buildDialogOnce(outgoing.dialog, toplevel, outgoing.dialogName);
    if (networkOnly) {
        NetBench net;
        bool done = benchNetwork(sim, device, dir, outgoing, net);
        sim.stop();
        std::filesystem::remove_all(dir);
        if (!done)
            return 1;
        std::printf("kelvora benchmark over the network (%d transfers, %d of the call list; pbxsim paces %ld baud)\n",
                    TransferRuns, CallRuns, Baud);
        printNetwork(net);
        return 0;
    }
    std::vector<Transfer> callReads;
    for (int i = 0; i < CallRuns; i++) {
        outgoing.store.clear();
        callReads.push_back(measureTransfer(sim, doKitGetOut));
        if (outgoing.store.size() != 23000 || outgoing.store[999 * 23 + 6] == 0) {
            std::fprintf(stderr, "the outgoing call list read failed\n");
            return 1;
        }
    }
    std::vector<double> fills;
    for (int i = 0; i < ListFillRuns; i++) {
        auto start = Clock::now();
        showCallList(outgoing);
        fills.push_back(seconds(Clock::now() - start));
    }
    int listed = 0;
    XtVaGetValues(XmtNameToWidget(outgoing.dialog, outgoing.listName), XmNitemCount, &listed, nullptr);
    if (listed != 1000) {
        std::fprintf(stderr, "the list shows %d calls\n", listed);
        return 1;
    }
    std::vector<Transfer> counterReads, inReads;
    for (int i = 0; i < TransferRuns; i++) {
        counterReads.push_back(measureTransfer(sim, countersRead));
        incomingStore.clear();
        inReads.push_back(measureTransfer(sim, incomingRead));
        if (incomingStore.size() != 75 * 17 || incomingStore[74 * 17] == 0) {
            std::fprintf(stderr, "the incoming call list read failed\n");
            return 1;
        }
    }

    // The same transfers by kelvoractl.  It takes the lock in /var/lock, as it
    // always does.
    struct CtlBench {
        const char *what;
        std::vector<std::string> args;
        int runs;
        std::vector<Transfer> results = {};
    };
    std::string cfg = dir + "/bench.cfg", kwz = dir + "/bench.kwz", tnd = dir + "/bench.tnd";
    std::vector<CtlBench> ctl = {
        {"configuration read", {"read-config", cfg}, TransferRuns},
        {"configuration program", {"program-config", cfg}, TransferRuns},
        {"subscriber read", {"read-subscribers", tnd}, TransferRuns},
        {"subscriber program", {"program-subscribers", tnd}, TransferRuns},
        {"speed-dial read", {"read-speeddial", kwz}, TransferRuns},
        {"speed-dial program", {"program-speeddial", kwz}, TransferRuns},
        {"1000 outgoing calls", {"calls", "out", "--csv", "--names", kwz}, CallRuns},
        {"75 incoming calls", {"calls", "in"}, TransferRuns},
        {"charge counters", {"counters", "--config", cfg}, TransferRuns},
    };
    for (CtlBench &b : ctl) {
        for (int i = 0; i < b.runs; i++) {
            std::vector<std::string> command = {"-d", device};
            command.insert(command.end(), b.args.begin(), b.args.end());
            Transfer t;
            if (!measureCtl(sim, command, &t)) {
                std::fprintf(stderr, "kelvoractl %s failed\n", b.args[0].c_str());
                return 1;
            }
            b.results.push_back(t);
        }
    }
    NetBench net;
    if (!benchNetwork(sim, device, dir, outgoing, net))
        return 1;
    sim.stop();
    std::filesystem::remove_all(dir);

    std::printf("kelvora benchmark (%d start-ups, %d transfers each, 2 of the call list; pbxsim paces %ld baud, 11 bits a byte)\n\n",
                StartRuns, TransferRuns, Baud);
    std::printf("%-34s %12s %12s\n", "", "measured", "budget");
    printStartUps();
    std::printf("\n%-22s %10s %10s %9s %10s %10s %8s\n", "transfer", "wall", "line", "added", "naive sum",
                "cpu", "of core");
    printTransfer("configuration read", reads);
    printTransfer("configuration program", writes);
    printTransfer("subscriber read", tlnReads);
    printTransfer("subscriber program", tlnWrites);
    printTransfer("speed-dial read", kwzReads);
    printTransfer("speed-dial program", kwzWrites);
    printTransfer("1000 outgoing calls", callReads);
    printTransfer("75 incoming calls", inReads);
    printTransfer("charge counters", counterReads);
    printTransfer("bare reader (floor)", bare);
    std::printf("\nkelvoractl (the program as a child, fork to exit; its own cpu)\n");
    std::printf("%-22s %10s %10s %9s %10s %10s %8s\n", "transfer", "wall", "line", "added", "naive sum", "cpu",
                "of core");
    for (const CtlBench &b : ctl)
        printTransfer(b.what, b.results);
    printNetwork(net);
    std::printf("\n%-34s %9.1f ms %12s   (median of %d; min %.1f, max %.1f)\n", "list of 1000 calls filled",
                median(fills) * 1000, "< 50 ms", ListFillRuns, *std::min_element(fills.begin(), fills.end()) * 1000,
                *std::max_element(fills.begin(), fills.end()) * 1000);
    std::printf("\nbudgets: a transfer adds at most 1 %% to its line time and uses at most 1 %% of one core.\n"
                "wall: median time of the callback (port open to port closed, working dialog included);\n"
                "      for kelvoractl from its start to its exit.  Its subscriber programming reads the records\n"
                "      first, and its line time counts both transmissions.\n"
                "line: what the exchange needs on the line with a program that takes no time: each byte 11/%ld s;\n"
                "      a frame reaches the PBX when its last byte has, and its answer follows on the other wire;\n"
                "      the program pauses %.2f ms after handing each frame (and its %d padding zeros) to the line,\n"
                "      then waits for the answer; synchronisation zeros go without a pause; each wire carries\n"
                "      one byte at a time, so a frame queues behind padding or synchronisation still on it.\n"
                "naive sum: all bytes both ways times 11/%ld s plus one pause per frame, nothing overlapped.\n"
                "cpu: user+system time of the thread running the transfer (pbxsim runs in another);\n"
                "      kelvoractl's: its own process's.\n"
                "      of core: cpu / wall.  Medians; the worst run's added time and share follow below.\n"
                "50 ms away: added is what the wall time has beyond the line time and the network's share,\n"
                "      one round trip for each frame and %d for the connection's set-up; budget +1 %%.\n"
                "bare reader: the read's frames without synchronisation, pauses or the program, waiting for\n"
                "      each byte with select() and read() as the program does: what the wake-ups alone cost here.\n",
                Baud, Pause * 1000, PaddingBytes, Baud, SetUpRoundTrips);
    return 0;
}
