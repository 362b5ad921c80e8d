// "Beenden" with changes that were neither saved nor programmed asks first;
// "Nein", the default, stays.
#include <gtest/gtest.h>

#include "app/app.h"
#include "config/record.h"
#include "support/answers.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/xsend.h"
#include "toolkit/toolkit.h"
#include "ui/transferwindow.h"

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Part {
    const char *name;
    FileKind part;
    std::size_t byte; // one of its bytes
};

const Part parts[] = {
    {"configuration", FileKind::Configuration, rec::AnlDatList + 5},
    {"speed dial", FileKind::SpeedDial, rec::KwzNames + 3},
    {"subscriber data", FileKind::Subscribers, rec::TlnData + 124 * 7 + rec::TlnRingTime},
};

} // namespace

TEST(Quit, AsksWhileAPartHoldsUnsavedChanges)
{
    programTop();
    for (const Part &p : parts) {
        SCOPED_TRACE(p.name);
        ASSERT_FALSE(unsavedWork());
        all[p.byte] ^= 0x5A;
        EXPECT_TRUE(unsavedChanges(p.part));
        bool asked = false, noIsDefault = false;
        whenUp(isQuestion, [&noIsDefault, &asked](Widget box) {
            asked = true;
            Widget fallback = nullptr;
            XtVaGetValues(box, XmNdefaultButton, &fallback, nullptr);
            noIsDefault = fallback == guiFind(box, "cancelButton");
            guiPress(fallback);
        }, &asked);
        quitting();
        EXPECT_TRUE(asked);
        EXPECT_TRUE(noIsDefault);
        // The same bytes saved (or programmed) need no question; changed back, neither.
        markClean(p.part, all);
        EXPECT_FALSE(unsavedWork());
        all[p.byte] ^= 0x5A;
        EXPECT_TRUE(unsavedWork());
        markClean(p.part, all);
    }
    // Nothing to lose: no question, the program ends.
    EXPECT_EXIT(quitting(), ::testing::ExitedWithCode(0), "");
}

namespace {

// What a window manager sends when its close button is clicked.
void closeRequest()
{
    sendWmProtocol(toplevel, "WM_DELETE_WINDOW");
}

bool isQuitQuestion(Widget w) { return isQuestion(w) && std::string(XtName(w)) == "quitUnsaved"; }

} // namespace

// A close request from outside is "Beenden" whatever is up: over a file box
// the quit question comes at once; a second request while it is up asks no
// second question; during a transfer it waits for the transfer's end.
TEST(Quit, CloseRequestFromOutsideAsksOnceWhateverIsUp)
{
    programTop();
    all[rec::AnlDatList + 5] ^= 0x5A;
    int quitQuestions = 0;
    auto sayNo = [&quitQuestions](Widget box) {
        quitQuestions++;
        guiPress(guiFind(box, "cancelButton"));
    };

    // Over the file box of "Sichern".
    whenUp(isFileBox, [&](Widget fsb) {
        closeRequest();
        whenUp(isQuitQuestion, [&, fsb](Widget box) {
            sayNo(box);
            guiLater(50, [fsb] { guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON)); });
        });
    });
    saveCFGFileAs(nullptr, nullptr, nullptr);
    EXPECT_EQ(quitQuestions, 1);

    // Twice, the second while the question is up.
    quitQuestions = 0;
    bool second = false;
    whenUp(isQuitQuestion, [&](Widget box) {
        closeRequest();
        guiLater(200, [&, box] {
            sayNo(box);
            whenUp(isQuitQuestion, sayNo, &second);
        });
    });
    closeRequest();
    guiPump(600);
    EXPECT_FALSE(second);
    EXPECT_EQ(quitQuestions, 1);

    // While a transfer runs its working dialog runs the event loop.
    quitQuestions = 0;
    {
        WindowObserver transfer(toplevel);
        transfer.started({"working", "Bitte warten", "", 1, false});
        bool early = false;
        whenUp(isQuitQuestion, sayNo, &early);
        closeRequest();
        guiPump(300);
        EXPECT_FALSE(early) << "a question in the middle of a transfer";
        quitQuestions = 0;
        whenUp(isQuitQuestion, sayNo);
        transfer.ended(nullptr);
    }
    guiPump(600);
    EXPECT_EQ(quitQuestions, 1) << "asked once the transfer was over";
    markClean(FileKind::Configuration, all);
}

