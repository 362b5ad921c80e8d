// Charge counters against the simulator on a pty: the frames on the line, the
// lines and the total the dialog shows, and what failures leave of them.
#include <gtest/gtest.h>

#include "../config/program.h"
#include "../settings/fixture.h"

#include "charges/gebzahl.h"
#include "toolkit/internal.h"

#include <Xm/List.h>
#include <cstring>
#include <fstream>

namespace {

using Bytes = std::vector<unsigned char>;

// One subscriber of the PBX: its internal number in the record ("" none) and
// its counter in the simulator; its line after a read and after a reset, ""
// when it is not listed.
struct Subscriber {
    int index;
    const char *number;
    std::int32_t counter;
    const char *line;
    const char *zeroed;
};

const Subscriber subscribers[] = {
    {0, "21", 1234, " AB  #1     (#21)    12.34 DM", " AB  #1     (#21)    0.00 DM"},
    {1, "22", NoChargeCounter, "", " AB  #2     (#22)    0.00 DM"},
    {2, "23", -50, " AB  #3     (#23)    -0.50 DM", " AB  #3     (#23)    0.00 DM"},
    {3, "24", 123456789, " AB  #4     (#24)    1234567.88 DM", " AB  #4     (#24)    0.00 DM"}, // single precision
    {4, "", 777, "", ""}, // no internal number: not counted
    {9, "32", 0, " TFE #2     (#32)    0.00 DM", " TFE #2     (#32)    0.00 DM"},
    {10, "41", 5, " SO  #0     (#41)    0.05 DM", " SO  #0     (#41)    0.00 DM"},
    {29, "69", 100, " S1  #9     (#69)    1.00 DM", " S1  #9     (#69)    0.00 DM"},
};
const char *const listedTotal = "1234580.75 DM"; // 123458078 pfennig in single precision

const Bytes beginRead{5, 0x62, 0, 0, 0}, beginWrite{5, 0x61, 0, 0, 0}, counterRequest{5, 0x0C, 0, 0, 0},
    endOfTransmission{5, 0x63, 0, 0, 0};

Bytes resetFrame()
{
    Bytes frame(128, 0);
    frame[0] = 128; // no sub-code: 4 header bytes and 124 zeros, whose checksum is 0
    frame[1] = 0x2C;
    return frame;
}

pbxsim::State pbxState(bool noCounters = false)
{
    pbxsim::State s = pbxsim::defaultState();
    s.counters.fill(pbxsim::NoCounter);
    if (!noCounters)
        for (const Subscriber &sub : subscribers)
            s.counters[std::size_t(sub.index)] = std::uint32_t(sub.counter);
    return s;
}

std::vector<std::string> listLines(Widget dialog) { return listItems(guiFind(dialog, "*zaehler")); }

std::string total(Widget dialog) { return label(dialog, "*summe"); }

class ChargeCounters : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        freshRecord();
        for (const Subscriber &sub : subscribers)
            setIntNum(sub.index, sub.number);
        setRecInt(rec::CfgValid, 1);
    }

    // Opens the dialog, runs drive on it and closes it with "OK".
    void withDialog(const std::function<void(Widget)> &drive)
    {
        runModal([] { doGebZaehler(programTop()); }, drive, "*okay");
    }
    // Presses "Löschen" and answers the question; the question's text.
    std::string reset(Widget dialog, bool yes)
    {
        std::string prompt;
        guiWhenActive(
            [&prompt, yes](Widget box) {
                prompt = guiText(box, XmNmessageString);
                XtCallCallbacks(box, yes ? XmNokCallback : XmNcancelCallback, nullptr);
            },
            dialog);
        guiPress(guiFind(dialog, "*clear"));
        return prompt;
    }
    std::vector<std::string> expectedLines(bool zeros = false) const
    {
        std::vector<std::string> lines;
        for (const Subscriber &sub : subscribers)
            if (const char *line = zeros ? sub.zeroed : sub.line; *line)
                lines.push_back(line);
        return lines;
    }
};

} // namespace

// Before the first read the dialog shows no line and the resource text as its
// total.  The check runs in a process of its own, where the dialog is new.
TEST_F(ChargeCounters, FirstOpeningShowsNoLinesAndTheResourceTotal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto firstOpening = [this] {
        std::string seen;
        withDialog([&seen](Widget dialog) {
            seen = total(dialog) + "|" + std::to_string(listLines(dialog).size());
        });
        std::exit(seen == "0,00 DM|0" ? 0 : 1);
    };
    EXPECT_EXIT(firstOpening(), ::testing::ExitedWithCode(0), "");
}

