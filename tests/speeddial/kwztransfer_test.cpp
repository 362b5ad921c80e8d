// Reading and programming the speed-dial directory over a pty against pbxsim:
// the frames on the line, the record, the counters and the list afterwards.
#include "kwz_env.h"

#include "config/record.h"
#include "link/trace.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "speeddial/kwztransfer.h"
#include "support/gui.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes command(int code, int index) { return {5, Bytes::value_type(code), 0, 0, Bytes::value_type(index)}; }

// A data frame as the PBX expects it, its checksum from the simulator's own.
Bytes dataFrame(int code, int subcode, const unsigned char *data, std::size_t n)
{
    Bytes frame{0, Bytes::value_type(code), 0, 0};
    if (subcode >= 0)
        frame.push_back(Bytes::value_type(subcode));
    frame.insert(frame.end(), data, data + n);
    frame[0] = Bytes::value_type(frame.size());
    std::uint16_t sum = pbxsim::checksum(frame.data() + 4, frame.size() - 4);
    frame[2] = Bytes::value_type(sum & 0xFF);
    frame[3] = Bytes::value_type(sum >> 8);
    return frame;
}

// What the working dialog's scale showed: 0 when shown, then b + 8 per block.
std::vector<int> scaleRun(std::initializer_list<int> tail)
{
    std::vector<int> values{0};
    for (int b = 0; b < 200; b += 8)
        values.push_back(b + 8);
    values.insert(values.end(), tail);
    return values;
}

class KwzTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        kwzDialog();
        freshKwz();
        setRecInt(rec::CfgValid, 1);
        setRecInt(rec::CfgChanges, 5);
    }
    void TearDown() override { takeMessage("tranfer_err"); }
    // The PBX's own directory: every slot filled, prefixes set.
    static pbxsim::State fullPbx()
    {
        pbxsim::State s = pbxsim::defaultState();
        for (std::size_t i = 0; i < s.kwz.size(); ++i)
            s.kwz[i] = static_cast<unsigned char>('0' + i % 10);
        for (int slot = 0; slot < 200; ++slot)
            s.kwz[std::size_t(slot) * 25 + 10 + std::size_t(slot % 14)] = 0;
        return s;
    }
    std::vector<int> counters()
    {
        return {recInt(rec::KwzPresent), recInt(rec::KwzChanges), recInt(rec::PrefixPresent),
                recInt(rec::KwzFileCount)};
    }
};

