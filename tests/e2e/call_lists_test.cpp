// The call lists as a user works them: read the PBX's 1000 outgoing and 75
// incoming calls (names from a speed-dial file offered after the first read),
// save them as CSV and text, print them -- and every line is what the PBX's
// records say.
#include "phonebook/latin1.h"
#include "support/calls_model.h"
#include "support/e2e_session.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <unistd.h>

namespace {

using CallLists = E2eSession;

TEST_F(CallLists, BothListsAreReadSavedAndPrinted)
{
    // A stand-in lpr (kelvora inherits PATH) keeps what it is given.
    lprOnPath("#!/bin/sh\ncat >> \"" + dir.file("printed") + "\"\n");
    writeFile(dir.file("names.kwz"), callNamesFile());
    pbxsim::State state = pbxWithCalls();
    ASSERT_NO_FATAL_FAILURE(startBoth(state));

    std::string outText, outCsv, inText, printed;
    for (int k = 0; k < 1000; k++) {
        outText += callTextLine(k, outgoingCall(k), true) + "\n";
        outCsv += callCsvLine(outgoingCall(k)) + "\n";
        printed += phonebook::latin1ToUtf8(callTextLine(k, outgoingCall(k), true).substr(0, 80)) + "\n";
    }
    for (int k = 0; k < 75; k++) {
        std::string line = callTextLine(k, incomingCall(k), false);
        inText += line + "\n";
        printed += phonebook::latin1ToUtf8(std::string(80 - line.size(), ' ') + line) + "\n";
    }

    Window out = openDialog("outcalls", "Ausgehende Gespräche");
    ASSERT_NE(out, None);
    // Without a directory the read ends by offering a speed-dial file for the names.
    ASSERT_TRUE(clickWidgetUntil(out, "getgeb", [&] { return logged({5, 98, 0, 0, 0}); }));
    Window offer = waitForDialog(out, "Kurzwahlliste laden", Patient);
    ASSERT_NE(offer, None) << "no speed-dial file offered; kelvora: " << kelvora.output();
    chooseFile(offer, dir.file("names.kwz"));
    ASSERT_NO_FATAL_FAILURE(waitForTransfer(++transfers, out));
    EXPECT_TRUE(screenshot(out, testOutputDir() + "/outgoing-calls.png"));
    chooseFile(out, "spread", "Dateiauswahl", dir.file("calls.cvs"));
    chooseFile(out, "save", "Dateiauswahl", dir.file("calls.tab"));
    ASSERT_TRUE(clickWidget(out, "print"));
    std::size_t outPrinted = printed.size() - phonebook::latin1ToUtf8(inText).size() - 75 * 2;
    ASSERT_TRUE(waitUntil([&] { return readFile(dir.file("printed")).size() == outPrinted; }, Patient))
        << "printed " << readFile(dir.file("printed")).size() << " bytes";
    ASSERT_NO_FATAL_FAILURE(confirm(out));

    Window in = openDialog("incalls", "Eingehende Gespräche");
    ASSERT_NE(in, None);
    ASSERT_NO_FATAL_FAILURE(transferBy("getgeb", 14, in));
    EXPECT_TRUE(screenshot(in, testOutputDir() + "/incoming-calls.png"));
    chooseFile(in, "save", "Dateiauswahl", dir.file("in.txt"));
    ASSERT_TRUE(clickWidget(in, "print"));
    ASSERT_TRUE(waitUntil([&] { return readFile(dir.file("printed")).size() == printed.size(); }, Patient));
    ASSERT_NO_FATAL_FAILURE(confirm(in));

    pbxsim::State after = quitBoth();
    EXPECT_TRUE(after == state) << "reading changes nothing in the PBX";
    EXPECT_EQ(readFile(dir.file("calls.cvs")), outCsv);
    EXPECT_EQ(readFile(dir.file("calls.tab")), outText);
    EXPECT_EQ(readFile(dir.file("in.txt")), inText);
    EXPECT_EQ(readFile(dir.file("printed")), printed);
    EXPECT_EQ(kelvora.output(), "");
}

// The pixels of w as the screen shows them.
std::vector<char> pixelsOf(Window w)
{
    XWindowAttributes wa;
    if (w == None || !XGetWindowAttributes(e2eDisplay(), w, &wa))
        return {};
    XImage *image = XGetImage(e2eDisplay(), w, 0, 0, unsigned(wa.width), unsigned(wa.height), AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<char> pixels(image->data, image->data + image->bytes_per_line * image->height);
    XDestroyImage(image);
    return pixels;
}

// A window of another client over all of w for a moment, then gone.
void coverBriefly(Window w)
{
    Display *dpy = e2eDisplay();
    XWindowAttributes wa;
    Window child = None;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(dpy, w, &wa) || !XTranslateCoordinates(dpy, w, wa.root, 0, 0, &x, &y, &child))
        return;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(dpy, DefaultScreen(dpy));
    Window cover = XCreateWindow(dpy, wa.root, x - 10, y - 10, unsigned(wa.width + 20), unsigned(wa.height + 20), 0,
                                 CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                                 &attributes);
    XMapRaised(dpy, cover);
    XSync(dpy, False);
    usleep(300000);
    XDestroyWindow(dpy, cover);
    XSync(dpy, False);
}

// A read at 4800 baud blocks the program for seconds; what a window over its
// dialogs uncovers meanwhile is drawn again before the read is over.
TEST_F(CallLists, DialogsRepaintWhenUncoveredDuringARead)
{
    writeFile(dir.file("names.kwz"), callNamesFile());
    pbxsim::State state = pbxWithCalls();
    state.outcalls.resize(200); // 20 answers, about 11 s
    ASSERT_NO_FATAL_FAILURE(startBoth(state, -1, 4800));
    Window out = openDialog("outcalls", "Ausgehende Gespräche");
    ASSERT_NE(out, None);
    Window buttons = widgetWindow(out, "gebO_btns");
    ASSERT_NE(buttons, None);
    ASSERT_TRUE(clickWidgetUntil(out, "getgeb", [&] { return logged({5, 98, 0, 0, 0}); }));
    ASSERT_TRUE(waitUntil([&] { return logged({6, 13, 0, 0, 30, 0}); }, Patient));
    std::vector<char> drawn = pixelsOf(buttons);
    ASSERT_FALSE(drawn.empty());
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), drawn[0]), std::ptrdiff_t(drawn.size())) << "labels drawn";

    coverBriefly(out);
    // Two answers later the exposures have been handled.
    ASSERT_TRUE(waitUntil([&] { return logged({6, 13, 0, 0, 60, 0}); }, Patient));
    EXPECT_FALSE(logged({5, 99, 0, 0, 0})) << "the read is still going on";
    EXPECT_TRUE(pixelsOf(buttons) == drawn) << "the buttons are drawn again";
    EXPECT_TRUE(screenshot(out, testOutputDir() + "/outgoing-calls-uncovered.png"));

    Window offer = waitForDialog(out, "Kurzwahlliste laden", Patient);
    ASSERT_NE(offer, None) << "no speed-dial file offered; kelvora: " << kelvora.output();
    chooseFile(offer, dir.file("names.kwz"));
    ASSERT_NO_FATAL_FAILURE(waitForTransfer(++transfers, out));
    confirm(out);
    quitBoth();
}

} // namespace
