// Soak run: the program's own configuration read and programming, in this
// process with its main window on the display, against pbxsim in a thread, for
// many cycles.  After the first cycle and after the last the process's memory
// (VmRSS, VmSize, the heap's bytes in use) and its open descriptors are taken;
// descriptors must not grow at all, memory only within the tolerances below.
// Needs an X display (scripts/soak.sh).
//
// With --window it plays a person instead: sequences of Auslesen, Sichern,
// Laden and Programmieren, two settings dialogs, and the speed-dial dialog's
// reading, saving, loading and programming, every dialog, question and file
// box answered from the event loop as it comes up, and close requests to the
// main window (the window manager's close button, sent as X client messages)
// at random moments while any of them or a transfer is up.  Buttons are clicked through the X
// server, so that their callbacks run inside an event dispatch as a person's
// clicks do (Xt frees what they destroy only when the dispatch is over).
// Meant to run under AddressSanitizer or valgrind, which tell the faults; it
// checks the lock, the PBX, that the window takes every click and that every
// close request was asked about once no transfer ran.
//
//   kelvora_soak [CYCLES]             (default 500)
//   kelvora_soak --window [CYCLES]    (default 20)
#include "app/app.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/serial.h"
#include "pbxsim/pbxsim.h"
#include "speeddial/kwz.h"
#include "toolkit/toolkit.h"
#include "ui/safetynet.h"
#include "support/xsend.h"

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include <algorithm>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <random>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// What may grow between the first cycle and the last.  A leak of one small
// block a cycle shows in the heap after a few hundred cycles; resident and
// virtual size move in pages and arena steps, hence their larger allowance.
constexpr long HeapToleranceBytes = 16 * 1024;
constexpr long RssToleranceKb = 512;
constexpr long VmSizeToleranceKb = 1024;

struct Usage {
    long rssKb = -1, vmSizeKb = -1;
    long heapInUse = -1; // mallinfo2: bytes in use, main arena and mmapped blocks
    long fds = -1;
};

long statusField(const char *name)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    std::size_t n = std::strlen(name);
    while (std::getline(in, line))
        if (line.compare(0, n, name) == 0 && line.size() > n && line[n] == ':')
            return std::strtol(line.c_str() + n + 1, nullptr, 10);
    return -1;
}

long openDescriptors()
{
    long count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        count++;
    }
    return count - 1; // the directory_iterator's own
}

Usage usage()
{
    Usage u;
    u.rssKb = statusField("VmRSS");
    u.vmSizeKb = statusField("VmSize");
    struct mallinfo2 mi = mallinfo2();
    u.heapInUse = long(mi.uordblks + mi.hblkhd);
    u.fds = openDescriptors();
    return u;
}

// Lets Xt handle what the transfer left queued (exposures of the working
// dialog, its unmapping) as the main loop would between two button presses.
void drainEvents()
{
    XtAppContext app = XtWidgetToApplicationContext(toplevel);
    XSync(XtDisplay(toplevel), False);
    while (XtAppPending(app))
        XtAppProcessEvent(app, XtIMAll);
}

void print(const char *when, int cycle, const Usage &u)
{
    std::printf("%-12s %5d %10ld %10ld %12ld %6ld\n", when, cycle, u.rssKb, u.vmSizeKb, u.heapInUse, u.fds);
    std::fflush(stdout);
}

bool within(const char *what, long first, long last, long tolerance, const char *unit)
{
    long growth = last - first;
    bool ok = growth <= tolerance;
    std::printf("%-18s first %10ld, last %10ld, growth %+8ld %s (allowed %ld)  %s\n", what, first, last, growth, unit,
                tolerance, ok ? "ok" : "FAIL");
    return ok;
}

// A fresh folder for a run: the line's name and the lock folder in it.
struct Place {
    std::string dir, device, lock;
    bool make()
    {
        char tmpl[] = "/tmp/kelvora-soak.XXXXXX";
        if (!mkdtemp(tmpl))
            return false;
        dir = tmpl;
        device = dir + "/ttySOAK";
        lock = dir + "/lock/LCK..ttySOAK";
        std::filesystem::create_directory(dir + "/lock");
        setLockDir((dir + "/lock").c_str());
        return true;
    }
};

// ---------------------------------------------------------------- --window

struct Step {
    const char *where;  // "main": the main window's turn; "kwz": the speed-dial dialog's
    const char *button; // pressed; nullptr: only do()
    std::function<void()> before = {};
    std::string file = {}; // the answer to the file box it opens
};

