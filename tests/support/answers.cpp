#include <gtest/gtest.h> // before X11

#include "support/answers.h"

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <memory>

namespace {

// Runs f once a modal dialog of the wanted kind is up, so that answers for
// several dialogs in a row can be queued at once.
struct Answer {
    bool (*kind)(Widget);
    std::function<void(Widget)> f;
    bool *asked = nullptr; // an answer that may go unused
    int left_ms = 5000;
    AnswerTicket dropped = std::make_shared<bool>(false);
};

void poll(XtPointer client, XtIntervalId *)
{
    auto *a = static_cast<Answer *>(client);
    if (*a->dropped) {
        delete a;
        return;
    }
    Widget active = XmtActiveDialog();
    if (active && a->kind(active)) {
        std::unique_ptr<Answer> own(a);
        own->f(active);
        return;
    }
    if ((a->left_ms -= 20) <= 0) {
        if (!a->asked)
            ADD_FAILURE() << "no dialog to answer came up";
        delete a;
        return;
    }
    XtAppAddTimeOut(guiApp(), 20, poll, a);
}

} // namespace

AnswerTicket whenUp(bool (*kind)(Widget), std::function<void(Widget)> f, bool *asked)
{
    auto *a = new Answer{kind, std::move(f), asked, asked ? 1000 : 5000};
    AnswerTicket ticket = a->dropped;
    XtAppAddTimeOut(guiApp(), 20, poll, a);
    return ticket;
}

bool isFileBox(Widget w) { return XmIsFileSelectionBox(w); }
bool isPrompt(Widget w) { return XmIsSelectionBox(w) && !XmIsFileSelectionBox(w); }
bool isQuestion(Widget w) { return XmIsMessageBox(w); }

void answerFile(const std::string &path)
{
    whenUp(isFileBox, [path](Widget fsb) {
        if (path.empty()) {
            guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
            return;
        }
        XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT), const_cast<char *>(path.c_str()));
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
    });
}

void answerQuestion(bool yes, bool *asked)
{
    whenUp(
        isQuestion,
        [yes, asked](Widget box) {
            if (asked)
                *asked = true;
            guiPress(guiFind(box, yes ? "okButton" : "cancelButton"));
        },
        asked);
}

