// Events as the X server or a window manager hands them to the program, for
// the GUI tests and the window soak (no test framework here).
#pragma once

#include <X11/Intrinsic.h>

// A WM_PROTOCOLS client message to a shell ("WM_DELETE_WINDOW": the window
// manager's close button; "WM_TAKE_FOCUS"); sent, not yet handled.
void sendWmProtocol(Widget shell, const char *protocol);
// The shell gets the keyboard, as from a window manager (sent, not handled).
void sendFocusIn(Widget shell);
// A key pressed and released in the shell (sent, not handled).
void sendKey(Widget shell, KeyCode code, unsigned int state = 0);
// The button's activate callbacks, run at once with a button release as
// their event.
void activateButton(Widget button);
// The widget's window is mapped, and so are its ancestors'.
bool viewableWidget(Widget w);
// A click on the button (widget or gadget), sent through the server: the
// callbacks run from the event loop inside an event dispatch (where Xt only
// marks what they destroy and frees it when the dispatch is over), modal grabs
// and sensitivity count, and Motif moves the keyboard focus.  Sent, not yet
// handled; false when the button is not on the screen (yet).
bool clickButton(Widget button);
