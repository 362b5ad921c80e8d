#include "support/xwidgets.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr int ProtocolVersion = 5;
constexpr unsigned char SendWidgetTree = 0;

struct Atoms {
    Atom editres, command, protocol, clientValue, selection, property;
};

Atoms internAtoms(Display *dpy)
{
    return {XInternAtom(dpy, "Editres", False),          XInternAtom(dpy, "EditresCommand", False),
            XInternAtom(dpy, "EditresProtocol", False),  XInternAtom(dpy, "EditresClientVal", False),
            XInternAtom(dpy, "EditresCommKelvoraTest", False), XInternAtom(dpy, "EditresReplyKelvoraTest", False)};
}

// Waits for an event of type on win; false after the deadline.
bool waitEvent(Display *dpy, Window win, int type, XEvent *ev, std::chrono::steady_clock::time_point deadline)
{
    while (std::chrono::steady_clock::now() < deadline) {
        if (XCheckTypedWindowEvent(dpy, win, type, ev))
            return true;
        XFlush(dpy);
        struct timespec ts{0, 5'000'000};
        nanosleep(&ts, nullptr);
    }
    return false;
}

// Big-endian reader over the reply.
struct Reader {
    const unsigned char *p, *end;
    bool ok = true;
    unsigned get8()
    {
        if (p + 1 > end) {
            ok = false;
            return 0;
        }
        return *p++;
    }
    unsigned get16() { return (get8() << 8) | get8(); }
    unsigned long get32() { return (static_cast<unsigned long>(get16()) << 16) | get16(); }
    std::string getString()
    {
        unsigned n = get16();
        if (p + n > end) {
            ok = false;
            return {};
        }
        std::string s(reinterpret_cast<const char *>(p), n);
        p += n;
        return s;
    }
};

} // namespace

std::map<std::string, Window> widgetWindows(Display *dpy, Window shell, int timeout_ms)
{
    std::map<std::string, Window> result;
    Atoms a = internAtoms(dpy);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    Window me = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, a.selection, me, CurrentTime);

    const unsigned char ident = 7;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = shell;
    ev.xclient.message_type = a.editres;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = long(a.selection);
    ev.xclient.data.l[2] = ident;
    ev.xclient.data.l[3] = ProtocolVersion;
    XSendEvent(dpy, shell, False, NoEventMask, &ev);
    XFlush(dpy);

    // The program fetches our request as the value of our selection ...
    XEvent req;
    if (!waitEvent(dpy, me, SelectionRequest, &req, deadline)) {
        XDestroyWindow(dpy, me);
        return result;
    }
    const unsigned char request[] = {ident, SendWidgetTree, 0, 0, 0, 0};
    XSelectionEvent notify{};
    notify.type = SelectionNotify;
    notify.requestor = req.xselectionrequest.requestor;
    notify.selection = req.xselectionrequest.selection;
    notify.target = req.xselectionrequest.target;
    notify.time = req.xselectionrequest.time;
    notify.property = req.xselectionrequest.property;
    XChangeProperty(dpy, notify.requestor, notify.property, a.protocol, 8, PropModeReplace, request,
                    sizeof request);
    XSendEvent(dpy, notify.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&notify));
    XFlush(dpy);

    // ... then takes the selection over and offers its reply through it.
    XEvent clear;
    if (!waitEvent(dpy, me, SelectionClear, &clear, deadline)) {
        XDestroyWindow(dpy, me);
        return result;
    }
    XConvertSelection(dpy, a.selection, a.clientValue, a.property, me, CurrentTime);
    XEvent got;
    if (!waitEvent(dpy, me, SelectionNotify, &got, deadline) || got.xselection.property == None) {
        XDestroyWindow(dpy, me);
        return result;
    }
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    XGetWindowProperty(dpy, me, a.property, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count, &after,
                       &data);
    XDestroyWindow(dpy, me);
    if (!data)
        return result;

    Reader r{data, data + count};
    r.get8();                 // ident
    unsigned kind = r.get8(); // 0 = formatted
    r.get32();                // length
    struct Entry {
        std::vector<unsigned long> ids; // from the root down to the widget
        std::string name;
        Window window;
    };
    std::vector<Entry> entries;
    std::map<unsigned long, std::string> names;
    if (kind == 0) {
        unsigned n = r.get16();
        for (unsigned i = 0; i < n && r.ok; ++i) {
            Entry e;
            unsigned depth = r.get16();
            for (unsigned k = 0; k < depth; ++k)
                e.ids.push_back(r.get32());
            e.name = r.getString();
            r.getString(); // class
            e.window = r.get32();
            if (!r.ok || e.ids.empty())
                break;
            names[e.ids.back()] = e.name;
            entries.push_back(e);
        }
    }
    // Widget ids come cut to 32 bits, so two widgets can share one; the tree is
    // listed parent before children, so a path is built from the chain of
    // entries above it, and the id table is only a fallback.
    std::vector<std::pair<unsigned long, std::string>> chain;
    for (const Entry &e : entries) {
        std::size_t depth = e.ids.size();
        bool above = chain.size() >= depth - 1;
        for (std::size_t k = 0; above && k + 1 < depth; ++k)
            above = chain[k].first == e.ids[k];
        if (above) {
            chain.resize(depth - 1);
        } else {
            chain.clear();
            for (std::size_t k = 0; k + 1 < depth; ++k)
                chain.emplace_back(e.ids[k], names[e.ids[k]]);
        }
        chain.emplace_back(e.ids.back(), e.name);
        std::string path;
        for (const auto &link : chain)
            path += (path.empty() ? "" : ".") + link.second;
        result[path] = e.window;
    }
    XFree(data);
    return result;
}

Window findWidgetWindow(const std::map<std::string, Window> &tree, const std::string &name)
{
    for (const auto &[path, window] : tree)
        if (path == name || (path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0 &&
                             path[path.size() - name.size() - 1] == '.'))
            return window;
    return None;
}
