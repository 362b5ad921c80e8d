// The command line (-D and the device), and the real program quitting.
#include <gtest/gtest.h>

#include "config/record.h"
#include "config/version.h"
#include "link/trace.h"
#include "app/app.h"
#include "support/e2e_process.h"
#include "support/e2e_x.h"
#include "support/xwidgets.h"
#include "support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <regex>
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
    void SetUp() override
    {
        setDebugFilePath(trace.c_str());
        unsetenv("KELVORA_DEVICE");
        setenv("XDG_CONFIG_HOME", dir.file("cfg").c_str(), 1); // no line kept from an earlier start
    }
    void TearDown() override
    {
        unsetenv("KELVORA_DEVICE");
        unsetenv("XDG_CONFIG_HOME");
    }
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
        // A level is a whole number from 0 to 99: atoi took "abc" as 0 and "-5" as it is.
        {{"kelvora", "-D", "abc", "/dev/ttyS1"}, "^kelvora: -D takes a trace level \\(0 to 99\\)\nusage: ", false},
        {{"kelvora", "-D", "-5", "/dev/ttyS1"}, "^kelvora: -D takes a trace level", false},
        {{"kelvora", "-D", "3x", "/dev/ttyS1"}, "^kelvora: -D takes a trace level", false},
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

// Without a device argument $KELVORA_DEVICE names the line; an empty one does not.
TEST_F(CommandLine, WithoutADeviceKelvoraDeviceNamesIt)
{
    setenv("KELVORA_DEVICE", "/dev/ttyUSB3", 1);
    Argv a({"kelvora"}), b({"kelvora", "/dev/ttyS1"});
    parseCommandLine(a.argc(), a.argv());
    EXPECT_STREQ(devicePath(), "/dev/ttyUSB3");
    parseCommandLine(b.argc(), b.argv());
    EXPECT_STREQ(devicePath(), "/dev/ttyS1") << "the argument wins";
    setenv("KELVORA_DEVICE", "", 1);
    EXPECT_EXIT(parseCommandLine(a.argc(), a.argv()), ::testing::ExitedWithCode(1), "^usage: kelvora </dev/cuaX>\n$");
}

// Started from a menu without a device: the line is chosen in the window,
// which then shows it, and the next start takes it without asking.
TEST(Program, WithoutADeviceTheLineIsChosenAndKeptForTheNextStart)
{
    if (!e2eMissing().empty())
        GTEST_SKIP() << e2eMissing();
    TempDir dir;
    std::string line = dir.file("leitung");
    std::vector<std::string> argv = {"/usr/bin/env", "-u", "KELVORA_DEVICE", "XDG_CONFIG_HOME=" + dir.file("cfg"),
                                     KELVORA_BINARY};
    std::string error;
    ChildProcess first;
    ASSERT_TRUE(first.start(argv, dir.file("out1"), &error)) << error;
    std::vector<Window> choosers;
    ASSERT_TRUE(waitUntil([&] { return !(choosers = visibleWindows("Schnittstelle")).empty(); }, 10000))
        << "no port chooser; kelvora: " << first.output();
    ASSERT_TRUE(waitIdle(choosers[0]));
    EXPECT_TRUE(screenshot(choosers[0], testOutputDir() + "/port-chooser.png"));
    ASSERT_TRUE(typeInto(choosers[0], "device", line));
    ASSERT_TRUE(clickWidget(choosers[0], "okay"));
    const std::string title = std::string(Title) + " - " + line;
    EXPECT_TRUE(waitUntil([&] { return !visibleWindows(title).empty(); }, 10000)) << first.output();
    EXPECT_EQ(readFile(dir.file("cfg/kelvora/port")), line + "\n");
    first.terminate();

    ChildProcess second;
    ASSERT_TRUE(second.start(argv, dir.file("out2"), &error)) << error;
    EXPECT_TRUE(waitUntil([&] { return !visibleWindows(title).empty(); }, 10000)) << second.output();
    EXPECT_TRUE(visibleWindows("Schnittstelle").empty()) << "asked again";
    second.terminate();
}

// Help, version and a wrong command line are answered before any display is
// opened; Xt's own options and their values are not taken for the device.
TEST(Program, CommandLineIsReadWithoutADisplay)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string said; // regular expression over stdout and stderr
    } cases[] = {
        {{"--help"}, 0, "^usage: kelvora \\[X toolkit options\\] \\[-D level\\] <device>\n.*--version"},
        {{"-h", "/dev/ttyS0"}, 0, "^usage: kelvora \\[X toolkit options\\]"},
        {{"-geometry", "+1+1", "--version"}, 0, std::string("^kelvora ") + KelvoraVersion + "\n$"},
        // Off a terminal the line would be chosen in the window; without a
        // display the usage line is all that is said.
        {{}, 1, "^usage: kelvora </dev/cuaX>\n$"},
        {{"-D", "3"}, 1, "^usage: kelvora </dev/cuaX>\n$"},
        {{"-geometry", "100x100", "-xrm", "*main*kurz.labelString: x"}, 1, "^usage: kelvora </dev/cuaX>\n$"},
        {{"-display", ":999"}, 1, "^usage: kelvora </dev/cuaX>\n$"},
        {{"-D", "100", "/dev/ttyS0"}, 1, "^kelvora: -D takes a trace level \\(0 to 99\\)\nusage: "},
        {{"-q", "/dev/ttyS0"}, 1, "invalid option.*\nusage: kelvora </dev/cuaX>\n$"},
        {{"/dev/ttyS0"}, 1, "Can't open display"}, // the display is needed from here on
    };
    for (const Case &c : cases) {
        std::vector<std::string> argv = {"env",           "-u", "DISPLAY", "-u", "KELVORA_DEVICE",
                                         "XDG_CONFIG_HOME=/nonexistent", KELVORA_BINARY};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string out;
        std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(runTool(argv, &out), c.status) << shown << ": " << out;
        EXPECT_TRUE(std::regex_search(out, std::regex(c.said))) << shown << ": " << out;
    }
}

// An app-defaults file for the class, as a site or a package may install one:
// its line wins, and every built-in line it does not name stays.
TEST(Program, AppDefaultsFileOverridesLineByLine)
{
    if (!e2eDisplay())
        GTEST_SKIP() << "needs an X display";
    TempDir dir;
    writeFile(dir.file("Kelvora"), "Kelvora.title: Kelvora am Empfang\n");
    std::string device = dir.file("ttyAD"); // names this run's window; never opened
    ChildProcess kelvora;
    std::string error;
    ASSERT_TRUE(kelvora.start({"/usr/bin/env", "XFILESEARCHPATH=" + dir.file("%N"), "XUSERFILESEARCHPATH=",
                               "XENVIRONMENT=" + dir.file("none"), KELVORA_BINARY, "-geometry", "+700+500", device},
                              dir.file("out"), &error))
        << error;
    Window w = waitForMainWindow("Kelvora am Empfang", device, 10000);
    ASSERT_NE(w, None) << "no window with the file's title; kelvora: " << kelvora.output();
    XWindowAttributes wa{};
    ASSERT_TRUE(XGetWindowAttributes(e2eDisplay(), w, &wa));
    EXPECT_GT(wa.width, 200);
    EXPECT_GT(wa.height, 200);
    std::map<std::string, Window> tree = widgetTree(w);
    for (const char *name : {"kurz", "outcalls", "grund", "user", "whsel", "laden", "quit", "theline"})
        EXPECT_NE(findWidgetWindow(tree, name), Window(None)) << name << " is missing";
    screenshot(w, testOutputDir() + "/app-defaults.png");
    EXPECT_EQ(kelvora.output(), "");
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
