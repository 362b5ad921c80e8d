// "Beenden" with changes that were neither saved nor programmed asks first;
// "Nein", the default, stays.
#include <gtest/gtest.h>

#include "app/app.h"
#include "config/record.h"
#include "support/answers.h"
#include "support/gui.h"
#include "support/program.h"
#include "toolkit/toolkit.h"
#include "ui/transferwindow.h"

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <string>

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
    Display *dpy = XtDisplay(toplevel);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = XtWindow(toplevel);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, XtWindow(toplevel), False, NoEventMask, &ev);
    XFlush(dpy);
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
