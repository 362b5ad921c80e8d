// The command line (-D and the device), and the real program quitting.
#include <gtest/gtest.h>

#include "config/record.h"
#include "link/trace.h"
#include "shell/shell.h"
#include "support/e2e_process.h"
#include "support/e2e_x.h"
#include "support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

const char Title[] = "Ostrale 18x/Dorvan ISx Konfigurator";

// Char vector for parseCommandLine: getopt may permute it.
struct Argv {
    std::vector<std::string> strings;
    std::vector<char *> ptrs;
    explicit Argv(std::vector<std::string> s) : strings(std::move(s))
    {
        for (std::string &a : strings)
            ptrs.push_back(a.data());
        ptrs.push_back(nullptr);
    }
    int argc() const { return int(ptrs.size()) - 1; }
    char **argv() { return ptrs.data(); }
};

// The trace file goes to the test's own directory.
struct CommandLine : ::testing::Test {
    TempDir dir;
    std::string trace = dir.file("trace");
    void SetUp() override { setDebugFilePath(trace.c_str()); }
};

TEST_F(CommandLine, WrongOnesShowTheUsageAndExit1)
{
    struct Case {
        std::vector<std::string> args;
        const char *said; // stderr, a regular expression
        bool traceMade;
    } cases[] = {
        {{"kelvora", "-q", "/dev/ttyS1"}, "invalid option.*usage: kelvora </dev/cuaX>\n$", false},
        {{"kelvora", "/dev/ttyS1", "-D"}, "requires an argument.*usage: kelvora </dev/cuaX>\n$", false},
        // The level takes the device's place; the trace file is opened before that shows.
        {{"kelvora", "-D", "3"}, "^usage: kelvora </dev/cuaX>\n$", true},
    };
    for (Case &c : cases) {
        Argv a(c.args);
        EXPECT_EXIT(parseCommandLine(a.argc(), a.argv()), ::testing::ExitedWithCode(1), c.said) << c.args[1];
        EXPECT_EQ(std::filesystem::exists(trace), c.traceMade) << c.args[1];
    }
}

TEST_F(CommandLine, TraceLevelFileAndDevice)
{
    struct Case {
        std::vector<std::string> args;
        bool noTraceDir;
        int level; // -1: not looked at
        bool traced;
        int device; // its index in args
    } cases[] = {
        {{"kelvora", "-D", "3", "/dev/ttyS1"}, false, 3, true, 3},
        {{"kelvora", "-D", "x", "/dev/ttyS1"}, false, 0, true, 3},        // not a number: level 0
        {{"kelvora", "-D", "2", "/dev/ttyS1"}, true, -1, false, 3},       // no trace file, no tracing
        {{"kelvora", "/dev/ttyS0", "/dev/ttyS1"}, false, -1, false, 1},   // later arguments are ignored
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        std::string path = c.noTraceDir ? dir.file("no/such/dir/trace") : trace;
        setDebugFilePath(path.c_str());
        std::ofstream(trace) << "old trace\n";
        debugflag = 7;
        Argv a(c.args);
        parseCommandLine(a.argc(), a.argv());
        if (c.level >= 0) {
            EXPECT_EQ(debugflag, c.level);
        }
        EXPECT_EQ(debugfile != nullptr, c.traced);
        // -D starts a new trace; without it the file is not touched.
        EXPECT_EQ(readFile(trace), c.traced ? "" : "old trace\n");
        EXPECT_EQ(devicePath(), a.ptrs[std::size_t(c.device)]);
        if (debugfile)
            std::fclose(debugfile);
        debugfile = nullptr;
    }
}

TEST(Program, WithoutADeviceShowsItsBaseNameAndExits1)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    // A link of another name shows that the name comes from argv[0].
    TempDir dir;
    std::string link = dir.file("kelv-link");
    std::filesystem::create_symlink(KELVORA_BINARY, link);
    std::string out;
    EXPECT_EQ(runTool({link}, &out), 1) << out;
    EXPECT_EQ(out, "usage: kelv-link </dev/cuaX>\n");
}

TEST(Program, WindowManagerCloseQuitsLikeBeenden)
{
    if (!e2eDisplay())
        GTEST_SKIP() << "needs an X display";
    TempDir dir;
    std::string device = dir.file("ttyWM"); // names this run's window; never opened
    ChildProcess kelvora;
    std::string error;
    // Out of the corner where the in-process tests put their windows.
    ASSERT_TRUE(kelvora.start({KELVORA_BINARY, "-geometry", "+700+500", device}, dir.file("out"), &error)) << error;
    Window w = waitForMainWindow(Title, device, 10000);
    ASSERT_NE(w, None) << "no main window; kelvora: " << kelvora.output();
    EXPECT_TRUE(kelvora.running()) << "it stays up until asked";

    Display *dpy = e2eDisplay();
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, w, False, NoEventMask, &ev);
    XFlush(dpy);
    int status = kelvora.waitExit(10000);
    ASSERT_TRUE(status != -1 && WIFEXITED(status)) << "kelvora did not quit: " << kelvora.output();
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
