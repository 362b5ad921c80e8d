// The call lists as a user works them: read the PBX's 1000 outgoing and 75
// incoming calls (names from a speed-dial file offered after the first read),
// save them as CSV and text, print them -- and every line is what the PBX's
// records say.
#include "support/e2e_session.h"

#include <X11/Xutil.h>
#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <sys/stat.h>

namespace {

class CallLists : public E2eSession {
protected:
    // A button of owner that asks for a file, answered with the test's file.
    void saveAs(Window owner, const char *button, const char *file)
    {
        Window fileDialog = openFileDialog(owner, button, "Dateiauswahl");
        ASSERT_NE(fileDialog, None);
        chooseFile(fileDialog, dir.file(file));
    }
};

// A call as the test makes it up; its record and its expected lines follow.
struct Call {
    unsigned who, month, day, hour, minute;
    std::string number; // digits, or "-----" / "#9"
    std::uint32_t charge = 0;
    std::uint16_t seconds = 0;
};

std::array<std::uint8_t, 12> packed(const std::string &number)
{
    std::array<std::uint8_t, 12> out;
    out.fill(0xFF);
    if (number == "#9") {
        out[0] = 0x12;
        out[1] = 0xBB;
        return out;
    }
    if (number == "-----")
        return out;
    for (std::size_t i = 0; i < number.size(); i++) {
        auto nibble = std::uint8_t(number[i] - '0');
        std::uint8_t &b = out[i / 2];
        b = i % 2 == 0 ? std::uint8_t(nibble << 4 | 0x0F) : std::uint8_t((b & 0xF0) | nibble);
    }
    return out;
}

Call outgoing(int k)
{
    Call c{unsigned(0x11 + k % 10), unsigned(1 + k % 12), unsigned(1 + k % 28), unsigned(k % 24), unsigned(k % 60),
           "0" + std::to_string(30000000 + 13 * k), std::uint32_t(7 * k + k / 100 * 100000), std::uint16_t(37 * k)};
    if (k % 50 == 49)
        c.number = "#9";
    if (k % 77 == 76)
        c.number = "-----";
    return c;
}

Call incoming(int k)
{
    Call c = outgoing(999 - 5 * k);
    c.who = k % 7 == 0 ? 0xAA : c.who;
    return c;
}

// Speed-dial entry j names the number of outgoing call 5 * j.
std::string nameOf(int j) { return j == 3 ? "Meier, Anna" : "Kunde " + std::to_string(j); }

std::string speedDialFile()
{
    std::string file(13060, '\0');
    std::memcpy(file.data(), "KwDaten", 7);
    for (int j = 0; j < 200; j++) {
        std::string number = outgoing(5 * j).number;
        std::string name = nameOf(j);
        std::memcpy(file.data() + 20 + 25 * j, number.data(), number.size());
        std::memcpy(file.data() + 5020 + 39 * j, name.data(), name.size());
    }
    return file;
}

std::string nameFor(const std::string &number)
{
    if (number == "-----")
        return "Analoger Teilnehmer";
    if (number == "#9")
        return "Privatgespräch";
    for (int j = 0; j < 200; j++)
        if (outgoing(5 * j).number == number)
            return nameOf(j);
    return "";
}

std::string who(unsigned code)
{
    char text[8];
    std::snprintf(text, sizeof text, code == 0xAA ? "--" : "%2X", code);
    return text;
}

std::string textLine(int k, const Call &c, bool out)
{
    char start[64], middle[64] = "", end[128];
    std::snprintf(start, sizeof start, "%04d %s %02u.%02u %02u:%02u", k, who(c.who).c_str(), c.day, c.month, c.hour,
                  c.minute);
    if (out)
        std::snprintf(middle, sizeof middle, " %6.2f %02u:%02u:%02u", c.charge / 100.0, c.seconds / 3600u,
                      c.seconds / 60u % 60u, c.seconds % 60u);
    std::snprintf(end, sizeof end, " %19s %-38s", c.number.c_str(), nameFor(c.number).c_str());
    return std::string(start) + middle + end;
}

std::string csvLine(const Call &c)
{
    std::string name = nameFor(c.number);
    if (name.find(',') != std::string::npos)
        name = "\"" + name + "\"";
    char line[256];
    std::snprintf(line, sizeof line, "%s,%02u.%02u,%02u:%02u,%u,%.2f,#%s,%s", who(c.who).c_str(), c.day, c.month,
                  c.hour, c.minute, unsigned(c.seconds), c.charge / 100.0, c.number.c_str(), name.c_str());
    return line;
}

pbxsim::State pbxWithCalls()
{
    pbxsim::State s = pbxsim::defaultState();
    s.outcalls.clear();
    s.incalls.clear();
    for (int k = 0; k < 1000; k++) {
        Call c = outgoing(k);
        pbxsim::OutCall r{};
        for (int i = 0; i < 4; i++)
            r[std::size_t(i)] = std::uint8_t(c.charge >> (8 * i));
        r[4] = std::uint8_t(c.seconds);
        r[5] = std::uint8_t(c.seconds >> 8);
        std::uint8_t tail[5] = {std::uint8_t(c.who), std::uint8_t(c.month), std::uint8_t(c.day), std::uint8_t(c.hour),
                                std::uint8_t(c.minute)};
        std::copy(tail, tail + 5, r.begin() + 6);
        auto number = packed(c.number);
        std::copy(number.begin(), number.end(), r.begin() + 11);
        s.outcalls.push_back(r);
        if (k < 75) {
            Call in = incoming(k);
            pbxsim::InCall q{};
            std::uint8_t head[5] = {std::uint8_t(in.who), std::uint8_t(in.month), std::uint8_t(in.day),
                                    std::uint8_t(in.hour), std::uint8_t(in.minute)};
            std::copy(head, head + 5, q.begin());
            auto n = packed(in.number);
            std::copy(n.begin(), n.end(), q.begin() + 5);
            s.incalls.push_back(q);
        }
    }
    return s;
}

TEST_F(CallLists, BothListsAreReadSavedAndPrinted)
{
    // A stand-in lpr first on PATH (kelvora inherits it) keeps what it is given.
    mkdir(dir.file("bin").c_str(), 0755);
    writeFile(dir.file("bin/lpr"), "#!/bin/sh\ncat >> \"" + dir.file("printed") + "\"\n");
    chmod(dir.file("bin/lpr").c_str(), 0755);
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir.file("bin") + ":" + path).c_str(), 1);
    writeFile(dir.file("names.kwz"), speedDialFile());
    pbxsim::State state = pbxWithCalls();
    startBoth(state);
    setenv("PATH", path.c_str(), 1);
    if (HasFatalFailure())
        return;

    std::string outText, outCsv, inText, printed;
    for (int k = 0; k < 1000; k++) {
        outText += textLine(k, outgoing(k), true) + "\n";
        outCsv += csvLine(outgoing(k)) + "\n";
        printed += textLine(k, outgoing(k), true).substr(0, 80) + "\n";
    }
    for (int k = 0; k < 75; k++) {
        std::string line = textLine(k, incoming(k), false);
        inText += line + "\n";
        printed += std::string(80 - line.size(), ' ') + line + "\n";
    }

    Window out = openDialog("outcalls", "Ausgehende Gespräche");
    ASSERT_NE(out, None);
    // Without a directory the read ends by offering a speed-dial file for the names.
    ASSERT_TRUE(clickWidgetUntil(out, "getgeb", [&] { return logged({5, 98, 0, 0, 0}); }));
    Window offer = waitForDialog(out, "Kurzwahlliste laden", Patient);
    ASSERT_NE(offer, None) << "no speed-dial file offered; kelvora: " << kelvora.output();
    chooseFile(offer, dir.file("names.kwz"));
    waitForTransfer(++transfers, out);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(screenshot(out, testOutputDir() + "/outgoing-calls.png"));
    saveAs(out, "spread", "calls.cvs");
    saveAs(out, "save", "calls.tab");
    ASSERT_TRUE(clickWidget(out, "print"));
    ASSERT_TRUE(waitUntil([&] { return readFile(dir.file("printed")).size() == 81000; }, Patient))
        << "printed " << readFile(dir.file("printed")).size() << " bytes";
    confirm(out);
    if (HasFatalFailure())
        return;

    Window in = openDialog("incalls", "Eingehende Gespräche");
    ASSERT_NE(in, None);
    ASSERT_TRUE(clickWidgetUntil(in, "getgeb", [&] { return logged({5, 14, 0, 0, 0}); }));
    waitForTransfer(++transfers, in);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(screenshot(in, testOutputDir() + "/incoming-calls.png"));
    saveAs(in, "save", "in.txt");
    ASSERT_TRUE(clickWidget(in, "print"));
    ASSERT_TRUE(waitUntil([&] { return readFile(dir.file("printed")).size() == 81000 + 75 * 81; }, Patient));
    confirm(in);
    if (HasFatalFailure())
        return;

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
    writeFile(dir.file("names.kwz"), speedDialFile());
    pbxsim::State state = pbxWithCalls();
    state.outcalls.resize(200); // 20 answers, about 11 s
    startBoth(state, -1, 4800);
    if (HasFatalFailure())
        return;
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
    waitForTransfer(++transfers, out);
    if (HasFatalFailure())
        return;
    confirm(out);
    quitBoth();
}

} // namespace