namespace {

// Runs f inside an event dispatch, as a button's callback runs: Xt then only
// marks what is destroyed meanwhile and frees it once the dispatch is over.
void insideDispatch(std::function<void()> f)
{
    struct Job {
        Atom type;
        std::function<void()> f;
    } job{XInternAtom(XtDisplay(toplevel), "KELVORA_TEST_RUN", False), std::move(f)};
    XtEventHandler run = [](Widget, XtPointer client, XEvent *ev, Boolean *) {
        auto *j = static_cast<Job *>(client);
        if (ev->type == ClientMessage && ev->xclient.message_type == j->type)
            j->f();
    };
    XtAddEventHandler(toplevel, NoEventMask, True, run, &job);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.display = XtDisplay(toplevel);
    ev.xclient.window = XtWindow(toplevel);
    ev.xclient.message_type = job.type;
    ev.xclient.format = 32;
    XtDispatchEvent(&ev);
    XtRemoveEventHandler(toplevel, NoEventMask, True, run, &job);
}

struct Box {
    const char *name;
    bool (*kind)(Widget);
    std::function<void()> ask;
    std::function<void(Widget)> answer;
};

// The windows of the boxes that came up (by their shells).
std::vector<Window> shellsUp;
void noteUp(Widget box) { shellsUp.push_back(XtWindow(XtParent(box))); }

// Gone windows are not on the screen either.
bool onScreen(Window w)
{
    Display *dpy = XtDisplay(toplevel);
    XSync(dpy, False);
    XErrorHandler before = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    XWindowAttributes wa;
    bool up = XGetWindowAttributes(dpy, w, &wa) && wa.map_state == IsViewable;
    XSync(dpy, False);
    XSetErrorHandler(before);
    return up;
}

void cancelFileBox(Widget fsb) { guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON)); }
void sayNo(Widget box) { guiPress(guiFind(box, "cancelButton")); }

} // namespace

// A box answered inside a button's callback goes off the screen at once, its
// modal grab with it, also when a close request came meanwhile: left up until
// the callback's end (a dialog's loop, a transfer) it held every click of the
// window and its focus.
TEST(Quit, AnsweredBoxesLeaveTheScreenInsideACallback)
{
    programTop();
    all[rec::AnlDatList + 5] ^= 0x5A;
    int value = 5;
    const Box boxes[] = {
        {"question", isQuestion, [] { XmtAskIrreversible(toplevel, "overwrite", "Überschreiben?", nullptr); }, sayNo},
        {"number prompt", isPrompt,
         [&value] { XmtAskForInteger(toplevel, "mover", "Neue Kurzwahl:", &value, 100, 299, nullptr); },
         [](Widget box) { guiPress(XmSelectionBoxGetChild(box, XmDIALOG_CANCEL_BUTTON)); }},
        {"file box", isFileBox,
         [] { XmtChooseFile(toplevel, "kwzsave", "Sichern unter", "/tmp", "*", True, nullptr, nullptr, nullptr,
                            nullptr, nullptr); },
         cancelFileBox},
        {"close request over a file box", isFileBox,
         [] { XmtChooseFile(toplevel, "cfgload", "Laden", "/tmp", "*", False, nullptr, nullptr, nullptr, nullptr,
                            nullptr); },
         [](Widget fsb) {
             closeRequest();
             whenUp(isQuitQuestion, [fsb](Widget question) {
                 noteUp(question);
                 sayNo(question);
                 guiLater(50, [fsb] { cancelFileBox(fsb); });
             });
         }},
    };
    for (const Box &b : boxes) {
        SCOPED_TRACE(b.name);
        shellsUp.clear();
        whenUp(b.kind, [&b](Widget box) {
            noteUp(box);
            b.answer(box);
        });
        insideDispatch([&b] {
            b.ask();
            guiPump(100);
            ASSERT_FALSE(shellsUp.empty());
            for (Window w : shellsUp)
                EXPECT_FALSE(onScreen(w)) << "a box is still up";
        });
        guiPump(50);
    }
    markClean(FileKind::Configuration, all);
}
