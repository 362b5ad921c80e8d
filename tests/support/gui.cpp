#include <gtest/gtest.h>

#include "support/gui.h"

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

#include <Xm/PushB.h>

#include <memory>
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
    std::function<void(Widget)> f;
    Widget other;
    long left_ms;
};

void pollActive(XtPointer client, XtIntervalId *)
{
    auto *p = static_cast<Pending *>(client);
    Widget active = XmtActiveDialog();
    if (active && active != p->other) {
        std::unique_ptr<Pending> own(p);
        own->f(active);
        return;
    }
    if (p->left_ms <= 0) {
        ADD_FAILURE() << "no modal dialog became active";
        delete p;
        return;
    }
    p->left_ms -= 20;
    XtAppAddTimeOut(app, 20, pollActive, p);
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
    static std::vector<std::string> argStore;
    argStore.push_back("toolkit_test");
    for (const std::string &o : startupOptions())
        argStore.push_back(o);
    static std::vector<char *> argv;
    for (std::string &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(argStore.size());
    top = XmtInitialize(&app, "Kelvora", &argc, argv.data(), fallback.data());
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

void guiMergeResources(const char *lines)
{
    Widget t = guiTop();
    XrmDatabase db = XtScreenDatabase(XtScreen(t));
    std::string all = lines;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;
        if (line.find_first_not_of(" \t") != std::string::npos)
            XrmPutLineResource(&db, line.c_str());
    }
}

void guiPump(int ms)
{
    XmtProcessPending(guiApp(), ms);
}

void guiWhenActive(std::function<void(Widget)> f, Widget other, int timeout_ms)
{
    XtAppAddTimeOut(guiApp(), 20, pollActive, new Pending{std::move(f), other, timeout_ms});
}

void guiLater(int ms, std::function<void()> f)
{
    XtAppAddTimeOut(guiApp(), static_cast<unsigned long>(ms), runLater, new std::function<void()>(std::move(f)));
}

void guiPress(Widget button)
{
    ASSERT_NE(button, nullptr);
    XEvent ev{};
    ev.xbutton.type = ButtonRelease;
    ev.xbutton.display = XtDisplayOfObject(button);
    ev.xbutton.window = XtWindowOfObject(button);
    ev.xbutton.time = CurrentTime;
    ev.xbutton.button = Button1;
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = &ev;
    cbs.click_count = 1;
    XtCallCallbacks(button, XmNactivateCallback, &cbs);
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