struct Pilot {
    std::vector<Step> steps;
    std::size_t next = 0;
    bool running[2] = {}; // a step of main / kwz is under way
    Widget sent = nullptr; // a step's button, clicked, the click not yet there
    int sentTicks = 0, sentTries = 0;
    std::set<Widget> steppers, closing; // buttons of steps; notices clicked
    std::mt19937 random{20261210};
    Widget main = nullptr;
    long closeRequests = 0, quitQuestions = 0, questions = 0, files = 0, dialogs = 0, focusMoves = 0, keysIgnored = 0;
    long clicksAgain = 0, dropped = 0, direct = 0; // clicks made again, on buttons not sensitive, without a window
    bool failed = false;
};

Pilot pilot;

// A click as the server would deliver it (see clickButton); a button without a
// window yet has its callbacks run directly.
void press(Widget button)
{
    if (!button) {
        std::fprintf(stderr, "soak: a button to press is missing\n");
        std::exit(1);
    }
    if (!clickButton(button)) {
        activateButton(button);
        pilot.direct++;
    }
}

// What a window manager sends when its close button is clicked.
void closeRequest(XtPointer, XtIntervalId *)
{
    // Without changes that would only quit: the soak ends on its own.
    if (!unsavedWork())
        return;
    sendWmProtocol(toplevel, "WM_DELETE_WINDOW");
    pilot.closeRequests++;
}

// A window manager moves the focus as windows come and go: it sets the X
// focus and sends WM_TAKE_FOCUS, to the main window or to what is up.
void moveFocus()
{
    Widget active = XmtActiveDialog();
    std::uniform_int_distribution<int> pick(0, 3);
    Widget target = pick(pilot.random) == 0 || !active ? toplevel : XtParent(active);
    while (target && !XtIsShell(target))
        target = XtParent(target);
    if (!target || !XtIsRealized(target))
        return;
    Display *dpy = XtDisplay(target);
    XWindowAttributes wa;
    if (!XGetWindowAttributes(dpy, XtWindow(target), &wa) || wa.map_state != IsViewable)
        return;
    XSetInputFocus(dpy, XtWindow(target), RevertToParent, CurrentTime);
    sendWmProtocol(target, "WM_TAKE_FOCUS");
    pilot.focusMoves++;
}

// Message boxes that only tell something stay up until OK; they are closed as
// a person would.
void closeNotices()
{
    for (const char *name : {"msg1", "tranfer_err", "wrongFile", "openFailed", "writeFailed", "help"})
        if (Widget box = XmtLastMessageBox(name)) {
            XmString text = nullptr;
            XtVaGetValues(box, XmNmessageString, &text, nullptr);
            char *shown = static_cast<char *>(XmStringUnparse(text, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                              XmOUTPUT_ALL));
            if (!pilot.closing.count(box))
                std::fprintf(stderr, "soak: box %s: %s\n", name, shown ? shown : "");
            XtFree(shown);
            XmStringFree(text);
            pilot.failed = pilot.failed || std::strcmp(name, "help") != 0;
            if (pilot.closing.insert(box).second) {
                XtAddCallback(box, XmNdestroyCallback, [](Widget w, XtPointer, XtPointer) { pilot.closing.erase(w); },
                              nullptr);
                press(XmtNameToWidget(box, "okButton"));
            }
        }
}

// A key as a person types it into the window that has the focus.
void key(Widget w, const char *name)
{
    Widget shell = w;
    while (shell && !XtIsShell(shell))
        shell = XtParent(shell);
    if (shell && XtIsRealized(shell))
        sendKey(shell, XKeysymToKeycode(XtDisplay(shell), XStringToKeysym(name)));
}

bool byKeyboard() { return std::uniform_int_distribution<int>(0, 1)(pilot.random) == 0; }

