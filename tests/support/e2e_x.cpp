#include "support/e2e_x.h"

#include "support/e2e_process.h"
#include "support/xwidgets.h"

#include <X11/Xutil.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

Display *display = nullptr;
XErrorHandler previousHandler = nullptr;

// Windows of the other program come and go while we look at them.
int ignoreOurErrors(Display *dpy, XErrorEvent *ev)
{
    if (dpy == display)
        return 0;
    return previousHandler ? previousHandler(dpy, ev) : 0;
}

std::string regexQuoted(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

Window topLevelOf(Window w)
{
    Display *dpy = e2eDisplay();
    for (;;) {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy, w, &root, &parent, &children, &count))
            return w;
        if (children)
            XFree(children);
        if (parent == root || parent == None)
            return w;
        w = parent;
    }
}

bool transientFor(Window w, Window owner)
{
    Window to = None;
    return XGetTransientForHint(e2eDisplay(), w, &to) && to == owner;
}

} // namespace

Display *e2eDisplay()
{
    if (!display && std::getenv("DISPLAY")) {
        display = XOpenDisplay(nullptr);
        if (display)
            previousHandler = XSetErrorHandler(ignoreOurErrors);
    }
    return display;
}

std::string e2eMissing()
{
    if (!std::getenv("DISPLAY"))
        return "DISPLAY is not set (run under xvfb-run)";
    if (!toolAvailable("xdotool"))
        return "xdotool is not installed";
    return "";
}

bool waitUntil(const std::function<bool()> &f, int timeout_ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (f())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<Window> visibleWindows(const std::string &title)
{
    std::string out;
    runTool({"xdotool", "search", "--onlyvisible", "--name", "^" + regexQuoted(title) + "$"}, &out);
    std::vector<Window> windows;
    std::istringstream lines(out);
    unsigned long id;
    while (lines >> id)
        windows.push_back(Window(id));
    return windows;
}

std::vector<std::string> windowCommand(Window w)
{
    std::vector<std::string> args;
    char **argv = nullptr;
    int argc = 0;
    if (XGetCommand(e2eDisplay(), w, &argv, &argc) && argv) {
        args.assign(argv, argv + argc);
        XFreeStringList(argv);
    }
    return args;
}

Window waitForMainWindow(const std::string &title, const std::string &device, int timeout_ms)
{
    Window found = None;
    waitUntil(
        [&] {
            for (Window w : visibleWindows(title)) {
                std::vector<std::string> cmd = windowCommand(w);
                if (!cmd.empty() && cmd.back() == device) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
    return found;
}

Window waitForDialog(Window owner, const std::string &title, int timeout_ms)
{
    Window found = None;
    waitUntil(
        [&] {
            for (Window w : visibleWindows(title))
                if (transientFor(w, owner)) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeout_ms);
    return found;
}

std::vector<Window> dialogsOf(Window owner)
{
    Display *dpy = e2eDisplay();
    std::vector<Window> result;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count))
        return result;
    for (unsigned i = 0; i < count; i++)
        if (viewable(children[i]) && transientFor(children[i], owner))
            result.push_back(children[i]);
    if (children)
        XFree(children);
    return result;
}

bool viewable(Window w)
{
    XWindowAttributes wa;
    return XGetWindowAttributes(e2eDisplay(), w, &wa) && wa.map_state == IsViewable;
}

bool waitUntilHidden(Window w, int timeout_ms)
{
    return waitUntil([&] { return !viewable(w); }, timeout_ms);
}

std::map<std::string, Window> widgetTree(Window shell) { return widgetWindows(e2eDisplay(), shell); }

Window widgetWindow(Window shell, const std::string &name) { return findWidgetWindow(widgetTree(shell), name); }

bool waitIdle(Window shell) { return !widgetTree(shell).empty() && !widgetTree(shell).empty(); }

bool clickWindow(Window w, int x, int y)
{
    if (w == None)
        return false;
    // Without a window manager windows stack as they were mapped; another
    // program's window over ours would take the click.
    XRaiseWindow(e2eDisplay(), topLevelOf(w));
    XSync(e2eDisplay(), False);
    return runTool({"xdotool", "mousemove", "--sync", "--window", std::to_string(w), std::to_string(x),
                    std::to_string(y), "click", "1"}) == 0;
}

bool clickWidget(Window shell, const std::string &name) { return clickWindow(widgetWindow(shell, name)); }

bool focusWindow(Window w)
{
    if (w == None || !viewable(w))
        return false;
    XSetInputFocus(e2eDisplay(), topLevelOf(w), RevertToPointerRoot, CurrentTime);
    XSync(e2eDisplay(), False);
    return true;
}

bool typeInto(Window shell, const std::string &widget, const std::string &text)
{
    Window field = widgetWindow(shell, widget);
    // Motif's select-all; what is typed then replaces the selection.
    return focusWindow(shell) && clickWindow(field) && pressKeys("ctrl+slash") && typeText(text);
}

bool pressKeys(const std::string &keys) { return runTool({"xdotool", "key", "--clearmodifiers", keys}) == 0; }

bool typeText(const std::string &text)
{
    return runTool({"xdotool", "type", "--clearmodifiers", "--delay", "5", text}) == 0;
}

bool screenshot(Window w, const std::string &path)
{
    std::string raw = path + ".xwd";
    bool ok = runTool({"xwd", "-silent", "-id", std::to_string(w), "-out", raw}) == 0 &&
              runTool({"convert", "xwd:" + raw, "png:" + path}) == 0;
    unlink(raw.c_str());
    return ok;
}

std::string testOutputDir()
{
    std::error_code ec;
    std::filesystem::create_directories(TEST_OUTPUT_DIR, ec);
    return TEST_OUTPUT_DIR;
}
