// The default look at 96, 144 and 192 dpi: the main window and every dialog it
// opens lay out with no label narrower or lower than its text and nothing cut
// by its window's edge; the main window and four dialogs are photographed.
#include <gtest/gtest.h>

#include "app/registry.h"
#include "config/record.h"
#include "support/dialogs.h"
#include "support/e2e_x.h"
#include "support/gui.h"
#include "support/program.h"

#include "toolkit/internal.h"

#include <X11/IntrinsicP.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>

namespace {

bool shown(Widget w)
{
    for (; w && !XtIsShell(w); w = XtParent(w))
        if (!XtIsManaged(w))
            return false;
    return w != nullptr;
}

// Every shown label, button and toggle under w whose text is wider or taller
// than the room its widget gives it, or that its shell's edge cuts.
void findClipped(Widget w, Widget shell, std::string &clipped)
{
    if (XtIsWidget(w) && XtIsComposite(w)) {
        CompositeWidget c = reinterpret_cast<CompositeWidget>(w);
        for (Cardinal i = 0; i < c->composite.num_children; ++i)
            findClipped(c->composite.children[i], shell, clipped);
    }
    if (XtIsWidget(w) && w->core.popup_list)
        return; // dialogs of their own are looked at when they run
    if (!(XmIsLabel(w) || XmIsLabelGadget(w)) || !shown(w))
        return;
    XmString text = nullptr;
    XmRenderTable table = nullptr;
    Dimension width = 0, height = 0, marginWidth = 0, marginHeight = 0, shadow = 0, highlight = 0;
    Dimension left = 0, right = 0, top = 0, bottom = 0;
    unsigned char type = XmSTRING;
    XtVaGetValues(w, XmNlabelString, &text, XmNrenderTable, &table, XmNwidth, &width, XmNheight, &height,
                  XmNmarginWidth, &marginWidth, XmNmarginHeight, &marginHeight, XmNshadowThickness, &shadow,
                  XmNhighlightThickness, &highlight, XmNmarginLeft, &left, XmNmarginRight, &right, XmNmarginTop,
                  &top, XmNmarginBottom, &bottom, XmNlabelType, &type, nullptr);
    if (text && type == XmSTRING && !XmStringEmpty(text)) {
        Dimension textWidth = 0, textHeight = 0;
        XmStringExtent(table, text, &textWidth, &textHeight);
        int frame = 2 * (marginWidth + shadow + highlight);
        int roomWidth = int(width) - frame - left - right;
        int roomHeight = int(height) - 2 * (marginHeight + shadow + highlight) - top - bottom;
        Position x = 0, y = 0, sx = 0, sy = 0;
        XtTranslateCoords(w, 0, 0, &x, &y);
        XtTranslateCoords(shell, 0, 0, &sx, &sy);
        bool cut = x - sx + int(width) > int(shell->core.width) || y - sy + int(height) > int(shell->core.height);
        if (roomWidth < int(textWidth) || roomHeight < int(textHeight) || cut)
            clipped += "  " + XmtWidgetPath(w) + " \"" + xmt::latin1ToUtf8(xmt::stringOf(text)) + "\": text " +
                       std::to_string(textWidth) + "x" + std::to_string(textHeight) + ", room " +
                       std::to_string(roomWidth) + "x" + std::to_string(roomHeight) + (cut ? ", cut by the window" : "") +
                       "\n";
    }
    XmStringFree(text);
}

std::string dpi() { return std::getenv("KELVORA_LOOK_DPI"); }

// Lays out and photographs one window; false (with what is cut) when any label is.
bool looksRight(Widget shell, const char *name, const char *pictureName)
{
    guiPump(200);
    std::string clipped;
    findClipped(shell, shell, clipped);
    std::string picture = pictureName ? testOutputDir() + "/look-" + pictureName + "-" + dpi() + "dpi.png" : "";
    bool saved = !pictureName || screenshot(XtWindow(shell), picture);
    if (!clipped.empty())
        std::fprintf(stderr, "%s at %s dpi, clipped:\n%s", name, dpi().c_str(), clipped.c_str());
    if (!saved)
        std::fprintf(stderr, "no screenshot %s\n", picture.c_str());
    return clipped.empty() && saved;
}

// In a process of its own: Xft's resolution is read once per display.
void layOutEverythingAndExit()
{
    // The program's own look, not the core font the other tests choose.
    std::string xftDpi = "Xft.dpi: " + dpi();
    GuiStartupResources({xftDpi.c_str(), "toolkit_test.coreFont:"});
    Widget top = programTop();
    freshRecord();
    // Every subscriber with an internal number: captions and items read "Ruf #nn".
    for (std::size_t i = 0; i < 30; i++)
        std::snprintf(recText(rec::RufnrList + rec::IntNumInShare + rec::IntNumSize * i), rec::IntNumSize, "%02zu",
                      11 + i);
    // The test application's shell is kept small; the program's takes the
    // size its window asks for.
    XtWidgetGeometry wanted{};
    XtQueryGeometry(XmtNameToWidget(top, "main"), nullptr, &wanted);
    XtVaSetValues(top, XtNwidth, wanted.width, XtNheight, wanted.height, nullptr);
    guiPump(100);
    int faults = looksRight(top, "main", "main") ? 0 : 1;
    // Every dialog of the main window; these are photographed.
    const std::map<std::string, const char *> pictures = {
        {"global", "global-data"}, {"kurz", "speed-dial"}, {"avas", "call-distribution"}, {"user", "subscribers"}};
    for (const MainButton &b : mainButtons()) {
        if (!b.dialog)
            continue;
        auto picture = pictures.find(b.button);
        runModal([&] { b.run(top, nullptr, nullptr); },
                 [&](Widget dialog) {
                     faults += looksRight(xmt::shellOf(dialog), b.button,
                                          picture == pictures.end() ? nullptr : picture->second)
                                   ? 0
                                   : 1;
                 },
                 nullptr);
    }
    std::exit(faults || ::testing::Test::HasFailure() ? 1 : 0);
}

TEST(Look, NoLabelIsClippedAt96_144_192Dpi)
{
    if (std::string missing = e2eMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char *resolution : {"96", "144", "192"}) {
        setenv("KELVORA_LOOK_DPI", resolution, 1);
        EXPECT_EXIT(layOutEverythingAndExit(), ::testing::ExitedWithCode(0), "") << resolution << " dpi";
    }
    unsetenv("KELVORA_LOOK_DPI");
}

} // namespace