TEST_F(ChargeCounters, ReadShowsOneLinePerListedSubscriberAndTheirTotal)
{
    PbxLine line(pbxState());
    withDialog([&](Widget dialog) {
        EXPECT_EQ(shellTitle(dialog), "Gebührenstand");
        EXPECT_EQ(caption(dialog, "*zaehler"), " Name        Nr.     Gebühren");
        guiPress(guiFind(dialog, "*getgeb"));
        EXPECT_EQ(listLines(dialog), expectedLines());
        EXPECT_EQ(total(dialog), listedTotal);
        Widget wbox = XmtNameToWidget(dialog, "*gebreaddlg");
        ASSERT_NE(wbox, nullptr);
        EXPECT_EQ(guiText(wbox, XmNmessageString), "Gebührenzähler lesen...");
        EXPECT_FALSE(XtIsManaged(XmtWorkingScaleOf(wbox))) << "no scale";
        EXPECT_FALSE(guiViewable(wbox));
    });
    EXPECT_EQ(sentByProgram(line.sim), (std::vector<Bytes>{beginRead, counterRequest, endOfTransmission}));
    EXPECT_EQ(takeMessage("tranfer_err"), "");
    EXPECT_EQ(recInt(rec::CfgValid), 1) << "a counter transfer leaves the configuration valid";

    // The list is the dialog's: it is there again on the next opening.
    withDialog([this](Widget dialog) {
        EXPECT_EQ(listLines(dialog), expectedLines());
        EXPECT_EQ(total(dialog), listedTotal);
    });
}

TEST_F(ChargeCounters, NoCounterAnywhereGivesAnEmptyListAndAZeroTotal)
{
    PbxLine line(pbxState(true));
    withDialog([](Widget dialog) {
        guiPress(guiFind(dialog, "*getgeb"));
        EXPECT_TRUE(listLines(dialog).empty());
        EXPECT_EQ(total(dialog), "0.00 DM");
    });
}

TEST_F(ChargeCounters, ResetShowsZerosWithoutReadingBack)
{
    PbxLine line(pbxState());
    withDialog([&](Widget dialog) {
        guiPress(guiFind(dialog, "*getgeb"));
        line.sim.clearLogs();
        EXPECT_EQ(reset(dialog, true), "Wollen Sie wirklich alle Gebührendaten\nauf 0.00 DM setzten?");
        EXPECT_EQ(listLines(dialog), expectedLines(true)) << "every subscriber with a number, counter or not";
        EXPECT_EQ(total(dialog), "0.00 DM");
        // A shell keeps the working box it got first, here the read's.
        Widget wbox = XmtNameToWidget(dialog, "*gebreaddlg");
        ASSERT_NE(wbox, nullptr);
        EXPECT_EQ(guiText(wbox, XmNmessageString), "Gebührenzähler löschen...");
    });
    EXPECT_EQ(sentByProgram(line.sim), (std::vector<Bytes>{beginWrite, resetFrame(), endOfTransmission}));
    EXPECT_EQ(takeMessage("tranfer_err"), "");
    EXPECT_EQ(line.sim.state().counters[0], 0u) << "the simulator did reset";
    EXPECT_EQ(recInt(rec::CfgValid), 1);
}

TEST_F(ChargeCounters, NeinMakesNoConnection)
{
    PbxLine line(pbxState());
    withDialog([&](Widget dialog) {
        guiPress(guiFind(dialog, "*getgeb"));
        line.sim.clearLogs();
        reset(dialog, false);
        EXPECT_EQ(listLines(dialog), expectedLines());
    });
    EXPECT_TRUE(line.sim.frames().empty());
    EXPECT_FALSE(std::ifstream(line.lockPath()).good()) << "the port was not even opened";
}

TEST_F(ChargeCounters, HelpTellsBothButtons)
{
    withDialog([](Widget dialog) {
        guiPress(guiFind(dialog, "*help"));
        EXPECT_EQ(takeWarning(), "Auslesen: Gebührenstand jeder Nebenstelle auslesen und anzeigen\n"
                                 "Löschen:  Gebührenstand jeder Nebenstelle auf 0.00 DM setzen\n");
    });
}
