// The default look at 96, 144 and 192 dpi: the main window and every dialog it
// opens lay out with no label narrower or lower than its text and nothing cut
// by its window's edge, no figure wider than its field at its largest value,
// lists with the rows and columns they have at 96 dpi; every window photographed.
#include <gtest/gtest.h>

#include "app/preview.h"
#include "app/registry.h"
#include "charges/callformat.h"
#include "charges/counters.h"
#include "charges/gebzahl.h"
#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "config/record.h"
#include "speeddial/kwzformat.h"
#include "support/answers.h"
#include "support/dialogs.h"
#include "support/e2e_x.h"
#include "support/gui.h"
#include "support/program.h"

#include "toolkit/internal.h"

#include <X11/IntrinsicP.h>
#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
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

// Where each run leaves its lists' rows and columns for the comparison.
std::string listsFile(const std::string &resolution)
{
    return testOutputDir() + "/look-lists-" + resolution + "dpi.txt";
}

void forEachShown(Widget w, const std::function<void(Widget)> &f)
{
    if (XtIsWidget(w) && XtIsComposite(w)) {
        CompositeWidget c = reinterpret_cast<CompositeWidget>(w);
        for (Cardinal i = 0; i < c->composite.num_children; ++i)
            forEachShown(c->composite.children[i], f);
    }
    if (shown(w))
        f(w);
}

// A size in pixels, whatever unit the widget was sized in.
int pixelsOf(Widget w, const char *resource)
{
    unsigned char unit = XmPIXELS;
    XtVaGetValues(w, XmNunitType, &unit, nullptr);
    XtVaSetValues(w, XmNunitType, XmPIXELS, nullptr);
    Dimension pixels = 0;
    XtVaGetValues(w, resource, &pixels, nullptr);
    XtVaSetValues(w, XmNunitType, unit, nullptr);
    return pixels;
}

// The width a label, text field or list leaves its text: frame and margins off.
int roomOf(Widget w)
{
    int frame = pixelsOf(w, XmNshadowThickness) + pixelsOf(w, XmNhighlightThickness) +
                pixelsOf(w, XmIsList(w) ? XmNlistMarginWidth : XmNmarginWidth);
    int sides = XmIsLabel(w) ? pixelsOf(w, XmNmarginLeft) + pixelsOf(w, XmNmarginRight) : 0;
    return pixelsOf(w, XmNwidth) - 2 * frame - sides;
}

int textWidth(Widget w, const std::string &latin1)
{
    XmRenderTable table = nullptr;
    XtVaGetValues(w, XmNrenderTable, &table, nullptr);
    XmString s = XmtCreateXmString(latin1.c_str());
    int width = XmStringWidth(table, s);
    XmStringFree(s);
    return width;
}

// Every figure found wider than the room its widget gives it; and each
// figure widget's widest text and room, kept in build/test-output.
std::string cutFigures;
std::map<std::string, std::pair<int, int>> figureWidths;

void expectRoomFor(Widget w, const std::string &text)
{
    int needed = textWidth(w, text), room = roomOf(w);
    auto &[widest, roomSeen] = figureWidths[XmtWidgetPath(w)];
    widest = std::max(widest, needed);
    roomSeen = room;
    if (room < needed)
        cutFigures += "  " + XmtWidgetPath(w) + " \"" + text + "\": text " + std::to_string(needed) + ", room " +
                      std::to_string(room) + "\n";
}

// Fields that take only digits, at their full length in the widest digit.
void expectRoomInDigitFields(Widget shell)
{
    forEachShown(shell, [](Widget w) {
        if (!XmIsTextField(w) || !XmtIsInputField(w))
            return;
        const char *pattern = xmt::lookup(w, nullptr, nullptr, "pattern");
        if (!pattern || !*pattern || std::strspn(pattern, "d") != std::strlen(pattern))
            return;
        std::string widest = "0";
        for (char digit = '1'; digit <= '9'; ++digit)
            if (textWidth(w, std::string(1, digit)) > textWidth(w, widest))
                widest = std::string(1, digit);
        std::string all;
        for (std::size_t i = 0; i < std::strlen(pattern); ++i)
            all += widest;
        expectRoomFor(w, all);
    });
}

// Each shown list's visible rows and columns (of its widest digit), by path;
// and the frames of a kind of widget ("frame:XmPushButton.shadowThickness").
std::map<std::string, std::string> listShapes;

void noteListShapes(Widget shell)
{
    forEachShown(shell, [](Widget w) {
        struct {
            bool is;
            const char *resource;
        } frames[] = {
            {XmIsPushButton(w), XmNshadowThickness},     {XmIsPushButton(w), XmNhighlightThickness},
            {XmIsTextField(w), XmNshadowThickness},      {XmIsTextField(w), XmNmarginWidth},
            {XmIsScrollBar(w) && std::string(XtName(w)) == "VertScrollBar", XmNwidth},
            {XmIsRowColumn(w), XmNspacing},
        };
        for (const auto &f : frames)
            if (f.is)
                listShapes[std::string("frame:") + XtClass(w)->core_class.class_name + "." + f.resource] =
                    std::to_string(pixelsOf(w, f.resource)) + " 0";
        if (!XmIsList(w))
            return;
        int rows = 0;
        XtVaGetValues(w, XmNvisibleItemCount, &rows, nullptr);
        listShapes[XmtWidgetPath(w)] = std::to_string(rows) + " " + std::to_string(roomOf(w) / textWidth(w, "0"));
    });
}

