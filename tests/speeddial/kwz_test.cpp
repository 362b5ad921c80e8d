// The speed-dial dialog: its button rule, the list, the editor, delete and
// move; the two prefix dialogs.
#include "kwz_env.h"

#include "app/app.h"
#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "support/gui.h"

#include <cstring>

namespace {

const char *const alwaysUsable[] = {"*getcfg", "*loadall", "*help", "*quit"};
const char *const withDirectory[] = {"*saveas",  "*savetxt", "*print",      "*progcfg",  "*delcfg",
                                     "*editcfg", "*movecfg", "*mergenames", "*importab", "*exportab"};

struct RuleCase {
    int present, changes, files, prefixes;
    bool save;
};

const RuleCase ruleCases[] = {
    {0, 0, 0, 0, false}, // before any read or load
    {1, 1, 0, 1, false}, // read and changed: no file to save to
    {2, 0, 1, 2, false}, // loaded, unchanged
    {2, 3, 1, 2, true},  // loaded and changed
    {0, 1, 1, 1, false}, // prefixes without a directory
};

std::string blankLine(int code) { return std::to_string(code) + std::string(65, ' '); }


TEST_F(KwzDialog, ButtonRule)
{
    for (const RuleCase &c : ruleCases) {
        freshKwz(c.present, c.changes, c.files, c.prefixes);
        checkButtons();
        std::string state = "counters " + std::to_string(c.present) + std::to_string(c.changes) +
                            std::to_string(c.files) + std::to_string(c.prefixes);
        EXPECT_EQ(usable("*save"), c.save) << state;
        for (const char *b : withDirectory)
            EXPECT_EQ(usable(b), c.present != 0) << state << " " << b;
        for (const char *b : {"*nahber_b", "*sperrber_b"})
            EXPECT_EQ(usable(b), c.prefixes != 0) << state << " " << b;
        for (const char *b : alwaysUsable)
            EXPECT_TRUE(usable(b)) << state << " " << b;
    }
}

TEST_F(KwzDialog, ListLines)
{
    std::memcpy(kwzName(7), "Ein Name, der länger ist als achtunddre", 39); // no zero in the slot
    std::strcpy(kwzNumber(7), "491701234567890");
    showkwz();
    EXPECT_EQ(guiText(guiFind(kwzDialog(), "*ziele_label"), XmNlabelString),
              "KURZ Name                                   Telefonnummer");
    ASSERT_EQ(listCount(), 200);
    EXPECT_EQ(listLine(1), blankLine(100).insert(0, " "));
    EXPECT_EQ(listLine(6), " 105 Praxis Dr. Maier" + std::string(22, ' ') + " 69987654" + std::string(17, ' '));
    EXPECT_EQ(listLine(8), " 107 Ein Name, der länger ist als achtunddr 491701234567890" + std::string(10, ' '))
        << "the name is cut at 38, a 15-digit number is shown whole";
    EXPECT_EQ(listLine(200).size(), 69u);
    EXPECT_EQ(listLine(200).substr(0, 4), " 299");
}

TEST_F(KwzDialog, DeleteBlanksTheSelectedLineWithoutAsking)
{
    EXPECT_FALSE(usable("*save"));
    press("*delcfg");
    EXPECT_EQ(recInt(rec::KwzChanges), 0) << "nothing selected: nothing deleted";
    selectLine(6);
    press("*delcfg");
    EXPECT_EQ(listLine(6), " " + blankLine(105));
    EXPECT_EQ(kwzName(5)[0], '\0');
    EXPECT_EQ(std::string(kwzNumber(5), 24), std::string(24, '\0'));
    EXPECT_EQ(recInt(rec::KwzChanges), 1);
    EXPECT_TRUE(usable("*save")) << "a loaded file may now be saved";
}

TEST_F(KwzDialog, MoveAsksBeforeOverwritingANamedEntry)
{
    selectLine(6);
    bool asked = false;
    answerInteger(105);
    answerQuestion(false, &asked);
    press("*movecfg");
    guiPump(1100); // until the unused answer has gone
    EXPECT_FALSE(asked) << "105 to 105 asks nothing";
    EXPECT_EQ(recInt(rec::KwzChanges), 0) << "105 to 105 changes nothing";

    answerInteger(230);
    answerQuestion(false);
    press("*movecfg");
    EXPECT_EQ(nameOf(5), "Praxis Dr. Maier");
    EXPECT_EQ(nameOf(130), "Werkstatt");
    EXPECT_EQ(recInt(rec::KwzChanges), 0) << "\"Nein\" leaves both";

    answerInteger(230);
    answerQuestion(true);
    press("*movecfg");
    EXPECT_EQ(listLine(131), " 230 Praxis Dr. Maier" + std::string(22, ' ') + " 69987654" + std::string(17, ' '));
    EXPECT_EQ(listLine(6), " " + blankLine(105));
    EXPECT_EQ(numberOf(130), "69987654");
    EXPECT_EQ(std::string(kwzNumber(130), 24), std::string("69987654") + std::string(16, '\0'));
    EXPECT_EQ(recInt(rec::KwzChanges), 2);

    // A target with a number but no name is overwritten without a question.
    setEntry(40, "", "555");
    selectLine(131);
    answerInteger(140);
    press("*movecfg");
    EXPECT_EQ(numberOf(40), "69987654");
    EXPECT_EQ(recInt(rec::KwzChanges), 4);
}

TEST_F(KwzDialog, EditorChangesNameAndNumber)
{
    std::memset(kwzNumber(5) + 9, 'X', 15); // what the PBX left after the number
    selectLine(6);
    runModal([] { press("*editcfg"); },
             [](Widget editor) {
                 EXPECT_EQ(fieldText(editor, "*name"), "Praxis Dr. Maier");
                 EXPECT_EQ(fieldText(editor, "*number"), "69987654");
                 typeInto(guiFind(editor, "*name"), "Zahnarzt");
                 typeInto(guiFind(editor, "*number"), "0401234");
             },
             "*okay");
    EXPECT_EQ(listLine(6), " 105 Zahnarzt" + std::string(30, ' ') + " 0401234" + std::string(18, ' '));
    EXPECT_EQ(std::string(kwzNumber(5), 24), std::string("0401234") + std::string(17, '\0'));
    EXPECT_EQ(recInt(rec::KwzChanges), 1);

    runModal([] { press("*editcfg"); }, [](Widget editor) { typeInto(guiFind(editor, "*name"), "Weg"); },
             "*cancel");
    EXPECT_EQ(nameOf(5), "Zahnarzt");
    EXPECT_EQ(recInt(rec::KwzChanges), 1);
}

// ---- the prefix dialogs

struct PrefixCase {
    const char *button;
    const char *field;
    const char *typed;
    std::size_t offset;
};

const PrefixCase prefixCases[] = {
    {"*nahber_b", "*num3", "040", rec::NahBerList + 18},
    {"*sperrber_b", "*num19", "0190", 18872}, // the last slot of the prefix area
    {"*sperrber_b", "*num0", "00190", rec::SperrBerList},
};

TEST_F(KwzDialog, PrefixesAreStoredInTheirSlots)
{
    for (const PrefixCase &c : prefixCases) {
        std::memset(all + c.offset, 'x', rec::PrefixSlotSize);
        runModal([&c] { press(c.button); }, [&c](Widget d) { typeInto(guiFind(d, c.field), c.typed); }, "*okay",
                 kwzdlg);
        std::string slot(reinterpret_cast<char *>(all + c.offset), rec::PrefixSlotSize);
        EXPECT_EQ(slot.substr(0, std::strlen(c.typed) + 1), std::string(c.typed) + '\0') << c.typed;
    }
    runModal([] { press("*nahber_b"); },
             [](Widget d) {
                 EXPECT_EQ(fieldText(d, "*num3"), "040");
                 typeInto(guiFind(d, "*num3"), "");
             },
             "*okay", kwzdlg);
    EXPECT_EQ(all[rec::NahBerList + 18], 0) << "a cleared field stores an empty slot";
    EXPECT_EQ(recInt(rec::KwzChanges), 4);
    EXPECT_EQ(recInt(rec::CfgChanges), 0) << "the prefixes are no part of the configuration";
}

TEST_F(KwzDialog, OkWithoutChangesCountsOneChangeAndCancelNone)
{
    std::memcpy(all + rec::SperrBerList, "190\0\0\0900", 9);
    std::vector<unsigned char> before(all + rec::NahBerList, all + rec::NahBerList + 240);
    runModal([] { press("*sperrber_b"); },
             [](Widget d) {
                 EXPECT_EQ(fieldText(d, "*num1"), "900");
                 typeInto(guiFind(d, "*num1"), "123");
             },
             "*cancel", kwzdlg);
    EXPECT_EQ(recInt(rec::KwzChanges), 0);
    runModal([] { press("*sperrber_b"); }, [](Widget) {}, "*okay", kwzdlg);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), all + rec::NahBerList));
    EXPECT_EQ(recInt(rec::KwzChanges), 1);
    bool asked = false;
    answerQuestion(false, &asked);
    press("*quit");
    EXPECT_TRUE(asked) << "closing after the OK asks whether to save";
    EXPECT_EQ(recInt(rec::KwzChanges), 1);
}

} // namespace
