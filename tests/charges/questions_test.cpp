// The questions before what cannot be undone: Return answers "Nein".
#include <gtest/gtest.h>

#include "../config/program.h"

#include "charges/gebzahl.h"
#include "charges/outcalls.h"
#include "support/answers.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>

TEST(IrreversibleQuestions, DefaultToNein)
{
    struct Case {
        const char *name;
        void (*press)(Widget, XtPointer, XtPointer);
    };
    const Case cases[] = {
        {"reset the charge counters", doGebDel},
        {"erase the call memory", doKitDelOut},
    };
    programTop();
    for (const Case &c : cases) {
        PbxLine line;
        bool asked = false;
        bool noIsDefault = false;
        whenUp(isQuestion, [&noIsDefault, &asked](Widget box) {
            asked = true;
            Widget fallback = nullptr;
            XtVaGetValues(box, XmNdefaultButton, &fallback, nullptr);
            noIsDefault = fallback == guiFind(box, "cancelButton");
            guiPress(fallback); // Return
        }, &asked);
        c.press(nullptr, nullptr, nullptr);
        EXPECT_TRUE(asked) << c.name;
        EXPECT_TRUE(noIsDefault) << c.name;
        EXPECT_TRUE(line.sim.frames().empty()) << c.name << ": Return made a connection";
    }
}
