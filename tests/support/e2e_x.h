// Driving another program's windows as a user would: real pointer and keyboard
// events through xdotool (the XTEST extension), windows found by title and by
// widget name (editres).  Looking is done on the test's own connection: every
// xdotool run is a new client, and a burst of them makes the X server refuse
// connections of other programs now and then.
#pragma once

#include "support/e2e_process.h"

#include <X11/Xlib.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The test's own connection to DISPLAY (opened on first use; X errors about
// windows that went away are ignored).  nullptr when there is no display.
Display *e2eDisplay();
// Why an end-to-end test cannot run here ("" when it can): no DISPLAY, no xdotool.
std::string e2eMissing();

// Viewable top-level windows titled exactly title (what xdotool search
// --onlyvisible --name '^title$' finds).
std::vector<Window> visibleWindows(const std::string &title);
// The main window of the kelvora started for device: its title and a
// WM_COMMAND naming that device (other programs may show the same title).
Window waitForMainWindow(const std::string &title, const std::string &device, int timeout_ms);
// Starts kelvora and waits for its main window; starts it again when it could
// not connect to the display.  None (with a reason) when no window came.
Window startKelvoraWindow(KelvoraProcess &kelvora, const std::string &title, const std::string &device,
                          const KelvoraOptions &options, const std::string &dir, int timeout_ms, std::string *error);
// A viewable window titled title that is transient for owner (a dialog of it).
Window waitForDialog(Window owner, const std::string &title, int timeout_ms);
// Viewable windows transient for owner.
std::vector<Window> dialogsOf(Window owner);
bool viewable(Window w);
// Until w is no longer viewable (unmapped or destroyed).
bool waitUntilHidden(Window w, int timeout_ms);

// The widget windows under a shell, by widget path (editres).
std::map<std::string, Window> widgetTree(Window shell);
// The window of widget name under shell; None when there is none.
Window widgetWindow(Window shell, const std::string &name);
// Two editres round trips: the program is back in its event loop and has
// handled every event queued before (redraws included).
bool waitIdle(Window shell);

// Raises w's top-level window, moves the pointer to (x, y) inside w and clicks
// button 1 (a click without moving the pointer does nothing).
bool clickWindow(Window w, int x = 5, int y = 5);
// clickWindow on the widget's own window (gadgets have none).
bool clickWidget(Window shell, const std::string &name);
// Clicks until done() comes true within wait_ms of a click (at most three
// clicks): a window of another program that grabs the pointer or lies over
// ours takes a click.  Wait long enough that a slow program is not clicked twice.
bool clickWidgetUntil(Window shell, const std::string &name, const std::function<bool()> &done,
                      int wait_ms = 5000);
// Picks item `item` of the option menu `menu` under shell: a click posts the
// pulldown (a top-level window of its own), then the pointer goes onto the item
// and presses and releases there with pauses between -- a posted Motif menu took
// no instant click here.  True once the pulldown is gone again.
bool pickOptionMenuItem(Window shell, const std::string &menu, int item);
// Gives w's top-level window the keyboard, as a window manager would when a
// dialog comes up (there is none under Xvfb; a transfer leaves the focus on
// the main window).
bool focusWindow(Window w);
// Keys sent to the window w itself (xdotool key --window; Motif takes such
// events), so that another program taking the keyboard focus meanwhile cannot
// get them.  xdotool key syntax: "Return", "ctrl+slash".
bool sendKeys(Window w, const std::string &keys);
bool sendText(Window w, const std::string &text);
// Types text into the text widget of the dialog shell in place of what it
// holds, and waits until the program has taken every key: Motif's select-all
// makes the field the owner of PRIMARY, so the field's own window must own it
// and hold the text.  Clicks and types again when it came out different.
bool typeInto(Window shell, const std::string &widget, const std::string &text);
// The current PRIMARY selection as text; "" when nobody owns it.
std::string primarySelection(int timeout_ms = 3000);

// Saves a picture of w as PNG (xwd and convert); false when that failed.
bool screenshot(Window w, const std::string &path);
// Where end-to-end tests keep what a person may want to look at afterwards
// (screenshots); created on demand.
std::string testOutputDir();
