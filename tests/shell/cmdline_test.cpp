#include <gtest/gtest.h>

#include "child.h"
#include "config/record.h"
#include "link/trace.h"
#include "shell/shell.h"
#include "support/tempdir.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const char *const Usage = "usage: kelvora </dev/cuaX>\n";
const char *const Title = "Ostrale 18x/Dorvan ISx Konfigurator";

bool haveDisplay() { return std::getenv("DISPLAY") != nullptr; }

bool endsWith(const std::string &s, const std::string &tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs kelvora with args; returns the wait status and what it wrote to stderr.
int runKelvora(const std::vector<std::string> &args, std::string *err, const std::string &argv0 = KELVORA_BINARY)
{
    Child c = startChild(KELVORA_BINARY, argv0, args);
    EXPECT_GT(c.pid, 0);
    return waitChild(c, 20000, err);
}

void expectUsageExit(int status, const std::string &err, const char *usage)
{
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status << ", stderr: " << err;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(endsWith(err, usage)) << "stderr: " << err;
}

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

class TraceOption : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        setDebugFilePath(dir.file("trace").c_str());
        debugflag = 0;
    }
    void TearDown() override
    {
        if (debugfile)
            std::fclose(debugfile);
        debugfile = nullptr;
        debugflag = 0;
        setDebugFilePath("/tmp/kelvora.debug");
    }
};

} // namespace

TEST(Usage, NoArgumentShowsBaseNameAndExits1)
{
    if (!haveDisplay())
        GTEST_SKIP() << "needs an X display";
    // A link with another name shows that the name comes from argv[0].
    TempDir dir;
    std::string link = dir.file("kelv-link");
    std::filesystem::create_symlink(KELVORA_BINARY, link);
    std::string err;
    int status = runKelvora({}, &err, link);
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(err, "usage: kelv-link </dev/cuaX>\n");
}

TEST(Usage, UnknownOptionAndMissingLevel)
{
    if (!haveDisplay())
        GTEST_SKIP() << "needs an X display";
    std::string err;
    int status = runKelvora({"-q", "/dev/null"}, &err);
    expectUsageExit(status, err, Usage);
    // getopt's own complaint comes first.
    EXPECT_NE(err.find("invalid option"), std::string::npos) << err;

    err.clear();
    status = runKelvora({"/dev/null", "-D"}, &err);
    expectUsageExit(status, err, Usage);
    EXPECT_NE(err.find("requires an argument"), std::string::npos) << err;

    // The real binary opens its fixed trace file before it finds the device
    // missing: only try this when there is no trace of anyone else to clobber,
    // and take the file away again.
    const char *trace = "/tmp/kelvora.debug";
    if (access(trace, F_OK) == 0)
        return;
    err.clear();
    status = runKelvora({"-D", "3"}, &err); // the level takes the device's place
    unlink(trace);
    expectUsageExit(status, err, Usage);
}

TEST_F(TraceOption, LevelThreeCreatesEmptyTraceFile)
{
    // Leave something in the file: -D must truncate it.
    FILE *f = std::fopen(dir.file("trace").c_str(), "w");
    std::fputs("old trace\n", f);
    std::fclose(f);

    Argv a({"kelvora", "-D", "3", "/dev/ttyS1"});
    parseCommandLine(a.argc(), a.argv());
    EXPECT_EQ(debugflag, 3);
    ASSERT_NE(debugfile, nullptr);
    EXPECT_EQ(std::filesystem::file_size(dir.file("trace")), 0u);
    EXPECT_EQ(devicePath(), a.ptrs[3]);
}

TEST_F(TraceOption, NonNumericLevelIsZeroButFileIsCreated)
{
    Argv a({"kelvora", "-D", "x", "/dev/ttyS1"});
    debugflag = 7;
    parseCommandLine(a.argc(), a.argv());
    EXPECT_EQ(debugflag, 0);
    EXPECT_NE(debugfile, nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir.file("trace")));
}

TEST_F(TraceOption, UncreatableTraceFileLeavesTracingOff)
{
    setDebugFilePath(dir.file("no/such/dir/trace").c_str());
    Argv a({"kelvora", "-D", "2", "/dev/ttyS1"});
    parseCommandLine(a.argc(), a.argv());
    EXPECT_EQ(debugflag, 0);
    EXPECT_EQ(debugfile, nullptr);
}

TEST_F(TraceOption, FirstDeviceIsKeptTheRestIgnored)
{
    Argv a({"kelvora", "/dev/ttyS0", "/dev/ttyS1"});
    parseCommandLine(a.argc(), a.argv());
    EXPECT_EQ(devicePath(), a.ptrs[1]);
    EXPECT_EQ(debugfile, nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("trace")));
}

namespace {

// Windows of other tests come and go while we look through the tree.
int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

// The mapped top-level window with the main window's title and the given
// instance name (tests may run side by side on one display), or None.
Window findMainWindow(Display *dpy, const std::string &instance)
{
    Window root = DefaultRootWindow(dpy), parent, *children = nullptr;
    unsigned n = 0;
    Window found = None;
    if (!XQueryTree(dpy, root, &root, &parent, &children, &n))
        return None;
    for (unsigned i = 0; i < n && found == None; i++) {
        XWindowAttributes attr;
        if (!XGetWindowAttributes(dpy, children[i], &attr) || attr.map_state != IsViewable)
            continue;
        XClassHint hint{};
        if (!XGetClassHint(dpy, children[i], &hint))
            continue;
        bool ours = hint.res_name && instance == hint.res_name;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (!ours)
            continue;
        char *name = nullptr;
        if (XFetchName(dpy, children[i], &name) && name) {
            if (std::strcmp(name, Title) == 0)
                found = children[i];
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

TEST(WindowManagerClose, QuitsLikeBeenden)
{
    if (!haveDisplay())
        GTEST_SKIP() << "needs an X display";
    Display *dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    struct RestoreHandler {
        XErrorHandler old = XSetErrorHandler(ignoreXErrors);
        ~RestoreHandler() { XSetErrorHandler(old); }
    } restore;
    std::string instance = "kelvora-wmclose-" + std::to_string(getpid());

    // Out of the corner where the in-process tests put their windows.
    Child c = startChild(KELVORA_BINARY, "kelvora", {"-name", instance, "-geometry", "+700+500", "/dev/null"});
    ASSERT_GT(c.pid, 0);
    Window w = None;
    for (int i = 0; i < 200 && w == None; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        w = findMainWindow(dpy, instance);
    }
    std::string err;
    if (w == None) {
        waitChild(c, 0, &err);
        FAIL() << "main window did not appear; stderr: " << err;
    }
    // It is up and stays up until asked.
    int status = 0;
    EXPECT_EQ(waitpid(c.pid, &status, WNOHANG), 0);

    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, w, False, NoEventMask, &ev);
    XFlush(dpy);

    status = waitChild(c, 10000, &err);
    ASSERT_TRUE(WIFEXITED(status)) << "kelvora did not quit; stderr: " << err;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    XCloseDisplay(dpy);
}
