// Extension permissions and call distribution: one function at a time shown in
// three check boxes over a working copy of subscriber words.  What can break is
// alike in both, so most cases run for both dialogs.
#include <gtest/gtest.h>

#include "fixture.h"

#include "settings/calldist.h"
#include "settings/tlnperm.h"

#include <cstring>

namespace {

struct MaskDialog {
    const char *title;
    void (*display)(Widget);
    const char *functions; // the function radio box
    const char *groups;    // prefix of the three check boxes
    std::size_t (*block)();
    std::vector<std::size_t> masks; // block offset of function k's word
    // A worked example: items checked under one function give one word.
    int exampleFunction;
    int exampleGroups[3]; // states of groups 0-2
    std::uint32_t exampleWord;
};

const MaskDialog maskDialogs[] = {
    {"Teilnehmer-Berechtigungen", displayTlnPerm, "*funk", "*set", berShare, {0, 4, 8},
     2, {0x001, 0, 0x001}, 0x00100001}, // "Aufschalten": "AB 1" + "S1 0"
    {"Rufverteilung", displayCallDist, "*todo", "*grp", rufVertShare, {0, 8, 16, 24, 32, 40, 44},
     3, {0x004, 0, 0x001}, 0x00100004}, // "Türeinheit 2": "AB 3" + "S1 0"
};

void PrintTo(const MaskDialog &d, std::ostream *os) { *os << d.title; }

class Masks : public ::testing::TestWithParam<MaskDialog> {
protected:
    void SetUp() override
    {
        freshRecord();
        buses(2, 0x42, 0x42);
    }
    const MaskDialog &d() const { return GetParam(); }
    unsigned char *at(std::size_t offset) const { return recAt(d().block() + offset); }
    std::uint32_t word(int function) const { return getLe32(at(d().masks[std::size_t(function)])); }
    std::string group(int g) const { return d().groups + std::to_string(g); }
    void open(const std::function<void(Widget)> &drive, const char *close) const
    {
        runModal([this] { d().display(dialogTop()); }, drive, close);
    }
    // No byte of the block zero, every word with bits 30 and 31 set.
    void fillBlock() const
    {
        for (std::size_t i = 0; i < 50; i++)
            *at(i) = static_cast<unsigned char>(0x11 * (i % 15) + 1);
        for (std::size_t off : d().masks)
            at(off)[3] |= 0xC0;
    }
    void checkGroups(Widget dialog, std::uint32_t mask) const
    {
        for (int g = 0; g < 3; g++)
            EXPECT_EQ(stateOf(dialog, group(g).c_str()), int(mask >> (10 * g) & 0x3FF)) << group(g);
    }
};

} // namespace

TEST_P(Masks, WorkedExampleGivesItsWord)
{
    std::vector<unsigned char> before = image();
    open(
        [this](Widget dialog) {
            pick(dialog, d().functions, d().exampleFunction);
            for (int g = 0; g < 3; g++)
                pick(dialog, group(g).c_str(), d().exampleGroups[g]);
        },
        "*okay");
    std::vector<unsigned char> expected = counted(before);
    putLe32(expected.data() + d().block() + d().masks[std::size_t(d().exampleFunction)], d().exampleWord);
    EXPECT_EQ(image(), expected);
}

TEST_P(Masks, EditsUnderTwoFunctionsAreBothStoredAndTheRestIsKept)
{
    fillBlock();
    int last = int(d().masks.size()) - 1;
    std::uint32_t first = word(0), other = word(last);
    std::vector<unsigned char> before = image();
    open(
        [&](Widget dialog) {
            EXPECT_EQ(stateOf(dialog, d().functions), 0);
            checkGroups(dialog, first);
            pick(dialog, group(0).c_str(), 0x3FF);
            pick(dialog, group(2).c_str(), 0);
            pick(dialog, d().functions, last);
            checkGroups(dialog, other);
            pick(dialog, d().functions, 0);
            checkGroups(dialog, (first & ~0x3FF003FFu) | 0x3FF); // the edits are kept meanwhile
            pick(dialog, d().functions, last);
            pick(dialog, group(1).c_str(), 0x155); // stored by "OK" itself
        },
        "*okay");
    std::vector<unsigned char> expected = counted(before);
    putLe32(expected.data() + d().block() + d().masks[0], (first & ~0x3FF003FFu) | 0x3FF);
    putLe32(expected.data() + d().block() + d().masks[std::size_t(last)], (other & ~0x000FFC00u) | 0x155 << 10);
    EXPECT_EQ(word(0) >> 30, 3u) << "bits 30-31 kept";
    EXPECT_EQ(image(), expected) << "only the two words change, bits 30-31 and the other bytes stay";
}