TEST_F(KwzTransfer, ReadTakesNumbersAndPrefixesAndKeepsTheNames)
{
    pbxsim::State pbx = fullPbx();
    PbxLine line(pbx);
    for (int i = 0; i < rec::KwzCount; ++i)
        std::snprintf(kwzName(i), rec::KwzNameSize, "Name %d", i);
    std::memset(all + rec::KwzHeader, 0x44, rec::KwzHeaderSize);
    press("*getcfg");

    std::vector<Bytes> expected{command(98, 0)};
    for (int b = 0; b < 200; b += 8)
        expected.push_back(command(9, b));
    expected.push_back(command(7, 0));
    expected.push_back(command(8, 0));
    expected.push_back(command(99, 0));
    EXPECT_EQ(sentByProgram(line.sim), expected);

    EXPECT_TRUE(std::equal(pbx.kwz.begin(), pbx.kwz.end(), all + rec::KwzNumbers)) << "slots as the PBX sent them";
    EXPECT_TRUE(std::equal(pbx.nahber.begin(), pbx.nahber.end(), all + rec::NahBerList));
    EXPECT_TRUE(std::equal(pbx.sperrber.begin(), pbx.sperrber.end(), all + rec::SperrBerList));
    EXPECT_EQ(std::string(recText(rec::KwzHeader), 20), std::string("KwDaten\0", 8) + std::string(12, '\x44'));
    EXPECT_EQ(nameOf(0), "Name 0");
    EXPECT_EQ(counters(), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(std::vector<int>({recInt(rec::CfgValid), recInt(rec::CfgChanges)}), std::vector<int>({1, 5}))
        << "the configuration is none of its business";
    EXPECT_EQ(listLine(1).substr(0, 16), " 100 Name 0     ");
    EXPECT_EQ(listLine(1).substr(44), "0123456789" + std::string(15, ' '));
    EXPECT_EQ(scaleValues(), scaleRun({200, 201}));
    EXPECT_TRUE(usable("*progcfg"));
    EXPECT_TRUE(usable("*sperrber_b"));
    EXPECT_EQ(takeMessage("tranfer_err"), "");
}

TEST_F(KwzTransfer, ProgrammingSendsTheBlocksThenBothPrefixLists)
{
    PbxLine line(pbxsim::emptyState());
    press("*progcfg");
    EXPECT_TRUE(line.sim.frames().empty()) << "nothing read or loaded: no port opened";

    freshKwz(1, 3, 1, 1);
    setRecInt(rec::CfgValid, 1);
    for (std::size_t i = rec::KwzNumbers; i < rec::NahBerList + 240; ++i)
        all[i] = static_cast<unsigned char>(i * 7);
    press("*progcfg");

    std::vector<Bytes> expected{command(97, 0)};
    for (int b = 0; b < 200; b += 8)
        expected.push_back(dataFrame(41, b, all + rec::KwzNumbers + 25 * b, 200));
    expected.push_back(dataFrame(39, -1, all + rec::NahBerList, 120));
    expected.push_back(dataFrame(40, -1, all + rec::SperrBerList, 120));
    expected.push_back(command(99, 0));
    EXPECT_EQ(sentByProgram(line.sim), expected);

    pbxsim::State after = line.sim.state();
    EXPECT_TRUE(std::equal(after.kwz.begin(), after.kwz.end(), all + rec::KwzNumbers));
    EXPECT_TRUE(std::equal(after.nahber.begin(), after.nahber.end(), all + rec::NahBerList));
    EXPECT_TRUE(std::equal(after.sperrber.begin(), after.sperrber.end(), all + rec::SperrBerList));
    EXPECT_EQ(counters(), (std::vector<int>{1, 3, 1, 1})) << "programming counts nothing";
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(scaleValues(), scaleRun({201, 202}));
}

TEST_F(KwzTransfer, AReadThatFailsAtTheLocalAreaListKeepsCountersAndDisplay)
{
    freshKwz(1, 2, 1, 1);
    setEntry(3, "Alt", "111");
    showkwz();
    std::string shown = listLine(4);
    pbxsim::State pbx = fullPbx();
    PbxLine line(pbx);
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 27, 0}); // begin, 25 blocks, then the prefixes
    line.sim.setFaults(f);
    std::strcpy(recText(rec::KwzHeader), "Alt");
    std::vector<unsigned char> numbers(all + rec::KwzNumbers, all + rec::KwzNames);
    press("*getcfg");
    EXPECT_NE(takeMessage("tranfer_err").find("CRC-Fehler"), std::string::npos);
    EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), all + rec::KwzNumbers)) << "no block received mixes in";
    EXPECT_STREQ(recText(rec::KwzHeader), "Alt");
    EXPECT_EQ(counters(), (std::vector<int>{1, 2, 1, 1}));
    EXPECT_EQ(listLine(4), shown);
}

// An answer shorter than its block fills the block's first bytes only; a
// longer one is cut to the block (the last block lies before the names).
TEST_F(KwzTransfer, AnswersOfAnotherLengthStayInTheirBlock)
{
    std::memset(all + rec::KwzNumbers, 'k', 200);
    std::strcpy(kwzName(0), "Erster Name");
    PbxLine line(fullPbx());
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 2, 30});
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 26, 251});
    line.sim.setFaults(f);
    EXPECT_EQ(readSpeedDial(kwzdlg), TransferResult::Done);
    pbxsim::State s = line.sim.state();
    EXPECT_TRUE(std::equal(s.kwz.begin(), s.kwz.begin() + 30, all + rec::KwzNumbers));
    EXPECT_EQ(all[rec::KwzNumbers + 30], 'k');
    EXPECT_TRUE(std::equal(s.kwz.begin() + 192 * 25, s.kwz.end(), all + rec::KwzNumbers + 192 * 25));
    EXPECT_EQ(nameOf(0), "Erster Name");
}

TEST_F(KwzTransfer, TraceNamesThePrefixLists)
{
    TempDir dir;
    std::string usual = debugFilePath();
    setDebugFilePath(dir.file("trace").c_str());
    ASSERT_TRUE(openTrace(1));
    {
        PbxLine line;
        EXPECT_EQ(readSpeedDial(kwzdlg), TransferResult::Done);
    }
    closeTrace();
    debugflag = 0;
    setDebugFilePath(usual.c_str());
    std::ifstream in(dir.file("trace"));
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("K_READ_NAH_BER_LIST: 120\nK_READ_SPERR_BER_LIST: 120 240\n"), std::string::npos)
        << text.str();
}

} // namespace
