// kelvoractl told to stop mid-transfer, as Ctrl-C, a kill or the end of a
// session do: it ends the transmission, gives the line and the lock back,
// leaves no file half made, exits with 128 + the signal and says what the PBX
// holds.
#include "ctl_env.h"

#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct Stop {
    int signal;
    const char *name;
    std::vector<std::string> args; // "@" stands for the test's directory
    int afterMs;                     // after the lock appears
    const char *said;
};

TEST_F(CtlLine, ASignalEndsTheTransferAndSaysWhatThePbxHolds)
{
    start(pbxsim::defaultState(), {"--baud", "4800"}); // a transfer takes seconds
    writeFile(dir.file("p.cfg"), configFile(pbxsim::defaultState()));
    const Stop stops[] = {
        {SIGINT, "SIGINT", {"read-config", "@/x.cfg"}, 500, "an der Anlage wurde nichts geändert."},
        {SIGTERM, "SIGTERM", {"program-config", "@/p.cfg"}, 1500, "die Anlage ist nur zum Teil programmiert: bitte erneut programmieren."},
        {SIGHUP, "SIGHUP", {"backup", "@/backups"}, 500, "an der Anlage wurde nichts geändert."},
    };
    std::string lock = lockFileFor(device);
    auto lineSettings = [&] {
        termios t{};
        int probe = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(probe, 0);
        tcgetattr(probe, &t);
        close(probe);
        return t;
    };
    for (const Stop &s : stops) {
        SCOPED_TRACE(s.args[0]);
        termios before = lineSettings();
        CtlSignal stop;
        stop.signal = s.signal;
        Clock::time_point locked{};
        stop.when = [&] {
            if (locked == Clock::time_point{} && access(lock.c_str(), F_OK) == 0)
                locked = Clock::now();
            return locked != Clock::time_point{} && Clock::now() - locked > std::chrono::milliseconds(s.afterMs);
        };
        CtlRun run = ctl(inDir(s.args, dir.path()), {{"LC_ALL=C"}}, stop); // the texts as they are, ISO 8859-1
        EXPECT_EQ(run.status, 128 + s.signal) << run.err;
        EXPECT_EQ(run.err, std::string("kelvoractl: Abgebrochen (") + s.name + "): " + s.said + "\n");
        EXPECT_NE(access(lock.c_str(), F_OK), 0) << "the lock left behind";
        termios after = lineSettings();
        EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before)) << "the line left at 4800 baud";
        EXPECT_EQ(after.c_cflag, before.c_cflag);
        EXPECT_NE(access(dir.file("x.cfg").c_str(), F_OK), 0);
        EXPECT_NE(access(dir.file("backups").c_str(), F_OK), 0) << "a backup begun";
    }
}

} // namespace
