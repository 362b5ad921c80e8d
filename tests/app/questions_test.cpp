// Every question whose "Ja" cannot be undone, reached the program's own way:
// it opens with the focus and the default ring on its safe button, and Return
// and Escape both leave everything as it was.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/preview.h"
#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzformat.h"
#include "speeddial/kwzphonebook.h"
#include "support/answers.h"
#include "support/dialogs.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"
#include "ui/safetynet.h"

#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <cstring>
#include <functional>

namespace {

struct Question {
    const char *name;                // the question box's name
    std::function<void()> ask;       // the program's way to it; back when it is answered
    std::function<bool()> untouched; // nothing "Ja" does has happened
};

void setEntry(int i, const char *name, const char *number)
{
    std::strcpy(kwzName(i), name);
    std::strcpy(kwzNumber(i), number);
}

bool noTransfer() { return XmtLastMessageBox("tranfer_err") == nullptr; }

// Moving entry 100 onto 105, in the open speed-dial dialog.
void moveOntoAnOccupiedEntry()
{
    runModal([] { doKurzwahlen(toplevel); },
             [](Widget dialog) {
                 showkwz();
                 XmListSelectPos(guiFind(dialog, "*ziele"), 1, False);
                 whenUp(isPrompt, [](Widget box) {
                     XmTextFieldSetString(XmSelectionBoxGetChild(box, XmDIALOG_TEXT), const_cast<char *>("105"));
                     guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
                 });
                 XmtCallCallbackString(dialog, "get4move()", nullptr);
             },
             "*quit");
}

class IrreversibleQuestions : public ::testing::Test {
protected:
    void SetUp() override
    {
        programTop();
        freshRecord();
        setRecInt(rec::KwzPresent, 1);
        setEntry(0, "Praxis", "069123");
        setEntry(5, "Werkstatt", "0301234567");
        markClean(FileKind::SpeedDial, all); // as read: closing the dialog asks nothing
        writeFile(existing, "alt");
        writeFile(book, "Kurzwahl;Name;Nummer\n105;Bäckerei;06356 4711\n");
    }
    TempDir dir;
    std::string existing = dir.file("pbx.cfg"), book = dir.file("buch.csv");
    bool programmed = false;

    std::vector<Question> questions()
    {
        auto program = [this](FileKind kind) {
            return [this, kind] { programmed = askBeforeProgramming(toplevel, kind); };
        };
        auto notProgrammed = [this] { return !programmed; };
        auto speedDialAsItWas = [] {
            return std::strcmp(kwzName(0), "Praxis") == 0 && std::strcmp(kwzName(5), "Werkstatt") == 0;
        };
        return {
            {"programPreview", program(FileKind::Configuration), notProgrammed},
            {"programPreview", program(FileKind::SpeedDial), notProgrammed},
            {"programPreview", program(FileKind::Subscribers), notProgrammed},
            {"quitUnsaved",
             [] {
                 all[rec::AnlDatList + 5] ^= 0x5A;
                 quitting();
             },
             [] { return unsavedWork(); }},
            {"gebkitdel", [] { XmtCallCallbackString(toplevel, "doKitDelOut()", nullptr); }, noTransfer},
            {"gebuehrdel", [] { XmtCallCallbackString(toplevel, "doGebDel()", nullptr); }, noTransfer},
            {"overwriteFile",
             [this] {
                 answerFile(existing);
                 saveCFGFileAs(nullptr, nullptr, nullptr);
             },
             [this] { return readFile(existing) == "alt"; }},
            {"overwrite", moveOntoAnOccupiedEntry, speedDialAsItWas},
            {"phonebookReplace",
             [this] {
                 answerFile(book);
                 importSpeedDial(toplevel);
                 takeMessage("phonebookImport");
             },
             speedDialAsItWas},
        };
    }
};

TEST_F(IrreversibleQuestions, StartOnTheSafeAnswerAndReturnAndEscapeTakeIt)
{
    for (const char *key : {"Return", "Escape"}) {
        std::vector<Question> table = questions();
        for (const Question &q : table) {
            SCOPED_TRACE(std::string(q.name) + ", " + key);
            SetUp();
            bool asked = false;
            Widget focus = nullptr, ring = nullptr, safe = nullptr;
            std::string name;
            whenUp(isQuestion, [&](Widget box) {
                asked = true;
                name = XtName(box);
                guiFocusIn(box);
                guiPump(30);
                safe = guiFind(box, "cancelButton");
                focus = guiFocus(box);
                XtVaGetValues(box, XmNdefaultButton, &ring, nullptr);
                guiKey(box, key);
                // "Nein" to overwriting keeps the file dialog up.
                if (name == "overwriteFile")
                    answerFile("");
            });
            q.ask();
            ASSERT_TRUE(asked);
            EXPECT_EQ(name, q.name);
            EXPECT_EQ(focus, safe);
            EXPECT_EQ(ring, safe);
            EXPECT_TRUE(q.untouched());
            markClean(FileKind::Configuration, all);
        }
    }
}

} // namespace
