#include "program.h"

#include "app/app.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> recordImage() { return {all, all + rec::PbxImageSize}; }

void fillImage(unsigned char value) { std::memset(all, value, rec::PbxImageSize); }

bool sameRange(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b, std::size_t from,
               std::size_t to)
{
    return std::equal(a.begin() + long(from), a.begin() + long(to), b.begin() + long(from));
}

// The PBX image as a read of this state leaves it, over a record that held fill.
std::vector<unsigned char> expectedAfterRead(const pbxsim::State &s, unsigned char fill)
{
    std::vector<unsigned char> image = imageOf(s);
    std::fill(image.begin() + rec::PortAreaB, image.begin() + rec::RufnrList, fill);
    return image;
}

struct ConfigTransfer : ::testing::Test {
    Widget top = programTop();
};

TEST_F(ConfigTransfer, ReadFillsTheImageShowsTheVersionAndEnablesEditing)
{
    PbxLine line;
    fillImage(0xA5);
    readConfig();
    pbxsim::State s = line.sim.state();
    EXPECT_EQ(recordImage(), expectedAfterRead(s, 0xA5));
    EXPECT_EQ(all[0], 2) << "three ports";
    EXPECT_STREQ(anl_vers, s.version.c_str());
    EXPECT_EQ(XmtMsgLineGetString(mainWidget("*theline")), "ROM-Version: " + s.version);
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    for (const std::string &b : editingButtons())
        EXPECT_TRUE(sensitive(b.c_str())) << b;
    EXPECT_EQ(scaleValues(), (std::vector<int>{0, 7, 15, 23, 30, 38, 46, 53, 61, 69, 76, 84, 92, 100}));
    EXPECT_FALSE(guiViewable(XmtNameToWidget(toplevel, "*cfgreadwbox")));
    EXPECT_EQ(takeMessage("tranfer_err"), "");
}

TEST_F(ConfigTransfer, PortCountGivesTheTypeByte)
{
    for (int ports : {1, 2, 3}) {
        pbxsim::State s = pbxsim::defaultState();
        s.port_count = ports;
        PbxLine line(s);
        readConfig();
        EXPECT_EQ(all[0], ports - 1);
    }
}

// A read that did not happen changes nothing: record, flag and buttons stay.
TEST_F(ConfigTransfer, RefusedBeginLeavesTheRecordAndDisablesEditing)
{
    setFlags(1);
    activateMainButtons();
    PbxLine line;
    pbxsim::Faults f;
    f.refuse_begin = 106;
    line.sim.setFaults(f);
    fillImage(0x33);
    readConfig();
    EXPECT_EQ(recordImage(), std::vector<unsigned char>(rec::PbxImageSize, 0x33));
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    for (const std::string &b : editingButtons())
        EXPECT_TRUE(sensitive(b.c_str())) << b;
    EXPECT_NE(takeMessage("tranfer_err").find("CMD-Fehler"), std::string::npos);
}

// The lists read before the failure do not mix into the record.
TEST_F(ConfigTransfer, ChecksumFailureOnTheNinthReadKeepsWhatCameBefore)
{
    PbxLine line;
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 10, 0}); // answer 1 is the begin
    line.sim.setFaults(f);
    fillImage(0x11);
    setFlags(1);
    activateMainButtons();
    readConfig();
    EXPECT_EQ(recordImage(), std::vector<unsigned char>(rec::PbxImageSize, 0x11));
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(recInt(rec::CfgChanges), 1);
    EXPECT_TRUE(sensitive("*grund")) << "a failure midway leaves the buttons as they were";
    EXPECT_NE(takeMessage("tranfer_err").find("CRC-Fehler"), std::string::npos);
    EXPECT_FALSE(guiViewable(XmtNameToWidget(toplevel, "*cfgreadwbox")));
}

// Each stretched answer is cut at the end of its region; the regions after them
// were read before them (or are never read), so any spill would show.
TEST_F(ConfigTransfer, OverLongAnswersStayInTheirRegion)
{
    PbxLine line;
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 4, 251});  // port block 2, before port area B
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 5, 251});  // S0 data of port 0, before port block 1
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 12, 251}); // charges, before the control contacts
    f.answers.push_back({pbxsim::AnswerFault::OverLong, 13, 251}); // global data, before the subscribers
    line.sim.setFaults(f);
    fillImage(0x77);
    std::memset(all + rec::TlnData, 0x66, rec::TlnDataSize);
    readConfig();
    std::vector<unsigned char> read = expectedAfterRead(line.sim.state(), 0x77);
    std::vector<unsigned char> image = recordImage();
    EXPECT_TRUE(sameRange(image, read, rec::PortAreaB, rec::RufnrList)) << "port area B untouched";
    EXPECT_TRUE(sameRange(image, read, 196, 196 + 115)) << "port block 1 before its S0 data";
    EXPECT_TRUE(sameRange(image, read, rec::StKonList, rec::AnlDatList)) << "control contacts";
    // The S0 data may fill its port block to the end, the one byte after its 79.
    EXPECT_EQ(image[1 + 194], 0xEE);
    read[1 + 194] = 0xEE;
    EXPECT_EQ(image, read) << "the whole image as a normal read leaves it";
    EXPECT_EQ(all[rec::TlnData], 0x66) << "subscriber records untouched";
    EXPECT_EQ(recInt(rec::CfgValid), 1);
}

