// The 30 subscriber records read from and programmed into pbxsim over a pty:
// the frames on the line, the records, the flags and the percentages.
#include "program.h"

#include "app/app.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const std::vector<int> tlnPercentages = {0,  3,  6,  10, 13, 16, 20, 23, 26, 30, 33, 36, 40, 43, 46, 50,
                                         53, 56, 60, 63, 66, 70, 73, 76, 80, 83, 86, 90, 93, 96, 100};

unsigned char *tln(int i) { return all + rec::TlnData + rec::TlnDataSize * std::size_t(i); }
Bytes recordOf(int i) { return {tln(i), tln(i) + rec::TlnDataSize}; }
Bytes simRecord(const pbxsim::State &s, int i) { return {s.tln[std::size_t(i)].begin(), s.tln[std::size_t(i)].end()}; }
Bytes outside() // everything of the record but the subscriber records and the bookkeeping
{
    Bytes b(all, all + rec::DevicePathSlot);
    b.erase(b.begin() + long(rec::TlnData), b.begin() + long(rec::KwzHeader));
    return b;
}

// Every record byte its own, different from what pbxsim holds.
void scribble()
{
    for (std::size_t k = 0; k < rec::DevicePathSlot; ++k)
        all[k] = static_cast<unsigned char>(k * 29 + 0x5B);
}

class TlnTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        scribble();
        setRecInt(rec::TlnPresent, 0);
        setFlags(all, 1);
        activateMainButtons();
    }
};

TEST_F(TlnTransfer, ReadTakesThirtyRecordsAndClearsTheConfigurationFlag)
{
    PbxLine line;
    Bytes before = outside();
    readTlnConfig(toplevel);
    pbxsim::State s = line.sim.state();
    for (int i = 0; i < rec::TlnCount; ++i)
        EXPECT_EQ(recordOf(i), simRecord(s, i)) << "subscriber " << i;
    EXPECT_EQ(outside(), before);
    EXPECT_EQ(recInt(rec::TlnPresent), 1);
    EXPECT_EQ(recInt(rec::CfgValid), 0);
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
    EXPECT_TRUE(sensitive("*grund")) << "the main window is not brought up to date";
    EXPECT_EQ(scaleValues(), tlnPercentages);
    EXPECT_FALSE(guiViewable(XmtNameToWidget(toplevel, "*tlnreadwbox")));
    EXPECT_EQ(takeMessage("tranfer_err"), "");

    std::vector<Bytes> expected = {{5, 98, 0, 0, 0}};
    for (int i = 0; i < rec::TlnCount; ++i)
        expected.push_back({5, 11, 0, 0, static_cast<unsigned char>(i)});
    expected.push_back({5, 99, 0, 0, 0});
    EXPECT_EQ(sentByProgram(line.sim), expected);
}

// A read that breaks off changes nothing, nor the flag of data read before
// (with no data before, the fault matrix's SubscriberRead rows).
TEST_F(TlnTransfer, ReadFailingAtSubscriber17KeepsTheFlagAndTheRecords)
{
    setRecInt(rec::TlnPresent, 1);
    Bytes before(all, all + rec::RecordSize);
    PbxLine line;
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 2 + 17, 0}); // answer 1 acknowledges the begin
    line.sim.setFaults(f);
    readTlnConfig(toplevel);
    EXPECT_TRUE(Bytes(all, all + rec::RecordSize) == before);
    EXPECT_NE(takeMessage("tranfer_err").find("CRC-Fehler"), std::string::npos);
    EXPECT_FALSE(guiViewable(XmtNameToWidget(toplevel, "*tlnreadwbox")));
}

TEST_F(TlnTransfer, ProgrammingSendsThirtyFramesWithTheIndexInByteFour)
{
    pbxsim::State empty = pbxsim::emptyState();
    PbxLine line(empty);
    all[rec::TypeByte] = 0; // a one-port PBX: port blocks 1 and 2 go
    setRecInt(rec::TlnPresent, 3);
    std::vector<Bytes> records;
    for (int i = 0; i < rec::TlnCount; ++i)
        records.push_back(recordOf(i));
    writeTlnConfig(toplevel);

    std::vector<Bytes> frames = sentByProgram(line.sim);
    ASSERT_EQ(frames.size(), 32u);
    EXPECT_EQ(frames.front(), (Bytes{5, 97, 0, 0, 0}));
    EXPECT_EQ(frames.back(), (Bytes{5, 99, 0, 0, 0}));
    for (int i = 0; i < rec::TlnCount; ++i) {
        const Bytes &f = frames[std::size_t(i) + 1];
        ASSERT_EQ(f.size(), 128u) << i;
        EXPECT_EQ(f[0], 128);
        EXPECT_EQ(f[1], 43);
        EXPECT_EQ(f[4], i);
        EXPECT_TRUE(std::equal(f.begin() + 5, f.end(), records[std::size_t(i)].begin() + 1)) << "record " << i;
        unsigned sum = pbxsim::checksum(f.data() + 4, f.size() - 4);
        EXPECT_EQ(f[2] | f[3] << 8, int(sum)) << "checksum of frame " << i;
    }
    // Each data frame is padded with ten zero bytes on the line.
    Bytes received = line.sim.received();
    auto firstFrame = std::search(received.begin(), received.end(), frames[1].begin(), frames[1].end());
    ASSERT_NE(firstFrame, received.end());
    auto padding = firstFrame + 128;
    EXPECT_EQ(Bytes(padding, padding + 10), Bytes(10, 0));
    EXPECT_EQ(padding[10], 128) << "the next frame follows its padding";

    pbxsim::State s = line.sim.state();
    for (int i = 0; i < rec::TlnCount; ++i) {
        Bytes stored = records[std::size_t(i)];
        stored[0] = static_cast<unsigned char>(i); // the PBX keeps the sub-code there
        EXPECT_EQ(simRecord(s, i), stored) << "subscriber " << i;
        EXPECT_EQ(recordOf(i), records[std::size_t(i)]) << "the record is sent, not changed";
    }
    for (std::size_t k = 196; k < 586; ++k)
        ASSERT_EQ(all[k], 0) << "port blocks 1 and 2 cleared, byte " << k;
    EXPECT_EQ(scaleValues(), tlnPercentages);
    EXPECT_EQ(recInt(rec::CfgValid), 0);
    EXPECT_EQ(recInt(rec::TlnPresent), 3);
    EXPECT_EQ(takeMessage("tranfer_err"), "");
}

TEST_F(TlnTransfer, TraceShowsTheBannerAndOneDumpPerRecord)
{
    PbxLine line;
    std::string trace = traceOf([] {
        readTlnConfig(toplevel);
        writeTlnConfig(toplevel);
    });
    std::size_t read = trace.find("********************* START READ ******************\n");
    std::size_t write = trace.find("********************* START WRITE ******************\n");
    ASSERT_NE(read, std::string::npos) << trace;
    ASSERT_NE(write, std::string::npos) << trace;
    int dumps = 0;
    for (std::size_t at = trace.find("\n\nK_READ_TLN_DATA_LIST\n"); at != std::string::npos;
         at = trace.find("\n\nK_READ_TLN_DATA_LIST\n", at + 1)) {
        EXPECT_LT(at, write);
        ++dumps;
    }
    EXPECT_EQ(dumps, 30);
    // The first dump: subscriber 0's record in rows of eight.
    std::size_t first = trace.find("\n\nK_READ_TLN_DATA_LIST\n") + 23;
    EXPECT_EQ(trace.substr(first, 24), "00 31 32 33 34 35 01 81 ");
}

} // namespace
