// SIGINT, SIGTERM and SIGHUP end the program cleanly, each in a child of its
// own against the simulator: a transmission as any failed one ends (zeros and
// the end command, line restored, lock gone), a file being written leaves no
// temporary file, and what must happen wholly does.
#include <gtest/gtest.h>

#include "config/atomicfile.h"
#include "link/interrupt.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "link/transfer.h"
#include "support/bounded.h"
#include "support/sim_line.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <unistd.h>

namespace {

// What the window's observer is told, on standard error.
struct Telling : TransferObserver {
    void ended(const TransferTrouble *t) override { std::fprintf(stderr, "ended %s\n", t ? t->text.c_str() : "ok"); }
};

TransferResult transmit(const SimLine &line, bool reading, const std::function<void(TransferContext &)> &body)
{
    static Telling telling;
    Transmission t{line.device.c_str(), percentShow("w", "Test"), reading, 3};
    return runTransmission(t, telling, body);
}

std::vector<std::string> filesIn(const std::string &path)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(path.c_str())) {
        while (dirent *e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct Case {
    const char *name;
    int signal;
    std::function<void(SimLine &, const std::string &file)> run; // raises the signal somewhere
    const char *said;   // the line on standard error after "ended ok", if a transmission ran
    Bytes lastFrame;    // the last frame the PBX got; empty: none at all
    int notSent;        // the code of a frame the PBX must not have got; -1 none
    std::vector<std::string> files; // what the test's folder holds afterwards
};

const unsigned char payload[50] = {};

const Case cases[] = {
    {"read", SIGTERM,
     [](SimLine &line, const std::string &) {
         transmit(line, true, [](TransferContext &c) {
             c.request(K_READ_TLN_BER_LIST, 0);
             raise(SIGTERM);
             c.request(K_READ_TLN_RUFNR_LIST, 0); // not sent: the transmission ends instead
         });
     },
     "ended ok\nkelvora: Abgebrochen (SIGTERM): an der Anlage wurde nichts geändert.\n", command(K_END, 0),
     K_READ_TLN_RUFNR_LIST, {"file"}},
    {"write", SIGINT,
     [](SimLine &line, const std::string &) {
         transmit(line, false, [](TransferContext &c) {
             c.send(K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50);
             raise(SIGINT);
             c.send(K_WRITE_TLN_RUF_VERT_LIST, NoSubCode, payload, 50);
         });
     },
     "ended ok\nkelvora: Abgebrochen (SIGINT): die Anlage ist nur zum Teil programmiert: bitte erneut programmieren.\n",
     command(K_END, 0), K_WRITE_TLN_RUF_VERT_LIST, {"file"}},
    {"write, signal after its last frame", SIGHUP,
     [](SimLine &line, const std::string &) {
         transmit(line, false, [](TransferContext &c) {
             c.send(K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50);
             raise(SIGHUP);
         });
     },
     "ended ok\nkelvora: Abgebrochen (SIGHUP) nach dem Programmieren: die Anlage ist vollständig programmiert.\n",
     command(K_END, 0), -1, {"file"}},
    {"file being written", SIGHUP,
     [](SimLine &, const std::string &file) {
         writeFileAtomically(file.c_str(), [](FILE *fp) {
             std::fputs("neu", fp);
             std::fflush(fp);
             raise(SIGHUP);
             return true;
         });
     },
     "kelvora: Abgebrochen (SIGHUP): an der Anlage wurde nichts geändert.\n", {}, -1, {"file"}},
    {"signal deferred", SIGTERM,
     [](SimLine &, const std::string &file) {
         InterruptsDeferred wholly;
         raise(SIGTERM);
         writeFileAtomically((file + "2").c_str(), [](FILE *fp) { return std::fputs("zwei", fp) >= 0; });
     },
     "kelvora: Abgebrochen (SIGTERM): an der Anlage wurde nichts geändert.\n", {}, -1, {"file", "file2"}},
};

TEST(Interrupted, EndsTheTransmissionAndTheProgramCleanly)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimLine line;
        TempDir files;
        std::string file = files.file("file");
        writeFile(file, "alt");
        int probe = open(line.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(probe, 0);
        termios before, after;
        tcgetattr(probe, &before);
        Bounded r = runBounded(10, [&] {
            catchInterrupts([](const std::string &text) { return "kelvora: " + text; });
            c.run(line, file);
            return 0; // not reached
        });
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.result, static_cast<signed char>(128 + c.signal)) << r.out;
        EXPECT_EQ(r.out, c.said);
        std::vector<Bytes> frames = sentByProgram(line.sim);
        if (c.lastFrame.empty()) {
            EXPECT_TRUE(frames.empty());
        } else {
            ASSERT_FALSE(frames.empty());
            EXPECT_EQ(frames.back(), c.lastFrame);
        }
        for (const Bytes &f : frames)
            EXPECT_FALSE(f.size() > 1 && f[1] == c.notSent) << "a frame after the signal: " << hexString(f);
        EXPECT_EQ(filesIn(files.path()), c.files) << "a temporary file left behind";
        EXPECT_EQ(readFile(file), "alt");
        EXPECT_EQ(filesIn(line.dir.file("lock")), std::vector<std::string>{}) << "the lock left behind";
        tcgetattr(probe, &after);
        EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
        EXPECT_EQ(after.c_cflag, before.c_cflag);
        close(probe);
    }
}

} // namespace
