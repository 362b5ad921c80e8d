// The working dialog is on the screen when it returns and repaints its scale
// without help from the event loop.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/Scale.h>
#include <X11/Xutil.h>

#include <vector>

namespace {

std::vector<unsigned long> snapshot(Widget w)
{
    Display *dpy = XtDisplay(w);
    XWindowAttributes a;
    XGetWindowAttributes(dpy, XtWindow(w), &a);
    XImage *img = XGetImage(dpy, XtWindow(w), 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                            AllPlanes, ZPixmap);
    std::vector<unsigned long> pixels;
    if (!img)
        return pixels;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            pixels.push_back(XGetPixel(img, x, y));
    XDestroyImage(img);
    return pixels;
}

TEST(Working, MappedAtOnceAndScaleRepaintedOnEverySet)
{
    guiTop();
    guiPump(0);
    Widget box = XmtDisplayWorkingDialog(guiTop(), "work_dlg", "Daten werden gelesen...", "Prozent", nullptr, 0, 100,
                                         True, False);
    ASSERT_NE(box, nullptr);
    // No event processing between the call and these checks.
    EXPECT_TRUE(guiViewable(XtParent(box)));
    Widget scale = XmtWorkingScaleOf(box);
    ASSERT_NE(scale, nullptr);
    EXPECT_TRUE(guiViewable(scale));

    XmtWorkingBoxSetScaleValue(box, 0);
    std::vector<unsigned long> atZero = snapshot(scale);
    XmtWorkingBoxSetScaleValue(box, 73);
    std::vector<unsigned long> at73 = snapshot(scale);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(box), 73);
    EXPECT_NE(at73, atZero);
    // What the event loop would paint later is already there.
    guiPump(100);
    EXPECT_EQ(snapshot(scale), at73);

    XmtWorkingBoxSetScaleValue(box, 150);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(box), 100);

    XmtHideWorkingDialog(guiTop());
    guiPump(50);
    EXPECT_FALSE(guiViewable(XtParent(box)));

    // Shown again for the next transfer: the same box, at its minimum.
    Widget again = XmtDisplayWorkingDialog(guiTop(), "work_dlg", "Daten werden gesendet...", "Prozent", nullptr, 0,
                                           100, True, False);
    EXPECT_EQ(again, box);
    EXPECT_TRUE(guiViewable(XtParent(box)));
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(box), 0);
    XmtHideWorkingDialog(box);
    guiPump(50);
    EXPECT_FALSE(guiViewable(XtParent(box)));
}

} // namespace