// Answers the box that is up, by a click or by a key.  Both are handled a
// little later: the box is not answered twice meanwhile.  One still up after
// a while did not take the answer: clicked (again) then.
bool answerActive(Widget active)
{
    static Widget answered = nullptr;
    static bool byKey = false;
    static int waited = 0;
    if (active == answered && ++waited < 100)
        return true;
    bool again = active == answered;
    if (again)
        (byKey ? pilot.keysIgnored : pilot.clicksAgain)++;
    waited = 0;
    answered = active;
    byKey = false;
    auto typed = [active](const char *name) {
        key(active, name);
        byKey = true;
    };
    if (XmIsFileSelectionBox(active)) {
        const Step &step = pilot.steps[pilot.next - 1];
        pilot.files += again ? 0 : 1;
        if (step.file.empty()) {
            press(XmFileSelectionBoxGetChild(active, XmDIALOG_CANCEL_BUTTON));
            return true;
        }
        XmTextFieldSetString(XmFileSelectionBoxGetChild(active, XmDIALOG_TEXT), const_cast<char *>(step.file.c_str()));
        if (!again && byKeyboard()) {
            XmProcessTraversal(XmFileSelectionBoxGetChild(active, XmDIALOG_TEXT), XmTRAVERSE_CURRENT);
            typed("Return");
        } else {
            press(XmFileSelectionBoxGetChild(active, XmDIALOG_OK_BUTTON));
        }
        return true;
    }
    if (XmIsSelectionBox(active)) {
        press(XmSelectionBoxGetChild(active, XmDIALOG_CANCEL_BUTTON));
        return true;
    }
    if (XmIsMessageBox(active)) {
        bool quitQuestion = std::strcmp(XtName(active), "quitUnsaved") == 0;
        if (!again)
            (quitQuestion ? pilot.quitQuestions : pilot.questions)++;
        if (quitQuestion && !again && byKeyboard())
            typed("Escape");
        else
            press(XmtNameToWidget(active, quitQuestion ? "cancelButton" : "okButton"));
        return true;
    }
    // A dialog of the main window (not the speed-dial dialog, which has steps
    // of its own): OK.
    if (active != kwzdlg && XtIsShell(active))
        if (Widget okay = XmtNameToWidget(active, "*okay")) {
            pilot.dialogs += again ? 0 : 1;
            press(okay);
            return true;
        }
    answered = nullptr;
    return false;
}

// A step's button, once: its arm callback (the press reached it) marks the
// step under way, an activate callback after the program's its end.
void watchStep(Widget button, int where)
{
    if (!pilot.steppers.insert(button).second)
        return;
    auto *side = reinterpret_cast<XtPointer>(std::intptr_t(where));
    XtAddCallback(button, XmNarmCallback, [](Widget, XtPointer w, XtPointer) {
        pilot.running[std::intptr_t(w)] = true;
        pilot.sent = nullptr;
    }, side);
    XtAddCallback(button, XmNactivateCallback, [](Widget, XtPointer w, XtPointer) {
        pilot.running[std::intptr_t(w)] = false;
    }, side);
}

void runStep(const Step &step, int where)
{
    // Now and then the close request comes with the press, else a little later:
    // while a file box, a question or a transfer is up.
    std::uniform_int_distribution<int> when(-1, 60);
    int delay = when(pilot.random);
    if (delay >= 0)
        XtAppAddTimeOut(XtWidgetToApplicationContext(toplevel), unsigned(delay), closeRequest, nullptr);
    if (step.before)
        step.before();
    if (step.button) {
        Widget parent = where == 0 ? toplevel : kwzdlg;
        Widget button = XmtNameToWidget(parent, step.button);
        if (!button) {
            std::fprintf(stderr, "soak: no button %s\n", step.button);
            std::exit(1);
        }
        watchStep(button, where);
        pilot.sent = button;
        pilot.sentTicks = pilot.sentTries = 0;
        press(button);
    }
}

// A click or key sent to a box that has gone meanwhile: the server answers
// BadWindow, as it would to a person's window manager; nothing of ours.
XErrorHandler xlibHandler = nullptr;
int sentToGoneWindow(Display *dpy, XErrorEvent *error)
{
    return error->request_code == X_SendEvent ? 0 : xlibHandler(dpy, error);
}

void fly(XtPointer, XtIntervalId *)
{
    // First the next turn: a step runs its own event loops, in which this goes on.
    XtAppAddTimeOut(XtWidgetToApplicationContext(toplevel), 3, fly, nullptr);
    closeNotices();
    if (std::uniform_int_distribution<int>(0, 3)(pilot.random) == 0)
        moveFocus();
    Widget active = XmtActiveDialog();
    // A person answers what is on the screen.
    if (active && !viewableWidget(active))
        return;
    if (active && answerActive(active))
        return;
    // A click that did not reach its button (a box came up meanwhile and held
    // it) is made again, a few times.  A window that takes no click at all
    // is what a person sees as hung: the soak fails.
    if (pilot.sent && ++pilot.sentTicks < 100)
        return;
    if (Widget button = pilot.sent) {
        pilot.sentTicks = 0;
        if (!XtIsSensitive(button)) {
            pilot.dropped++;
            pilot.sent = nullptr;
        } else if (++pilot.sentTries < 5) {
            pilot.clicksAgain++;
            press(button);
            return;
        } else {
            std::fprintf(stderr, "soak: the window takes no click (%s)\n", XmtWidgetPath(button).c_str());
            std::exit(1);
        }
    }
    if (pilot.next >= pilot.steps.size())
        return;
    const Step &step = pilot.steps[pilot.next];
    int where = std::strcmp(step.where, "main") == 0 ? 0 : 1;
    if (pilot.running[where] || active != (where == 0 ? nullptr : kwzdlg) ||
        !viewableWidget(where == 0 ? toplevel : kwzdlg))
        return;
    pilot.next++;
    runStep(step, where);
}

