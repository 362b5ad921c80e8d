// Every transfer of the core tells its observer what the window's working
// dialog and error box show: its display, each step, its end and why it failed.
#include <gtest/gtest.h>

#include "charges/calltransfer.h"
#include "charges/counters.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "speeddial/kwztransfer.h"
#include "support/recording.h"
#include "support/sim_line.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Row {
    const char *name;
    std::function<TransferResult(TransferObserver &)> run;
    const char *show;
    std::vector<int> progress;
};

std::vector<int> upTo(int from, int step, int last)
{
    std::vector<int> v;
    for (int x = from; x <= last; x += step)
        v.push_back(x);
    return v;
}

std::vector<int> concat(std::vector<int> a, const std::vector<int> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A transfer of the program's record, as the window runs it.
template <TransferResult (*Transfer)(TransferObserver &, unsigned char *)>
TransferResult ofAll(TransferObserver &observer)
{
    return Transfer(observer, all);
}

std::vector<unsigned char> callStore;
std::int32_t counterTable[ChargeCounters];

const std::vector<Row> &rows()
{
    static const std::vector<Row> table = {
        {"configuration read", ofAll<readConfiguration>, "cfgreadwbox|Konfiguration lesen|Prozent:|100|scale",
         {7, 15, 23, 30, 38, 46, 53, 61, 69, 76, 84, 92, 100}},
        {"configuration program", ofAll<writeConfiguration>, "cfgwritewbox|Konfiguration schreiben|Prozent:|100|scale",
         {8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100}},
        {"subscriber read", ofAll<readTlnConfiguration>, "tlnreadwbox|Teilnehmerdaten lesen|Prozent:|100|scale",
         {3,  6,  10, 13, 16, 20, 23, 26, 30, 33, 36, 40, 43, 46, 50,
          53, 56, 60, 63, 66, 70, 73, 76, 80, 83, 86, 90, 93, 96, 100}},
        {"subscriber program", ofAll<writeTlnConfiguration>, "cfgwritewbox|Konfiguration schreiben|Prozent:|100|scale",
         {3,  6,  10, 13, 16, 20, 23, 26, 30, 33, 36, 40, 43, 46, 50,
          53, 56, 60, 63, 66, 70, 73, 76, 80, 83, 86, 90, 93, 96, 100}},
        // The speed-dial scale counts entries: 25 blocks of 8, then the two lists.
        {"speed-dial read", ofAll<readSpeedDial>, "readwbox|KWZ lesen|Kurzwahl|202|scale",
         concat(upTo(8, 8, 200), {200, 201})},
        {"speed-dial program",
         [](TransferObserver &o) {
             setRecInt(rec::KwzPresent, 1);
             return writeSpeedDial(o, all);
         },
         "writewbox|KWZ schreiben|Kurzwahl|202|scale", concat(upTo(8, 8, 200), {201, 202})},
        {"charge counters read", [](TransferObserver &o) { return readChargeCounters(counterTable, o); },
         "gebreaddlg|Gebührenzähler lesen...||100|no scale", {100}},
        {"charge counters reset", resetChargeCounters, "gebwritedlg|Gebührenzähler löschen...||100|no scale", {100}},
        // pbxsim's default memory: 25 outgoing calls (of 1000), 12 incoming (of 75).
        {"outgoing calls read", [](TransferObserver &o) { return readCalls(outgoingCalls, callStore, o); },
         "gebreaddlg|Ausgehende Gespräche lesen...|Prozent:|100|scale", {1, 2, 2}},
        {"incoming calls read", [](TransferObserver &o) { return readCalls(incomingCalls, callStore, o); },
         "gebreaddlg|Eingegangene Gespräche auslesen...|Prozent:|100|scale", {16}},
        {"outgoing calls erased", eraseOutgoingCalls, "gebkitdlg|Gebührenspeicher löschen...||100|no scale", {100}},
    };
    return table;
}

class Observed : public ::testing::Test {
protected:
    SimLine line;
    void SetUp() override
    {
        setFramePause([] {});
        setDevicePath(line.device.c_str());
    }
};

TEST_F(Observed, EveryTransferShowsItsDisplayEachStepAndAQuietEnd)
{
    for (const Row &row : rows()) {
        Recording seen;
        EXPECT_EQ(row.run(seen), TransferResult::Done) << row.name;
        EXPECT_EQ(seen.show, row.show) << row.name;
        EXPECT_EQ(seen.steps, row.progress) << row.name;
        EXPECT_EQ(seen.end, "ok") << row.name;
        EXPECT_EQ(seen.starts, 1) << row.name;
        EXPECT_EQ(seen.ends, 1) << row.name;
    }
}

struct Failure {
    const char *name;
    std::function<void(pbxsim::Faults &)> fault;
    TransferResult result;
    const char *end;    // code|text|advice (the device follows)
    std::size_t steps;  // progress reports before the failure
};

TEST_F(Observed, AFailureTellsTheWindowsTextAndItsAdvice)
{
    setByteTimeoutMs(100);
    const Failure failures[] = {
        {"refused begin", [](pbxsim::Faults &f) { f.refuse_begin = 106; }, TransferResult::Refused,
         "106|CMD-Fehler|cmdRefused", 0},
        {"wrong checksum", [](pbxsim::Faults &f) { f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 4, 0}); },
         TransferResult::Failed, "105|CRC-Fehler|crcError", 2},
        // Silence from the start points at the cable; silence later does not.
        {"no answer at all", [](pbxsim::Faults &f) { f.answers.push_back({pbxsim::AnswerFault::Silent, 1, 0}); },
         TransferResult::Refused, "-1|Uebertragungs-Fehler|noAnswer", 0},
        {"no answer midway", [](pbxsim::Faults &f) { f.answers.push_back({pbxsim::AnswerFault::Silent, 3, 0}); },
         TransferResult::Failed, "108|Uebertragungs-Fehler|", 1},
        {"unknown refusal", [](pbxsim::Faults &f) { f.refuse_begin = 112; }, TransferResult::Refused,
         "112|Unbekannter Fehler 0070|", 0},
    };
    for (const Failure &c : failures) {
        pbxsim::Faults f;
        c.fault(f);
        line.sim.setFaults(f);
        Recording seen;
        EXPECT_EQ(readConfiguration(seen, all), c.result) << c.name;
        EXPECT_EQ(seen.end, std::string(c.end) + "|" + line.device) << c.name;
        EXPECT_EQ(seen.steps.size(), c.steps) << c.name;
        EXPECT_EQ(recInt(rec::CfgValid), 0) << c.name;
    }
}

