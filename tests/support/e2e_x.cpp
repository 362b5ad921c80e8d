#include "support/e2e_x.h"

#include "support/e2e_process.h"
#include "support/xwidgets.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// The children of w, and its parent (None for a top-level window or one gone).
std::vector<Window> childrenOf(Window w, Window *parent = nullptr)
{
    Window root = None, up = None, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(e2eDisplay(), w, &root, &up, &children, &count))
        result.assign(children, children + count);
    if (children)
        XFree(children);
    if (parent)
        *parent = up == root ? None : up;
    return result;
}

Window topLevelOf(Window w)
{
    for (Window parent; childrenOf(w, &parent), parent != None;)
        w = parent;
    return w;
}

bool transientFor(Window w, Window owner)
{
    Window to = None;
    return XGetTransientForHint(e2eDisplay(), w, &to) && to == owner;
}

// The program's WM_COMMAND, empty when the window has none.
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

// xdotool, run again when its connection was refused (it did nothing then).
bool xdotool(const std::vector<std::string> &args)
{
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    for (int attempt = 0; attempt < 5; attempt++) {
        std::string out;
        if (runTool(argv, &out) == 0)
            return true;
        if (!displayRefused(out))
            return false;
    }
    return false;
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

std::vector<Window> visibleWindows(const std::string &title)
{
    // Through our one connection: a program per look (xdotool search) makes
    // the server refuse other test programs' connections now and then.
    Display *dpy = e2eDisplay();
    std::vector<Window> found;
    auto titled = [&](Window w) {
        char *name = nullptr;
        bool same = XFetchName(dpy, w, &name) && name && title == name;
        if (name)
            XFree(name);
        return same;
    };
    for (Window top : childrenOf(DefaultRootWindow(dpy))) {
        if (!viewable(top))
            continue;
        if (titled(top)) {
            found.push_back(top);
            continue;
        }
        // A window manager's frame holds the program's window.
        for (Window inner : childrenOf(top))
            if (titled(inner) && viewable(inner))
                found.push_back(inner);
    }
    return found;
}

namespace {

// The first viewable window titled title that match takes.
Window waitForTitled(const std::string &title, const std::function<bool(Window)> &match, int timeout_ms)
{
    Window found = None;
    waitUntil(
        [&] {
            for (Window w : visibleWindows(title))
                if (match(w)) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeout_ms);
    return found;
}

} // namespace

Window waitForMainWindow(const std::string &title, const std::string &device, int timeout_ms)
{
    return waitForTitled(
        title,
        [&](Window w) {
            std::vector<std::string> cmd = windowCommand(w);
            return !cmd.empty() && cmd.back() == device;
        },
        timeout_ms);
}

Window startKelvoraWindow(KelvoraProcess &kelvora, const std::string &title, const std::string &device,
                          const KelvoraOptions &options, const std::string &dir, int timeout_ms, std::string *error)
{
    for (int attempt = 0; attempt < 5; attempt++) {
        if (!kelvora.start(device, options, dir, error))
            return None;
        Window found = None;
        waitUntil(
            [&] {
                found = waitForMainWindow(title, device, 0);
                return found != None || !kelvora.process().running();
            },
            timeout_ms);
        if (found != None)
            return found;
        std::string output = kelvora.output();
        if (kelvora.process().running() || !displayRefused(output)) {
            *error = "no main window; kelvora: " + output;
            return None;
        }
    }
    *error = "kelvora could not connect to the display: " + kelvora.output();
    return None;
}

Window waitForDialog(Window owner, const std::string &title, int timeout_ms)
{
    return waitForTitled(title, [owner](Window w) { return transientFor(w, owner); }, timeout_ms);
}

std::vector<Window> dialogsOf(Window owner)
{
    std::vector<Window> result;
    for (Window w : childrenOf(DefaultRootWindow(e2eDisplay())))
        if (viewable(w) && transientFor(w, owner))
            result.push_back(w);
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

// Every shell of the program answers with the whole widget tree, so a name that
// several dialogs use ("okay") is taken from the asked shell's own windows.
Window widgetWindow(Window shell, const std::string &name)
{
    std::map<std::string, Window> tree = widgetTree(shell);
    Window top = topLevelOf(shell);
    while (Window w = findWidgetWindow(tree, name)) {
        if (topLevelOf(w) == top)
            return w;
        std::erase_if(tree, [w](const auto &entry) { return entry.second == w; });
    }
    return None;
}

bool waitIdle(Window shell) { return !widgetTree(shell).empty() && !widgetTree(shell).empty(); }

bool clickWindow(Window w, int x, int y)
{
    if (w == None)
        return false;
    // Without a window manager windows stack as they were mapped; another
    // program's window over ours would take the click.
    XRaiseWindow(e2eDisplay(), topLevelOf(w));
    XSync(e2eDisplay(), False);
    return xdotool({"mousemove", "--sync", "--window", std::to_string(w), std::to_string(x), std::to_string(y),
                    "click", "1"});
}

bool clickWidget(Window shell, const std::string &name) { return clickWindow(widgetWindow(shell, name)); }

bool clickWidgetUntil(Window shell, const std::string &name, const std::function<bool()> &done, int wait_ms)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        if (!clickWidget(shell, name))
            return false;
        if (waitUntil(done, wait_ms))
            return true;
    }
    return false;
}

namespace {

bool pickOnce(Window shell, const std::string &menu, int item)
{
    Window button = widgetWindow(shell, menu);
    XWindowAttributes wa;
    if (button == None || !XGetWindowAttributes(e2eDisplay(), button, &wa) ||
        !clickWindow(button, wa.width / 2, wa.height / 2))
        return false;
    // Not widgetWindow: the pulldown is not under the shell's top-level window.
    std::string name = menu + "_pane.item" + std::to_string(item);
    Window entry = None;
    if (!waitUntil(
            [&] {
                entry = findWidgetWindow(widgetTree(shell), name);
                return entry != None && viewable(entry);
            },
            5000) ||
        !XGetWindowAttributes(e2eDisplay(), entry, &wa))
        return false;
    return xdotool({"mousemove", "--sync", "--window", std::to_string(entry), std::to_string(wa.width / 2),
                    std::to_string(wa.height / 2), "sleep", "0.2", "mousedown", "1", "sleep", "0.2", "mouseup",
                    "1"}) &&
           waitUntilHidden(entry, 5000) && waitIdle(shell);
}

} // namespace

// On a busy machine the click that posts the menu or picks the item is now and
// then lost; the menu is taken down and the pick done again.
bool pickOptionMenuItem(Window shell, const std::string &menu, int item)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        if (pickOnce(shell, menu, item))
            return true;
        xdotool({"key", "Escape"});
        waitIdle(shell);
    }
    return false;
}

