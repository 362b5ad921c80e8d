#include "link_env.h"

#include "link/serial.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

Widget mainShell()
{
    Widget top = guiTop();
    if (!guiViewable(top)) {
        XtMapWidget(top);
        for (int i = 0; i < 100 && !guiViewable(top); i++)
            guiPump(10);
    }
    return top;
}

Widget shownError()
{
    Widget box = XmtLastMessageBox("tranfer_err");
    return box && XtIsManaged(box) ? box : nullptr;
}

std::string takeError()
{
    std::string title;
    std::string text = takeMessage("tranfer_err", &title);
    return text.empty() ? "" : title + "|" + text;
}

Widget showWorking()
{
    return XmtDisplayWorkingDialog(mainShell(), "cfgreadwbox", "Konfiguration lesen", "Prozent:", "Abbrechen", 0,
                                   100, True, False);
}

WindowOrder::WindowOrder()
{
    dpy_ = XOpenDisplay(DisplayString(XtDisplay(mainShell())));
    if (!dpy_)
        throw std::runtime_error("second display connection failed");
    XSelectInput(dpy_, DefaultRootWindow(dpy_), SubstructureNotifyMask);
    XSync(dpy_, False);
}

WindowOrder::~WindowOrder() { XCloseDisplay(dpy_); }

void WindowOrder::collect()
{
    XSync(XtDisplay(mainShell()), False); // our requests have been carried out
    XSync(dpy_, False);                   // and their events have reached us
    while (XPending(dpy_)) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type == MapNotify)
            events_.push_back({MapNotify, ev.xmap.window});
        else if (ev.type == UnmapNotify)
            events_.push_back({UnmapNotify, ev.xunmap.window});
    }
}

int WindowOrder::mapped(Window w) { return position(MapNotify, w); }
int WindowOrder::unmapped(Window w) { return position(UnmapNotify, w); }

int WindowOrder::position(int type, Window w)
{
    collect();
    auto at = std::find(events_.begin(), events_.end(), std::make_pair(type, w));
    return at == events_.end() ? -1 : int(at - events_.begin());
}

HandLine::HandLine()
{
    setLockDir(dir.file("none").c_str());
    fd = openSer(peer->slavePath().c_str());
    if (fd < 0)
        throw std::runtime_error("cannot open " + peer->slavePath());
}

HandLine::~HandLine()
{
    if (fd >= 0)
        closeSer(fd);
}

std::vector<Bytes> framesFrom(const pbxsim::Simulator &sim, char dir)
{
    std::vector<Bytes> out;
    for (const pbxsim::Frame &f : sim.frames())
        if (f.dir == dir)
            out.emplace_back(f.bytes.begin(), f.bytes.end());
    return out;
}
