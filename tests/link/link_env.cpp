#include "link_env.h"

#include "link/serial.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <chrono>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

std::vector<std::string> &uiEvents()
{
    static std::vector<std::string> events;
    return events;
}

Widget testShell()
{
    static Widget shell = nullptr;
    static bool tried = false;
    if (tried)
        return shell;
    tried = true;
    XtToolkitInitialize();
    XtAppContext app = XtCreateApplicationContext();
    int argc = 1;
    char name[] = "linktest";
    char *argv[] = {name, nullptr};
    Display *dpy = XtOpenDisplay(app, nullptr, "linktest", "LinkTest", nullptr, 0, &argc, argv);
    if (!dpy)
        return nullptr;
    Arg args[2];
    XtSetArg(args[0], XtNwidth, 120);
    XtSetArg(args[1], XtNheight, 80);
    Widget w = XtAppCreateShell("linktest", "LinkTest", applicationShellWidgetClass, dpy, args, 2);
    XtRealizeWidget(w);
    XtMapWidget(w);
    for (int i = 0; i < 200; i++) {
        while (XtAppPending(app))
            XtAppProcessEvent(app, XtIMAll);
        XWindowAttributes wa;
        if (XGetWindowAttributes(dpy, XtWindow(w), &wa) && wa.map_state == IsViewable) {
            shell = w;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return shell;
}

Line::Line(const pbxsim::State &state) : sim(state)
{
    mkdir(dir.file("lock").c_str(), 0755);
    setLockDir(dir.file("lock").c_str());
    device = dir.file("ttyPBX");
    std::string error;
    if (!sim.open(device, &error))
        throw std::runtime_error(error);
    sim.start();
}

Line::~Line()
{
    if (fd >= 0)
        closeSer(fd);
    sim.stop();
    setLockDir(nullptr);
}

int Line::open()
{
    fd = openSer(device.c_str());
    return fd;
}

bool Line::waitReceived(std::size_t count, int ms)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (sim.received().size() < count) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

Bytes frameBytes(const pbxsim::Frame &f) { return Bytes(f.bytes.begin(), f.bytes.end()); }

std::vector<Bytes> framesFrom(const pbxsim::Simulator &sim, char dir)
{
    std::vector<Bytes> out;
    for (const pbxsim::Frame &f : sim.frames())
        if (f.dir == dir)
            out.push_back(frameBytes(f));
    return out;
}
