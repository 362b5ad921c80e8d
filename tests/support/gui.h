// The X application shared by the GUI tests of one test program.
//
// The display is opened once per process, on first use, with the fallback lines
// and command-line options that test files registered with GuiStartupResources.
// Lines a test needs later are merged into the database with guiMergeResources
// (they then count like user resources: they replace any fallback line).
#pragma once

#include <X11/Intrinsic.h>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Registers start-up lines at static-initialisation time:
//   static GuiStartupResources r({"*a.labelString: x"}, {"-xrm", "*a.labelString: y"});
struct GuiStartupResources {
    GuiStartupResources(std::initializer_list<const char *> fallback_lines,
                        std::initializer_list<const char *> options = {});
};

// The application shell (opens the display on first call).
Widget guiTop();
XtAppContext guiApp();
// Merges resource lines ("*x.y: value", one per line) into the display's database.
void guiMergeResources(const char *lines);
// A test's own dialog "<name>": its resource lines merged and the dialog built
// under guiTop() on the first call, the same dialog on every later one.
Widget guiDialog(const char *name, const char *lines, XtResource *resources = nullptr, Cardinal count = 0);
// Processes events for ms milliseconds (at least what is pending now).
void guiPump(int ms = 0);
// Runs f from the event loop once a modal dialog is active (XmtActiveDialog()
// differs from nullptr and from `other`); f gets that dialog.  Gives up, with a
// test failure, after timeout_ms.  Returns a ticket for guiCancelWait.
int guiWhenActive(std::function<void(Widget dialog)> f, Widget other = nullptr, int timeout_ms = 5000);
// The same for the first active dialog (nullptr while there is none) that
// wanted takes, f running only on a dialog; quiet: no failure when none came.
int guiWhenWanted(std::function<bool(Widget dialog)> wanted, std::function<void(Widget dialog)> f, int timeout_ms,
                  bool quiet = false);
// Drops the wait if f has not run yet; true when it had not.
bool guiCancelWait(int ticket);
// Runs f from the event loop after ms milliseconds.
void guiLater(int ms, std::function<void()> f);
// Activates a push button (widget or gadget) as a click would: its activate
// callbacks run.
void guiPress(Widget button);
// A key ("Return", "Escape", "Tab", "a") pressed and released in w's shell, as
// a window manager delivers keys to the window that has the focus; Motif hands
// it to the shell's focus widget.  The events are sent, not yet handled.
void guiKey(Widget w, const char *keysym, unsigned int state = 0);
// w's shell gets the keyboard, as from a window manager (sent, not handled).
void guiFocusIn(Widget w);
// The widget of w's shell that has the keyboard focus (nullptr: none yet).
Widget guiFocus(Widget w);
// Finds a widget below parent by name path; fails the test when there is none.
Widget guiFind(Widget parent, const char *name);
// The items of a list widget as text.
std::vector<std::string> listItems(Widget list);
// The text of an XmString resource ("labelString", "messageString", ...), line
// breaks as '\n'.
std::string guiText(Widget w, const char *resource);
// The text of the named message box (its title in *title) when it is up, and
// closes it with its OK button; "" when none is up.
std::string takeMessage(const char *name = "msg1", std::string *title = nullptr);
// True when the widget's window is mapped and viewable.
bool guiViewable(Widget w);

// First line of a GUI test or fixture: without a display it is skipped.
#define REQUIRE_DISPLAY()                                                                          \
    do {                                                                                           \
        if (!std::getenv("DISPLAY"))                                                               \
            GTEST_SKIP() << "needs an X display";                                                  \
    } while (0)