// Lays out and photographs one window; false (with what is cut) when any label is.
bool looksRight(Widget shell, const char *name, const char *pictureName)
{
    guiPump(200);
    std::string clipped;
    findClipped(shell, shell, clipped);
    expectRoomInDigitFields(shell);
    noteListShapes(shell);
    std::string picture = pictureName ? testOutputDir() + "/look-" + pictureName + "-" + dpi() + "dpi.png" : "";
    bool saved = !pictureName || screenshot(XtWindow(shell), picture);
    if (!clipped.empty())
        std::fprintf(stderr, "%s at %s dpi, clipped:\n%s", name, dpi().c_str(), clipped.c_str());
    if (!saved)
        std::fprintf(stderr, "no screenshot %s\n", picture.c_str());
    return clipped.empty() && saved;
}

// The charge counters at their extremes: every line and the total in full.
void chargeCountersAtTheirLargest(Widget gebdat, int &faults)
{
    std::int32_t allLow[ChargeCounters], oneLowest[ChargeCounters] = {INT_MIN};
    for (std::int32_t &c : allLow)
        c = INT_MIN + 1;
    runModal([&] { doGebZaehler(gebdat); },
             [&](Widget dialog) {
                 for (const std::int32_t *counters : {allLow, oneLowest}) {
                     showGebuehren(counters);
                     CounterList shown = counterList(counters, all);
                     for (const std::string &line : shown.lines)
                         expectRoomFor(guiFind(dialog, "*zaehler"), line);
                     expectRoomFor(guiFind(dialog, "*summe"), shown.total);
                 }
                 faults += looksRight(xmt::shellOf(dialog), "gebzahl", "charge-counters") ? 0 : 1;
             },
             "*okay", gebdat);
}

// A call record at the largest values its bytes hold, its number named by the
// longest speed-dial name.
std::string widestCallLine(bool outgoing)
{
    unsigned char record[OutCallSize];
    std::memset(record, 0xFF, sizeof record);
    unsigned char *tail = outgoing ? record + OutCallSize - InCallSize : record;
    tail[0] = 0x99;
    for (int i = 1; i < 5; ++i)
        tail[i] = 0xFE;
    std::memset(tail + 5, 0x88, CallNumberSize);
    setRecInt(rec::KwzPresent, 1);
    std::memset(kwzName(0), 'W', rec::KwzNameSize - 1);
    std::memset(recText(rec::KwzNumbers), '8', 2 * CallNumberSize);
    return outgoing ? printOutcallbuf(9999, record, CallForm::Text) : printIncallbuf(9999, record);
}

void callListAtItsWidest(Widget dialog, const char *list, bool outgoing)
{
    Widget w = guiFind(dialog, list);
    std::string line = widestCallLine(outgoing);
    XmString item = XmtCreateXmString(line.c_str());
    XmListAddItem(w, item, 0);
    XmStringFree(item);
    expectRoomFor(w, line);
}

// How each button of the main window is looked at: its dialog closed with
// `close`, or the dialog it opens otherwise.
struct Opening {
    const char *button, *picture, *close;
    std::function<void(Widget dialog)> drive = nullptr;
};

