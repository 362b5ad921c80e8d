// Reading and programming the speed-dial directory over a pty against pbxsim:
// the frames on the line, the record, the counters and the list afterwards.
#include "kwz_env.h"

#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "speeddial/kwztransfer.h"
#include "support/gui.h"

#include <cstring>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes recordSlice(std::size_t at, std::size_t n) { return {all + at, all + at + n}; }

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
        REQUIRE_DISPLAY();
        kwzDialog();
        freshKwz();
        setRecInt(rec::CfgValid, 1);
        setRecInt(rec::CfgChanges, 5);
    }
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
        expected.push_back(dataFrame(41, b, recordSlice(rec::KwzNumbers + 25 * std::size_t(b), 200), false));
    expected.push_back(dataFrame(39, -1, recordSlice(rec::NahBerList, 120), false));
    expected.push_back(dataFrame(40, -1, recordSlice(rec::SperrBerList, 120), false));
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

TEST_F(KwzTransfer, TraceNamesThePrefixLists)
{
    PbxLine line;
    std::string trace = traceOf([] { EXPECT_EQ(readSpeedDial(kwzdlg), TransferResult::Done); });
    EXPECT_NE(trace.find("K_READ_NAH_BER_LIST: 120\nK_READ_SPERR_BER_LIST: 120 240\n"), std::string::npos) << trace;
}

} // namespace
