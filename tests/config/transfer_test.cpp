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

TEST_F(ConfigTransfer, LockedLineLeavesEverythingAlone)
{
    PbxLine line;
    std::string lock = line.dir.file("lock/LCK..ttyPBX");
    FILE *f = std::fopen(lock.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%10d\n", getpid()); // a live process: ourselves
    std::fclose(f);
    setFlags(all, 1);
    fillImage(0x5C);
    readConfig();
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(recordImage(), std::vector<unsigned char>(rec::PbxImageSize, 0x5C));
    EXPECT_TRUE(line.sim.frames().empty());
}

} // namespace