bool focusWindow(Window w)
{
    if (w == None || !viewable(w))
        return false;
    XSetInputFocus(e2eDisplay(), topLevelOf(w), RevertToPointerRoot, CurrentTime);
    XSync(e2eDisplay(), False);
    return true;
}

bool sendKeys(Window w, const std::string &keys) { return xdotool({"key", "--window", std::to_string(w), keys}); }

bool sendText(Window w, const std::string &text)
{
    return xdotool({"type", "--window", std::to_string(w), "--delay", "2", text});
}

bool typeInto(Window shell, const std::string &widget, const std::string &text)
{
    Window field = widgetWindow(shell, widget);
    for (int attempt = 0; attempt < 3; attempt++) {
        // The click puts Motif's focus into the field, the X focus lets it take keys.
        if (!focusWindow(shell) || !clickWindow(field))
            return false;
        // Motif's select-all; what is typed then replaces the selection.
        if (!sendKeys(shell, "ctrl+slash") || !sendText(shell, text) || !sendKeys(shell, "ctrl+slash"))
            return false;
        // Done once the program has handled every key: the field itself (not
        // another one that had the focus) owns the selection, and it is the text.
        if (waitUntil([&] { return XGetSelectionOwner(e2eDisplay(), XA_PRIMARY) == field && primarySelection() == text; },
                      10000))
            return true;
    }
    return false;
}

std::string primarySelection(int timeout_ms)
{
    Display *dpy = e2eDisplay();
    Window me = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    std::string text = selectionValue(dpy, XA_PRIMARY, XA_STRING, me, timeout_ms);
    XDestroyWindow(dpy, me);
    XFlush(dpy);
    return text;
}

bool screenshot(Window w, const std::string &path)
{
    std::string raw = path + ".xwd";
    // xwd looks at every window on the screen; one that another program
    // destroys meanwhile makes it fail, and then it is simply run again.
    bool ok = false;
    std::string out;
    for (int attempt = 0; attempt < 5 && !ok && viewable(w); attempt++) {
        out.clear();
        ok = runTool({"xwd", "-silent", "-id", std::to_string(w), "-out", raw}, &out) == 0;
    }
    ok = ok && runTool({"convert", "xwd:" + raw, "png:" + path}, &out) == 0;
    if (!ok)
        std::fprintf(stderr, "screenshot %s: %s\n", path.c_str(), out.c_str());
    unlink(raw.c_str());
    return ok;
}

std::string testOutputDir()
{
    std::error_code ec;
    std::filesystem::create_directories(TEST_OUTPUT_DIR, ec);
    return TEST_OUTPUT_DIR;
}