TEST_F(Observed, AnAcknowledgementZeroEndsWithoutATextButNotAsDone)
{
    pbxsim::Faults f;
    f.refuse_data_at = 3;
    f.refuse_data_code = 0;
    line.sim.setFaults(f);
    Recording seen;
    EXPECT_EQ(writeConfiguration(seen, all), TransferResult::Failed);
    EXPECT_EQ(seen.end, "ok");
    EXPECT_EQ(seen.steps, (std::vector<int>{8, 16}));
}

TEST_F(Observed, APortThatWillNotOpenIsToldWithItsAdviceAndNothingStarts)
{
    std::string missing = line.dir.file("nothere");
    setDevicePath(missing.c_str());
    Recording seen;
    EXPECT_EQ(readSpeedDial(seen, all), TransferResult::NoPort);
    EXPECT_EQ(seen.port, "Das Gerät \"" + missing + "\"\nkann nicht geöffnet werden:\nNo such file or directory|noDevice|" +
                             missing);
    EXPECT_EQ(seen.starts, 0);
    EXPECT_EQ(seen.ends, 0);
    EXPECT_TRUE(line.sim.frames().empty());
}

TEST(BuiltinAdvice, TheResourceLineWithTheDeviceInIt)
{
    EXPECT_EQ(builtinAdvice(advice::NoAnswer, "/dev/ttyS0"),
              "Die Anlage an /dev/ttyS0 antwortet nicht: Kabel (mit RTS/CTS), Schnittstelle und Strom prüfen.");
    EXPECT_EQ(builtinAdvice(advice::Refused, "x").find("%s"), std::string::npos);
    EXPECT_EQ(builtinAdvice(nullptr, "x"), "");
    EXPECT_EQ(builtinAdvice("noSuchAdvice", "x"), "");
}

} // namespace

// Each transfer reads into and programs from the record it is given; the
// program's own (all) keeps every byte, flag and counter.
TEST_F(Observed, EachTransferWorksOnTheRecordItIsGiven)
{
    std::vector<unsigned char> program(rec::RecordSize, 0x5A);
    putLe32(program.data() + rec::KwzPresent, 0); // with this one, programming the speed dial would not start
    std::copy(program.begin(), program.end(), all);
    std::vector<unsigned char> given(rec::RecordSize);
    putLe32(given.data() + rec::KwzPresent, 1);
    std::memcpy(given.data() + rec::StKonList + 11, "0815", 5);
    std::memcpy(given.data() + rec::NahBerList, "\x01\x02\x03", 3);
    given[rec::TlnData + rec::TlnSent] = 0x42;
    std::vector<unsigned char> read(rec::RecordSize);
    Recording seen;
    const struct {
        const char *name;
        std::function<TransferResult()> run;
        std::function<bool()> done; // what shows the record given was used
    } steps[] = {
        {"configuration program", [&] { return writeConfiguration(seen, given.data()); },
         [&] {
             return std::memcmp(line.sim.state().stkon.data() + 11, "0815", 5) == 0 &&
                    getLe32(&given[rec::CfgValid]) == 1;
         }},
        {"speed-dial program", [&] { return writeSpeedDial(seen, given.data()); },
         [&] { return std::memcmp(line.sim.state().nahber.data(), "\x01\x02\x03", 3) == 0; }},
        {"subscriber program", [&] { return writeTlnConfiguration(seen, given.data()); },
         [&] { return line.sim.state().tln[0][rec::TlnSent] == 0x42; }},
        {"configuration read", [&] { return readConfiguration(seen, read.data()); },
         [&] { return std::memcmp(&read[rec::StKonList + 11], "0815", 5) == 0 && getLe32(&read[rec::CfgValid]) == 1; }},
        {"speed-dial read", [&] { return readSpeedDial(seen, read.data()); },
         [&] {
             return std::memcmp(&read[rec::NahBerList], "\x01\x02\x03", 3) == 0 &&
                    getLe32(&read[rec::KwzPresent]) == 1;
         }},
        {"subscriber read", [&] { return readTlnConfiguration(seen, read.data()); },
         [&] { return read[rec::TlnData + rec::TlnSent] == 0x42 && getLe32(&read[rec::TlnPresent]) == 1; }},
    };
    for (const auto &s : steps) {
        EXPECT_EQ(s.run(), TransferResult::Done) << s.name;
        EXPECT_TRUE(s.done()) << s.name;
        EXPECT_TRUE(std::equal(program.begin(), program.end(), all)) << s.name << ": the program's record changed";
    }
}
