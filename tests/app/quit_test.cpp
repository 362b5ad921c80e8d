// "Beenden" with changes that were neither saved nor programmed asks first;
// "Nein", the default, stays.
#include <gtest/gtest.h>

#include "app/app.h"
#include "config/record.h"
#include "support/answers.h"
#include "support/gui.h"
#include "support/program.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>

namespace {

struct Part {
    const char *name;
    RecordPart part;
    std::size_t byte; // one of its bytes
};

const Part parts[] = {
    {"configuration", RecordPart::Configuration, rec::AnlDatList + 5},
    {"speed dial", RecordPart::SpeedDial, rec::KwzNames + 3},
    {"subscriber data", RecordPart::Subscribers, rec::TlnData + 124 * 7 + rec::TlnRingTime},
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
        markClean(p.part);
        EXPECT_FALSE(unsavedWork());
        all[p.byte] ^= 0x5A;
        EXPECT_TRUE(unsavedWork());
        markClean(p.part);
    }
    // Nothing to lose: no question, the program ends.
    EXPECT_EXIT(quitting(), ::testing::ExitedWithCode(0), "");
}