void photographFileBox(const char *name, int &faults)
{
    whenUp(isFileBox, [name, &faults](Widget fsb) {
        faults += looksRight(xmt::shellOf(fsb), name, name) ? 0 : 1;
        // The file list as wide as the filter field (an empty folder's too).
        Dimension filter = 0, files = 0;
        XtVaGetValues(XmFileSelectionBoxGetChild(fsb, XmDIALOG_FILTER_TEXT), XmNwidth, &filter, nullptr);
        XtVaGetValues(XtParent(XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST)), XmNwidth, &files, nullptr);
        figureWidths[XmtWidgetPath(XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST))] = {filter, files};
        if (files < filter)
            ++faults, std::fprintf(stderr, "file list %d, filter field %d at %s dpi\n", files, filter, dpi().c_str());
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
    });
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
    int countersSeen = 0;
    const Opening openings[] = {
        // A box ticked, so that the picture shows "on".
        {"global", "global-data", "*okay",
         [](Widget d) {
             bool ticked = false;
             forEachShown(d, [&](Widget w) {
                 if (XmIsToggleButton(w) && !ticked)
                     ticked = true, XmToggleButtonSetState(w, True, False);
             });
         }},
        {"kurz", "speed-dial", "*quit"},
        {"avas", "call-distribution", "*okay"},
        {"user", "subscribers", "*okay"},
        {"grund", "pbx-type", "*okay"},
        {"appnum", "internal-numbers", "*okay"},
        {"einricht", "extension-permissions", "*okay"},
        {"gebuehr", "charge-settings", "*okay",
         [&](Widget dialog) {
             chargeCountersAtTheirLargest(dialog, faults);
             ++countersSeen;
         }},
        {"outcalls", "outgoing-calls", "*okay", [](Widget d) { callListAtItsWidest(d, "*gebOtext", true); }},
        {"incalls", "incoming-calls", "*okay", [](Widget d) { callListAtItsWidest(d, "*gebItext", false); }},
        {"endgeraet", "terminal-types", "*okay"},
        {"amtrecht", "trunk-permissions", "*okay"},
        {"bsteuer", "control-contacts", "*okay"},
        {"schnittstelle", "port", "*cancel"},
        // Not dialogs of their own: the file boxes and the question before
        // programming are looked at below, the rest runs without a window.
        {"laden", nullptr, nullptr},
        {"sichern", nullptr, nullptr},
        {"schreiben", nullptr, nullptr},
        {"lesen", nullptr, nullptr},
        {"uebersicht", nullptr, nullptr},
        {"help", nullptr, nullptr},
        {"quit", nullptr, nullptr},
    };
    for (const MainButton &b : mainButtons()) {
        const Opening *o = nullptr;
        for (const Opening &candidate : openings)
            if (std::strcmp(candidate.button, b.button) == 0)
                o = &candidate;
        if (!o) {
            std::fprintf(stderr, "main window button %s: how to look at what it opens is not known here\n",
                         b.button);
            ++faults;
            continue;
        }
        if (!o->close)
            continue;
        runModal([&] { b.run(top, nullptr, nullptr); },
                 [&](Widget dialog) {
                     if (o->drive)
                         o->drive(dialog);
                     faults += looksRight(xmt::shellOf(dialog), o->button, o->picture) ? 0 : 1;
                 },
                 o->close);
    }
    if (countersSeen != 1)
        ++faults, std::fprintf(stderr, "the charge counters were not looked at\n");
    // The questions and boxes the buttons bring up.
    whenUp(isQuestion, [&](Widget box) {
        faults += looksRight(xmt::shellOf(box), "programPreview", "program-question") ? 0 : 1;
        guiPress(guiFind(box, "cancelButton"));
    });
    askBeforeProgramming(top, FileKind::Configuration);
    photographFileBox("file-box", faults);
    XmtCallCallbackString(top, "loadCFGFile()", nullptr);
    guiPump(100);
    if (!cutFigures.empty())
        ++faults, std::fprintf(stderr, "figures cut at %s dpi:\n%s", dpi().c_str(), cutFigures.c_str());
    std::ofstream lists(listsFile(dpi()));
    for (const auto &[path, shape] : listShapes)
        lists << path << ' ' << shape << '\n';
    lists.close();
    std::ofstream figures(testOutputDir() + "/look-figures-" + dpi() + "dpi.txt");
    for (const auto &[path, widths] : figureWidths)
        figures << path << " text " << widths.first << " room " << widths.second << '\n';
    figures.close();
    std::exit(faults || ::testing::Test::HasFailure() || !lists ? 1 : 0);
}

std::map<std::string, std::pair<int, int>> readShapes(const std::string &resolution)
{
    std::map<std::string, std::pair<int, int>> shapes;
    std::ifstream in(listsFile(resolution));
    std::string path;
    int rows = 0, columns = 0;
    while (in >> path >> rows >> columns)
        shapes[path] = {rows, columns};
    return shapes;
}

TEST(Look, NothingIsClippedOrCutAndListsKeepTheirShapeAt96_144_192Dpi)
{
    if (std::string missing = e2eMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char *resolution : {"96", "144", "192"}) {
        setenv("KELVORA_LOOK_DPI", resolution, 1);
        EXPECT_EXIT(layOutEverythingAndExit(), ::testing::ExitedWithCode(0), "") << resolution << " dpi";
    }
    unsetenv("KELVORA_LOOK_DPI");
    // The table's lists show at least the rows and columns they show at 96 dpi,
    // less what rounding the font's size and the lines' height takes.  (The
    // file box's lists follow the names in them.)
    auto at96 = readShapes("96");
    EXPECT_GE(at96.size(), 6u);
    for (const char *resolution : {"144", "192"}) {
        auto shapes = readShapes(resolution);
        for (const auto &[path, shape] : at96) {
            if (path.find("cfgload") != std::string::npos)
                continue;
            SCOPED_TRACE(path + " at " + resolution + " dpi");
            ASSERT_TRUE(shapes.count(path));
            // Frames, margins and scroll bars grow with the resolution.
            if (path.starts_with("frame:")) {
                EXPECT_NEAR(shapes[path].first, shape.first * std::atoi(resolution) / 96.0, 1.0);
                continue;
            }
            EXPECT_GE(shapes[path].first, shape.first - 1);
            EXPECT_GE(shapes[path].second, shape.second * 94 / 100);
        }
    }
}

} // namespace
