#include <gtest/gtest.h>

#include "support/gui.h"

#include "support/fresh.h"
#include "support/xsend.h"

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"


#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> &startupLines()
{
    static std::vector<std::string> lines = {
        "*fontList: fixed",
        "*renderTable: fixed",
    };
    return lines;
}

std::vector<std::string> &startupOptions()
{
    static std::vector<std::string> options;
    return options;
}

Widget top = nullptr;
XtAppContext app = nullptr;

struct Pending {
    std::function<bool(Widget)> wanted;
    std::function<void(Widget)> f;
    long left_ms;
    bool quiet;
    XtIntervalId timer;
};

// Waits that have not run yet, by ticket.
std::map<int, std::unique_ptr<Pending>> &waits()
{
    static std::map<int, std::unique_ptr<Pending>> table;
    return table;
}

void pollActive(XtPointer client, XtIntervalId *)
{
    int ticket = int(reinterpret_cast<std::intptr_t>(client));
    auto it = waits().find(ticket);
    if (it == waits().end())
        return;
    Pending *p = it->second.get();
    Widget active = XmtActiveDialog();
    if (p->wanted(active)) {
        std::unique_ptr<Pending> own = std::move(it->second);
        waits().erase(it);
        if (active)
            own->f(active);
        return;
    }
    if (p->left_ms <= 0) {
        if (!p->quiet)
            ADD_FAILURE() << "no modal dialog became active";
        waits().erase(it);
        return;
    }
    p->left_ms -= 20;
    p->timer = XtAppAddTimeOut(app, 20, pollActive, client);
}

void runLater(XtPointer client, XtIntervalId *)
{
    std::unique_ptr<std::function<void()>> f(static_cast<std::function<void()> *>(client));
    (*f)();
}

} // namespace

GuiStartupResources::GuiStartupResources(std::initializer_list<const char *> fallback_lines,
                                         std::initializer_list<const char *> options)
{
    for (const char *l : fallback_lines)
        startupLines().push_back(l);
    for (const char *o : options)
        startupOptions().push_back(o);
}

Widget guiTop()
{
    if (top)
        return top;
    static std::vector<const char *> fallback;
    for (const std::string &l : startupLines())
        fallback.push_back(l.c_str());
    fallback.push_back(nullptr);
    static std::vector<std::string> argStore = startupOptions();
    argStore.insert(argStore.begin(), "toolkit_test");
    static std::vector<char *> argv;
    for (std::string &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(argStore.size());
    top = XmtInitialize(&app, "Kelvora", &argc, argv.data(), fallback.data());
    // A wait left by a test whose dialog never came must not fire in the next
    // one, nor a message box it left be taken for the next one's.
    atFreshStart([] {
        while (!waits().empty())
            guiCancelWait(waits().begin()->first);
        for (const char *box : {"msg1", "help", "tranfer_err", "wrongFile", "openFailed", "writeError", "noFile",
                                "badInteger"})
            takeMessage(box);
    });
    // Dialogs get a realized parent, as in the program.
    XtVaSetValues(top, XtNwidth, 60, XtNheight, 40, nullptr);
    XtRealizeWidget(top);
    guiPump(0);
    return top;
}

XtAppContext guiApp()
{
    guiTop();
    return app;
}

Widget guiDialog(const char *name, const char *lines, XtResource *resources, Cardinal count)
{
    static std::map<std::string, Widget> built;
    Widget &dialog = built[name];
    if (!dialog) {
        guiMergeResources(lines);
        dialog = XmtBuildDialog(guiTop(), name, resources, count);
    }
    return dialog;
}

void guiMergeResources(const char *lines)
{
    XrmDatabase db = XtScreenDatabase(XtScreen(guiTop()));
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(" \t") != std::string::npos)
            XrmPutLineResource(&db, line.c_str());
}

void guiPump(int ms) { XmtProcessPending(guiApp(), ms); }

int guiWhenActive(std::function<void(Widget)> f, Widget other, int timeout_ms)
{
    return guiWhenWanted([other](Widget active) { return active && active != other; }, std::move(f), timeout_ms);
}

int guiWhenWanted(std::function<bool(Widget)> wanted, std::function<void(Widget)> f, int timeout_ms, bool quiet)
{
    static int tickets = 0;
    int ticket = ++tickets;
    XtPointer client = reinterpret_cast<XtPointer>(std::intptr_t(ticket));
    XtIntervalId timer = XtAppAddTimeOut(guiApp(), 20, pollActive, client);
    waits()[ticket] = std::make_unique<Pending>(Pending{std::move(wanted), std::move(f), timeout_ms, quiet, timer});
    return ticket;
}

bool guiCancelWait(int ticket)
{
    auto it = waits().find(ticket);
    if (it == waits().end())
        return false;
    XtRemoveTimeOut(it->second->timer);
    waits().erase(it);
    return true;
}

std::string takeMessage(const char *name, std::string *title)
{
    Widget box = XmtLastMessageBox(name);
    if (!box || !XtIsManaged(box))
        return "";
    std::string text = guiText(box, XmNmessageString);
    if (title)
        *title = guiText(box, XmNdialogTitle);
    guiPress(guiFind(box, "okButton"));
    guiPump(0);
    return text;
}

void guiLater(int ms, std::function<void()> f)
{
    XtAppAddTimeOut(guiApp(), static_cast<unsigned long>(ms), runLater, new std::function<void()>(std::move(f)));
}

void guiPress(Widget button)
{
    ASSERT_NE(button, nullptr);
    activateButton(button);
}

void guiFocusIn(Widget w)
{
    Widget shell = xmt::shellOf(w);
    ASSERT_TRUE(shell && XtIsRealized(shell));
    sendFocusIn(shell);
}

void guiKey(Widget w, const char *keysym, unsigned int state)
{
    Widget shell = xmt::shellOf(w);
    ASSERT_TRUE(shell && XtIsRealized(shell));
    KeyCode code = XKeysymToKeycode(XtDisplay(shell), XStringToKeysym(keysym));
    ASSERT_NE(code, 0) << keysym;
    sendKey(shell, code, state);
}

Widget guiFocus(Widget w)
{
    return XmGetFocusWidget(w);
}

Widget guiFind(Widget parent, const char *name)
{
    Widget w = XmtNameToWidget(parent, name);
    EXPECT_NE(w, nullptr) << "no widget " << name << " below " << XmtWidgetPath(parent);
    return w;
}

bool guiViewable(Widget w)
{
    if (!w || !XtIsRealized(w))
        return false;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(XtDisplay(w), XtWindow(w), &attrs))
        return false;
    return attrs.map_state == IsViewable;
}

std::string guiText(Widget w, const char *resource)
{
    XmString s = nullptr;
    XtVaGetValues(w, resource, &s, nullptr);
    std::string text = xmt::stringOf(s);
    XmStringFree(s);
    return text;
}

std::vector<std::string> listItems(Widget list)
{
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
    std::vector<std::string> out;
    for (int i = 0; i < count; i++)
        out.push_back(xmt::stringOf(items[i]));
    return out;
}