// After "Abbrechen" on another function, the next opening starts on the first
// function with the record's words.
TEST_P(Masks, OpeningAfterAbbrechenStartsOnTheFirstFunction)
{
    fillBlock();
    std::vector<unsigned char> before = image();
    open(
        [this](Widget dialog) {
            pick(dialog, d().functions, 1);
            pick(dialog, group(0).c_str(), 0x2AA);
        },
        "*cancel");
    open(
        [this](Widget dialog) {
            EXPECT_EQ(stateOf(dialog, d().functions), 0);
            checkGroups(dialog, word(0));
            pick(dialog, d().functions, 1);
            checkGroups(dialog, word(1));
        },
        "*okay");
    EXPECT_EQ(image(), counted(before)) << "\"OK\" without changes counts and keeps every byte";
}

TEST_P(Masks, GroupsOfPortsWithoutInternalBusAreInsensitiveButWrittenBack)
{
    fillBlock();
    for (const BusCase &c : busCases) {
        buses(c.type, c.mode1, c.mode2);
        std::vector<unsigned char> before = image();
        open(
            [&](Widget dialog) {
                EXPECT_TRUE(sensitive(dialog, group(0).c_str()));
                EXPECT_EQ(sensitive(dialog, group(1).c_str()), c.port1) << int(c.type) << " " << int(c.mode1);
                EXPECT_EQ(sensitive(dialog, group(2).c_str()), c.port2) << int(c.type) << " " << int(c.mode2);
                pick(dialog, d().functions, 1);
                pick(dialog, d().functions, 0);
            },
            "*okay");
        EXPECT_EQ(image(), counted(before)) << int(c.type) << " " << int(c.mode1) << " " << int(c.mode2);
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, Masks, ::testing::ValuesIn(maskDialogs),
                         [](const auto &testInfo) { return std::string(testInfo.param.groups + 1); });

// "Ruf #nn" on the items of present subscribers, kept when the number goes.
TEST(MaskLabels, PresentSubscribersAreCalledByTheirNumbers)
{
    struct {
        void (*display)(Widget);
        const char *group;
    } dialogs[] = {{displayTlnPerm, "*set"}, {displayCallDist, "*grp"}};
    for (const auto &dlg : dialogs) {
        freshRecord();
        buses(2, 0x42, 0x82);
        setIntNum(6, "17");
        setIntNum(8, "31");
        setIntNum(13, "24");
        setIntNum(23, "44");
        std::string g0 = std::string(dlg.group) + "0", g1 = std::string(dlg.group) + "1",
                    g2 = std::string(dlg.group) + "2";
        openWith(dlg.display,
                 [&](Widget d) {
                     EXPECT_EQ(label(d, (g0 + ".item6").c_str()), "Ruf #17");
                     EXPECT_EQ(label(d, (g0 + ".item8").c_str()), "TFE 1") << "door intercoms keep theirs";
                     EXPECT_EQ(label(d, (g1 + ".item3").c_str()), "Ruf #24");
                     EXPECT_EQ(label(d, (g2 + ".item3").c_str()), "S1 3") << "port 2 is no internal bus";
                     EXPECT_EQ(label(d, (g0 + ".item2").c_str()), "AB 3");
                 },
                 "*cancel");
        setIntNum(6, "");
        openWith(dlg.display,
                 [&](Widget d) { EXPECT_EQ(label(d, (g0 + ".item6").c_str()), "Ruf #17") << "kept from before"; },
                 "*cancel");
    }
}
