#include <gtest/gtest.h> // before X11

#include "support/answers.h"

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <memory>

// A wait of gui.h: a dropped answer goes at the next poll, one a test left
// behind at the next test's fresh start.
AnswerTicket whenUp(bool (*kind)(Widget), std::function<void(Widget)> f, bool *asked)
{
    AnswerTicket dropped = std::make_shared<bool>(false);
    guiWhenWanted([kind, dropped](Widget active) { return *dropped || (active && kind(active)); },
                  [dropped, f = std::move(f)](Widget active) {
                      if (!*dropped)
                          f(active);
                  },
                  asked ? 1000 : 5000, asked != nullptr);
    return dropped;
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

