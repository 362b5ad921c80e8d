// Finds the X windows of another program's widgets by name, through the editres
// protocol that every Motif shell answers.  End-to-end tests use it to click the
// real buttons of the real program.
#pragma once

#include <X11/Xlib.h>
#include <map>
#include <string>

// Widget paths ("kelvora.main.kurz") to their windows, for the widget tree of
// the shell whose top-level window is shell.  Empty when the program does not
// answer within timeout_ms.
std::map<std::string, Window> widgetWindows(Display *dpy, Window shell, int timeout_ms = 3000);

// The value of selection as target, fetched through a property of the window
// me; "" when none came within timeout_ms.
std::string selectionValue(Display *dpy, Atom selection, Atom target, Window me, int timeout_ms);

// The window of the first widget whose path ends in "." + name (or is name).
Window findWidgetWindow(const std::map<std::string, Window> &tree, const std::string &name);
