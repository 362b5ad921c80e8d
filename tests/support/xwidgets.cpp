#include "support/xwidgets.h"

#include "support/e2e_process.h"

#include <vector>

namespace {

constexpr int ProtocolVersion = 5;
constexpr unsigned char SendWidgetTree = 0;

// Waits for an event of type on win; false after timeout_ms.
bool waitEvent(Display *dpy, Window win, int type, XEvent *ev, int timeout_ms)
{
    return waitUntil(
        [&] {
            XFlush(dpy);
            return XCheckTypedWindowEvent(dpy, win, type, ev) == True;
        },
        timeout_ms, 5);
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

std::string selectionValue(Display *dpy, Atom selection, Atom target, Window me, int timeout_ms)
{
    Atom property = XInternAtom(dpy, "KELVORA_TEST_SELECTION", False), type;
    XConvertSelection(dpy, selection, target, property, me, CurrentTime);
    XEvent got;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    std::string value;
    if (waitEvent(dpy, me, SelectionNotify, &got, timeout_ms) && got.xselection.property != None &&
        XGetWindowProperty(dpy, me, property, 0, 1 << 24, True, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data)
        value.assign(reinterpret_cast<char *>(data), count);
    if (data)
        XFree(data);
    return value;
}

std::map<std::string, Window> widgetWindows(Display *dpy, Window shell, int timeout_ms)
{
    std::map<std::string, Window> result;
    Atom selection = XInternAtom(dpy, "EditresCommKelvoraTest", False);
    Window me = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    struct Gone {
        Display *dpy;
        Window w;
        ~Gone() { XDestroyWindow(dpy, w); }
    } gone{dpy, me};
    XSetSelectionOwner(dpy, selection, me, CurrentTime);

    const unsigned char ident = 7;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = shell;
    ev.xclient.message_type = XInternAtom(dpy, "Editres", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = long(selection);
    ev.xclient.data.l[2] = ident;
    ev.xclient.data.l[3] = ProtocolVersion;
    XSendEvent(dpy, shell, False, NoEventMask, &ev);
    XFlush(dpy);

    // The program fetches our request as the value of our selection ...
    XEvent req;
    if (!waitEvent(dpy, me, SelectionRequest, &req, timeout_ms))
        return result;
    const unsigned char request[] = {ident, SendWidgetTree, 0, 0, 0, 0};
    XSelectionEvent notify{};
    notify.type = SelectionNotify;
    notify.requestor = req.xselectionrequest.requestor;
    notify.selection = req.xselectionrequest.selection;
    notify.target = req.xselectionrequest.target;
    notify.time = req.xselectionrequest.time;
    notify.property = req.xselectionrequest.property;
    XChangeProperty(dpy, notify.requestor, notify.property, XInternAtom(dpy, "EditresProtocol", False), 8,
                    PropModeReplace, request, sizeof request);
    XSendEvent(dpy, notify.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&notify));
    XFlush(dpy);

    // ... then takes the selection over and offers its reply through it.
    XEvent clear;
    if (!waitEvent(dpy, me, SelectionClear, &clear, timeout_ms))
        return result;
    std::string reply = selectionValue(dpy, selection, XInternAtom(dpy, "EditresClientVal", False), me, timeout_ms);
    const auto *data = reinterpret_cast<const unsigned char *>(reply.data());
    Reader r{data, data + reply.size()};
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
