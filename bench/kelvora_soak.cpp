// Soak run: the program's own configuration read and programming, in this
// process with its main window on the display, against pbxsim in a thread, for
// many cycles.  After the first cycle and after the last the process's memory
// (VmRSS, VmSize, the heap's bytes in use) and its open descriptors are taken;
// descriptors must not grow at all, memory only within the tolerances below.
// Needs an X display (scripts/soak.sh).
//
//   kelvora_soak [CYCLES]     (default 500)
#include "app/app.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/serial.h"
#include "pbxsim/pbxsim.h"
#include "ui/safetynet.h"

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// What may grow between the first cycle and the last.  A leak of one small
// block a cycle shows in the heap after a few hundred cycles; resident and
// virtual size move in pages and arena steps, hence their larger allowance.
constexpr long HeapToleranceBytes = 16 * 1024;
constexpr long RssToleranceKb = 512;
constexpr long VmSizeToleranceKb = 1024;

struct Usage {
    long rssKb = -1, vmSizeKb = -1;
    long heapInUse = -1; // mallinfo2: bytes in use, main arena and mmapped blocks
    long fds = -1;
};

long statusField(const char *name)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    std::size_t n = std::strlen(name);
    while (std::getline(in, line))
        if (line.compare(0, n, name) == 0 && line.size() > n && line[n] == ':')
            return std::strtol(line.c_str() + n + 1, nullptr, 10);
    return -1;
}

long openDescriptors()
{
    long count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        count++;
    }
    return count - 1; // the directory_iterator's own
}

Usage usage()
{
    Usage u;
    u.rssKb = statusField("VmRSS");
    u.vmSizeKb = statusField("VmSize");
    struct mallinfo2 mi = mallinfo2();
    u.heapInUse = long(mi.uordblks + mi.hblkhd);
    u.fds = openDescriptors();
    return u;
}

// Lets Xt handle what the transfer left queued (exposures of the working
// dialog, its unmapping) as the main loop would between two button presses.
void drainEvents()
{
    XtAppContext app = XtWidgetToApplicationContext(toplevel);
    XSync(XtDisplay(toplevel), False);
    while (XtAppPending(app))
        XtAppProcessEvent(app, XtIMAll);
}

void print(const char *when, int cycle, const Usage &u)
{
    std::printf("%-12s %5d %10ld %10ld %12ld %6ld\n", when, cycle, u.rssKb, u.vmSizeKb, u.heapInUse, u.fds);
    std::fflush(stdout);
}

bool within(const char *what, long first, long last, long tolerance, const char *unit)
{
    long growth = last - first;
    bool ok = growth <= tolerance;
    std::printf("%-18s first %10ld, last %10ld, growth %+8ld %s (allowed %ld)  %s\n", what, first, last, growth, unit,
                tolerance, ok ? "ok" : "FAIL");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    int cycles = argc > 1 ? std::atoi(argv[1]) : 500;
    if (cycles < 2) {
        std::fprintf(stderr, "usage: %s [CYCLES >= 2]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "%s: needs an X display (run scripts/soak.sh)\n", argv[0]);
        return 2;
    }

    char tmpl[] = "/tmp/kelvora-soak.XXXXXX";
    if (!mkdtemp(tmpl))
        return 2;
    std::string dir = tmpl;
    std::string device = dir + "/ttySOAK";
    std::string lock = dir + "/lock/LCK..ttySOAK";
    std::filesystem::create_directory(dir + "/lock");
    setLockDir((dir + "/lock").c_str());

    pbxsim::Simulator sim;
    std::string error;
    if (!sim.open(device, &error)) {
        std::fprintf(stderr, "pbxsim: %s\n", error.c_str());
        std::filesystem::remove_all(dir);
        return 1;
    }
    sim.start();
    std::string argv0 = "kelvora";
    char *args[] = {argv0.data(), device.data(), nullptr};
    kelvoraStart(2, args);
    // Transfers as they take the line: no backups, no question before programming.
    setSafetySettings({"", 0, false});
    drainEvents();

    // What the PBX holds is changed a little before every programming run, so
    // each cycle reads something other than it last programmed.
    std::printf("%d configuration read/program cycles against pbxsim (no pacing)\n\n", cycles);
    std::printf("%-12s %5s %10s %10s %12s %6s\n", "", "cycle", "VmRSS kB", "VmSize kB", "heap bytes", "fds");
    Usage first, last;
    auto start = Clock::now();
    double firstCycleSeconds = 0;
    for (int i = 1; i <= cycles; i++) {
        auto cycleStart = Clock::now();
        sim.modifyState([i](pbxsim::State &s) { s.rufnr[0] = std::uint8_t(i); });
        setRecInt(rec::CfgValid, 0);
        readConfig(nullptr, nullptr, nullptr);
        if (recInt(rec::CfgValid) != 1 || all[rec::RufnrList] != std::uint8_t(i)) {
            std::fprintf(stderr, "cycle %d: the configuration read failed\n", i);
            return 1;
        }
        all[rec::RufnrList] = std::uint8_t(i + 1);
        writeConfig(nullptr, nullptr, nullptr);
        if (recInt(rec::CfgValid) != 1 || sim.state().rufnr[0] != std::uint8_t(i + 1)) {
            std::fprintf(stderr, "cycle %d: programming failed\n", i);
            return 1;
        }
        if (access(lock.c_str(), F_OK) == 0) {
            std::fprintf(stderr, "cycle %d: the lock file is still there\n", i);
            return 1;
        }
        sim.clearLogs(); // the simulator keeps every frame; that is not ours
        drainEvents();
        if (i == 1) {
            firstCycleSeconds = std::chrono::duration<double>(Clock::now() - cycleStart).count();
            first = usage();
            print("first cycle", i, first);
        } else if (i % std::max(1, cycles / 10) == 0 || i == cycles) {
            last = usage();
            print(i == cycles ? "last cycle" : "", i, last);
        }
    }
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    sim.stop();
    std::filesystem::remove_all(dir);

    std::printf("\n%d cycles in %.1f s (first cycle %.3f s, mean %.3f s)\n\n", cycles, total, firstCycleSeconds,
                total / cycles);
    bool ok = true;
    ok &= within("open descriptors", first.fds, last.fds, 0, "");
    ok &= within("heap in use", first.heapInUse, last.heapInUse, HeapToleranceBytes, "B ");
    ok &= within("VmRSS", first.rssKb, last.rssKb, RssToleranceKb, "kB");
    ok &= within("VmSize", first.vmSizeKb, last.vmSizeKb, VmSizeToleranceKb, "kB");
    std::printf("\n%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
