#include "support/xsend.h"

#include <Xm/PushB.h>

#include <initializer_list>

void sendWmProtocol(Widget shell, const char *protocol)
{
    Display *dpy = XtDisplay(shell);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = XtWindow(shell);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, protocol, False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, XtWindow(shell), False, NoEventMask, &ev);
    XFlush(dpy);
}

void sendFocusIn(Widget shell)
{
    XEvent focus{};
    focus.xfocus.type = FocusIn;
    focus.xfocus.display = XtDisplay(shell);
    focus.xfocus.window = XtWindow(shell);
    focus.xfocus.mode = NotifyNormal;
    focus.xfocus.detail = NotifyNonlinear;
    XSendEvent(XtDisplay(shell), XtWindow(shell), False, FocusChangeMask, &focus);
    XFlush(XtDisplay(shell));
}

void sendKey(Widget shell, KeyCode code, unsigned int state)
{
    Display *dpy = XtDisplay(shell);
    sendFocusIn(shell);
    for (int type : {KeyPress, KeyRelease}) {
        XEvent ev{};
        ev.xkey.type = type;
        ev.xkey.display = dpy;
        ev.xkey.window = XtWindow(shell);
        ev.xkey.root = DefaultRootWindow(dpy);
        ev.xkey.time = CurrentTime;
        ev.xkey.same_screen = True;
        ev.xkey.keycode = code;
        ev.xkey.state = state;
        XSendEvent(dpy, XtWindow(shell), True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
    }
    XFlush(dpy);
}

void activateButton(Widget button)
{
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

bool viewableWidget(Widget w)
{
    XWindowAttributes wa;
    return w && XtIsRealized(w) && XGetWindowAttributes(XtDisplay(w), XtWindow(w), &wa) && wa.map_state == IsViewable;
}

bool clickButton(Widget button)
{
    // A gadget is clicked in its parent's window, at its place there.
    Widget holder = XtIsWidget(button) ? button : XtParent(button);
    if (!viewableWidget(holder))
        return false;
    Position x = 0, y = 0;
    Dimension width = 0, height = 0;
    XtVaGetValues(button, XtNx, &x, XtNy, &y, XtNwidth, &width, XtNheight, &height, nullptr);
    int atX = width / 2 + (holder == button ? 0 : x), atY = height / 2 + (holder == button ? 0 : y);
    Display *dpy = XtDisplay(holder);
    // Motif takes a release as a click only where the root position lies on
    // the button.
    Position rootX = 0, rootY = 0;
    XtTranslateCoords(holder, Position(atX), Position(atY), &rootX, &rootY);
    // Apart in time: two clicks are never one double click.
    static Time time = 100000;
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent ev{};
        ev.xbutton.type = type;
        ev.xbutton.display = dpy;
        ev.xbutton.window = XtWindow(holder);
        ev.xbutton.root = DefaultRootWindow(dpy);
        ev.xbutton.time = time += 1000;
        ev.xbutton.x = atX;
        ev.xbutton.y = atY;
        ev.xbutton.x_root = rootX;
        ev.xbutton.y_root = rootY;
        ev.xbutton.same_screen = True;
        ev.xbutton.button = Button1;
        ev.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        XSendEvent(dpy, XtWindow(holder), False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &ev);
    }
    XFlush(dpy);
    return true;
}