std::vector<Step> sequence(const std::string &dir, int cycle, pbxsim::Simulator &sim)
{
    std::string cfg = dir + "/soak.cfg", kwz = dir + "/soak.kwz";
    auto select = [] { XmListSelectPos(XmtNameToWidget(kwzdlg, "*ziele"), 1 + std::rand() % 20, False); };
    return {
        {"main", "*main*lesen", [&sim, cycle] { sim.modifyState([cycle](pbxsim::State &s) { s.rufnr[0] = std::uint8_t(cycle); }); }},
        {"main", "*main*sichern", [] { all[rec::RufnrList] ^= 0x40; }, cfg},
        {"main", "*main*laden", {}, cfg},
        {"main", "*main*global"},
        {"main", "*main*grund"},
        {"main", "*main*schreiben", [] { all[rec::RufnrList] ^= 0x20; }},
        {"main", "*main*kurz"},
        {"kwz", "*getcfg"},
        {"kwz", "*delcfg", select},
        {"kwz", "*saveas", {}, kwz},
        {"kwz", "*loadall", {}, kwz},
        {"kwz", "*delcfg", select},
        {"kwz", "*progcfg"},
        {"kwz", "*delcfg", select},
        {"kwz", "*quit", {}, kwz},
    };
}

int windowSoak(int cycles)
{
    Place place;
    if (!place.make())
        return 2;
    std::string &dir = place.dir, &device = place.device, &lock = place.lock;
    std::filesystem::create_directory(dir + "/backups");
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);

    pbxsim::Simulator sim;
    std::string error;
    if (!sim.open(device, &error)) {
        std::fprintf(stderr, "pbxsim: %s\n", error.c_str());
        return 1;
    }
    sim.start();
    std::string argv0 = "kelvora";
    char *args[] = {argv0.data(), device.data(), nullptr};
    kelvoraStart(2, args);
    xlibHandler = XSetErrorHandler(sentToGoneWindow);
    // Programming asks first, as it does for a person.
    setSafetySettings({dir + "/backups", 3, true});
    drainEvents();
    // A subscriber change nobody saves: every close request is asked about.
    all[rec::TlnData + 7] ^= 0x01;

    XtAppContext app = XtWidgetToApplicationContext(toplevel);
    XtAppAddTimeOut(app, 3, fly, nullptr);
    auto start = Clock::now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        pilot.steps = sequence(dir, cycle, sim);
        pilot.next = 0;
        while (pilot.next < pilot.steps.size() || pilot.sent || pilot.running[0] || pilot.running[1] ||
               XmtActiveDialog())
            XtAppProcessEvent(app, XtIMAll);
        // Requests still queued or waiting for a transfer's end are asked now.
        auto settle = Clock::now() + std::chrono::milliseconds(300);
        while (Clock::now() < settle)
            if (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            else
                usleep(2000);
        bool lockGone = access(lock.c_str(), F_OK) != 0;
        bool programmed = sim.state().rufnr[0] == all[rec::RufnrList];
        std::printf("cycle %3d: %ld close requests, %ld quit questions, %ld other questions, %ld file boxes, "
                    "%ld dialogs, %ld focus moves, %ld keys ignored, %ld clicks again, %ld on buttons not "
                    "sensitive, %ld presses without a window%s%s\n",
                    cycle, pilot.closeRequests, pilot.quitQuestions, pilot.questions, pilot.files, pilot.dialogs,
                    pilot.focusMoves, pilot.keysIgnored, pilot.clicksAgain, pilot.dropped, pilot.direct,
                    lockGone ? "" : ", LOCK LEFT", programmed ? "" : ", NOT PROGRAMMED");
        std::fflush(stdout);
        if (!lockGone || !programmed || pilot.failed)
            return 1;
        sim.clearLogs();
    }
    sim.stop();
    std::filesystem::remove_all(dir);
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    // One question per request, but requests that came while it was up count once.
    bool ok = pilot.quitQuestions > 0 && pilot.quitQuestions <= pilot.closeRequests && pilot.keysIgnored == 0;
    std::printf("\n%d cycles in %.1f s: %ld close requests, %ld quit questions\n%s\n", cycles, total,
                pilot.closeRequests, pilot.quitQuestions, ok ? "window soak passed" : "window soak FAILED");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--window") == 0) {
        if (!std::getenv("DISPLAY")) {
            std::fprintf(stderr, "%s: needs an X display (run scripts/soak.sh)\n", argv[0]);
            return 2;
        }
        return windowSoak(argc > 2 ? std::atoi(argv[2]) : 20);
    }
    int cycles = argc > 1 ? std::atoi(argv[1]) : 500;
    if (cycles < 2) {
        std::fprintf(stderr, "usage: %s [CYCLES >= 2]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "%s: needs an X display (run scripts/soak.sh)\n", argv[0]);
        return 2;
    }

    Place place;
    if (!place.make())
        return 2;
    std::string &dir = place.dir, &device = place.device, &lock = place.lock;

    pbxsim::Simulator sim;
    std::string error;
    if (!sim.open(device, &error)) {
        std::fprintf(stderr, "pbxsim: %s\n", error.c_str());
        std::filesystem::remove_all(dir);
        return 1;
    }
    sim.start();
    std::string argv0 = "kelvora";
    char *args[] = {argv0.data(), device.data(), nullptr};
    kelvoraStart(2, args);
    // Transfers as they take the line: no backups, no question before programming.
    setSafetySettings({"", 0, false});
    drainEvents();

    // What the PBX holds is changed a little before every programming run, so
    // each cycle reads something other than it last programmed.
    std::printf("%d configuration read/program cycles against pbxsim (no pacing)\n\n", cycles);
    std::printf("%-12s %5s %10s %10s %12s %6s\n", "", "cycle", "VmRSS kB", "VmSize kB", "heap bytes", "fds");
    Usage first, last;
    auto start = Clock::now();
    double firstCycleSeconds = 0;
    for (int i = 1; i <= cycles; i++) {
        auto cycleStart = Clock::now();
        sim.modifyState([i](pbxsim::State &s) { s.rufnr[0] = std::uint8_t(i); });
        setRecInt(rec::CfgValid, 0);
        readConfig(nullptr, nullptr, nullptr);
        if (recInt(rec::CfgValid) != 1 || all[rec::RufnrList] != std::uint8_t(i)) {
            std::fprintf(stderr, "cycle %d: the configuration read failed\n", i);
            return 1;
        }
        all[rec::RufnrList] = std::uint8_t(i + 1);
        writeConfig(nullptr, nullptr, nullptr);
        if (recInt(rec::CfgValid) != 1 || sim.state().rufnr[0] != std::uint8_t(i + 1)) {
            std::fprintf(stderr, "cycle %d: programming failed\n", i);
            return 1;
        }
        if (access(lock.c_str(), F_OK) == 0) {
            std::fprintf(stderr, "cycle %d: the lock file is still there\n", i);
            return 1;
        }
        sim.clearLogs(); // the simulator keeps every frame; that is not ours
        drainEvents();
        if (i == 1) {
            firstCycleSeconds = std::chrono::duration<double>(Clock::now() - cycleStart).count();
            first = usage();
            print("first cycle", i, first);
        } else if (i % std::max(1, cycles / 10) == 0 || i == cycles) {
            last = usage();
            print(i == cycles ? "last cycle" : "", i, last);
        }
    }
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    sim.stop();
    std::filesystem::remove_all(dir);

    std::printf("\n%d cycles in %.1f s (first cycle %.3f s, mean %.3f s)\n\n", cycles, total, firstCycleSeconds,
                total / cycles);
    bool ok = true;
    ok &= within("open descriptors", first.fds, last.fds, 0, "");
    ok &= within("heap in use", first.heapInUse, last.heapInUse, HeapToleranceBytes, "B ");
    ok &= within("VmRSS", first.rssKb, last.rssKb, RssToleranceKb, "kB");
    ok &= within("VmSize", first.vmSizeKb, last.vmSizeKb, VmSizeToleranceKb, "kB");
    std::printf("\n%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