TEST_F(ConfigTransfer, ProgrammingTypeZeroSendsEmptyPortsAndTheTwelveFramesInOrder)
{
    pbxsim::State s = pbxsim::emptyState();
    PbxLine line(s);
    for (std::size_t i = 0; i < rec::PbxImageSize; ++i)
        all[i] = static_cast<unsigned char>(i * 7 + 3);
    all[0] = 0;
    writeConfig();
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_TRUE(sensitive("*schreiben"));
    EXPECT_EQ(scaleValues(), (std::vector<int>{0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100}));
    for (std::size_t i = 196; i < 586; ++i)
        ASSERT_EQ(all[i], 0) << "port blocks 1 and 2 stay cleared, byte " << i;

    std::vector<std::pair<int, int>> sent; // code, sub-code or -1
    for (const pbxsim::Frame &f : line.sim.frames())
        if (f.dir == '<' && f.bytes.size() > 5)
            sent.push_back({f.bytes[1], f.bytes[1] == 32 || f.bytes[1] == 33 ? f.bytes[4] : -1});
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{32, 0}, {32, 1}, {32, 2}, {42, -1}, {34, -1}, {33, 0},
                                                      {33, 1}, {33, 2}, {35, -1}, {36, -1}, {37, -1}, {38, -1}}));

    pbxsim::State after = line.sim.state();
    EXPECT_TRUE(std::equal(all + 1, all + 1 + 186, after.ports[0].begin()));
    EXPECT_TRUE(std::all_of(after.ports[1].begin(), after.ports[1].begin() + 186, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(after.ports[2].begin(), after.ports[2].begin() + 186, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::equal(all + rec::RufnrList, all + rec::RufnrList + 100, after.rufnr.begin()));
    EXPECT_TRUE(std::equal(all + rec::BerList, all + rec::BerList + 50, after.ber.begin()));
    EXPECT_TRUE(std::equal(all + rec::RufVertList, all + rec::RufVertList + 50, after.rufvert.begin()));
    EXPECT_TRUE(std::equal(all + rec::GebKonfList, all + rec::GebKonfList + 88, after.gebkonf.begin()));
    EXPECT_TRUE(std::equal(all + rec::StKonList, all + rec::StKonList + 119, after.stkon.begin()));
    EXPECT_TRUE(std::equal(all + rec::AnlDatList, all + rec::AnlDatList + 112, after.anldat.begin()));
    EXPECT_TRUE(std::equal(all + 116, all + 116 + 79, after.ports[0].begin() + 115));
}

TEST_F(ConfigTransfer, RefusedDataFrameEndsTheRunWithItsCode)
{
    PbxLine line;
    pbxsim::Faults f;
    f.refuse_data_at = 5;
    f.refuse_data_code = 107;
    line.sim.setFaults(f);
    all[0] = 1;
    std::memset(all + 391, 0x42, 195);
    writeConfig();
    EXPECT_EQ(recInt(rec::CfgValid), 0);
    EXPECT_EQ(all[391], 0) << "port block 2 cleared for a two-port PBX";
    EXPECT_NE(takeMessage("tranfer_err").find("Prio-Fehler"), std::string::npos);
    int frames = 0;
    for (const pbxsim::Frame &fr : line.sim.frames())
        frames += fr.dir == '<' && fr.bytes.size() > 5;
    EXPECT_EQ(frames, 5) << "nothing is sent after the refused frame";
}

TEST_F(ConfigTransfer, LockedLineLeavesEverythingAlone)
{
    PbxLine line;
    std::string lock = line.dir.file("lock/LCK..ttyPBX");
    FILE *f = std::fopen(lock.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%10d\n", getpid()); // a live process: ourselves
    std::fclose(f);
    setFlags(1);
    fillImage(0x5C);
    readConfig();
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(recordImage(), std::vector<unsigned char>(rec::PbxImageSize, 0x5C));
    EXPECT_TRUE(line.sim.frames().empty());
}

} // namespace
