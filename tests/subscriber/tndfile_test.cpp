// Subscriber files and the transfers, driven through the dialog's buttons:
// the 1650 bytes of a file, what a load replaces and keeps, and the records
// that pbxsim gets and gives.
#include "tnd.h"

#include "config/record.h"
#include "subscriber/tndfile.h"
#include "support/gui.h"
#include "support/sim_line.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <fstream>

namespace {

Bytes fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The entry of subscriber i as the file carries it, from the record.
Bytes entryOf(int i)
{
    const unsigned char *r = tln(i);
    Bytes e(r + 6, r + 10);
    e.insert(e.end(), r + 22, r + 47);
    e.insert(e.end(), r + 72, r + 97);
    e.push_back(r[122]);
    return e;
}

// A record's fields that the file does not carry.
Bytes notInFile(int i)
{
    Bytes b = recordOf(i);
    for (auto [from, to] : {std::pair{6, 10}, {22, 47}, {72, 97}, {122, 123}})
        std::fill(b.begin() + from, b.begin() + to, 0);
    return b;
}

struct TndFiles : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        subscribers();
        for (int i = 0; i < rec::TlnCount; i++) {
            putLe16(tln(i) + 8, std::uint16_t(0x0600 + i));
            setText(tln(i) + 72, std::to_string(7000 + i).c_str());
            tln(i)[122] = static_cast<unsigned char>(i % 3 * 10);
        }
    }
    void save(const std::string &path)
    {
        openTnd([&path](Widget d) {
            answerFileDialog(path, d);
            guiPress(guiFind(d, "*save"));
        });
    }
    void load(const std::string &path)
    {
        openTnd([this, &path](Widget d) {
            answerFileDialog(path, d);
            guiPress(guiFind(d, "*load"));
            // What the load brings is shown at once, from subscriber 0.
            EXPECT_EQ(stateOf(d, "*whichone"), 0);
            EXPECT_EQ(fieldText(d, "*nbb"), busyShown);
            for (const char *w : {"*whichone", "*nbb", "*write", "*save"})
                EXPECT_TRUE(sensitive(d, w)) << w;
        });
    }
    std::string busyShown;
};

TEST_F(TndFiles, SavedFileIsThirtyEntriesOf55Bytes)
{
    std::string path = dir.file("a.tnd");
    int files = recInt(rec::TlnFileCount);
    setRecInt(rec::TlnChanges, 5);
    save(path);
    Bytes file = fileBytes(path);
    ASSERT_EQ(file.size(), 1650u);
    for (int i = 0; i < rec::TlnCount; i++)
        EXPECT_EQ(Bytes(file.begin() + 55 * i, file.begin() + 55 * (i + 1)), entryOf(i)) << "entry " << i;
    // Entry 2 spelled out: functions, wake-up time, busy target, target, ring time.
    const unsigned char *e = file.data() + 110;
    EXPECT_EQ(e[0], 2);
    EXPECT_EQ(e[1], 0);
    EXPECT_EQ(e[2], 0x02);
    EXPECT_EQ(e[3], 0x06);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(e + 4)), "2202");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(e + 29)), "7002");
    EXPECT_EQ(e[54], 20);
    EXPECT_EQ(recInt(rec::TlnFileCount), files + 1);
    EXPECT_EQ(recInt(rec::TlnChanges), 1) << "the save cleared it, \"OK\" counted one";
    EXPECT_EQ(std::string(recText(rec::TlnFilePath)), path);
}

TEST_F(TndFiles, LoadRestoresTheFieldsAndKeepsTheOtherBytes)
{
    std::string path = dir.file("b.tnd");
    save(path);
    Bytes saved = allRecords();
    // Every byte different now, then the file back.
    for (std::size_t k = 0; k < 30 * rec::TlnDataSize; k++)
        tln(0)[k] = static_cast<unsigned char>(k * 7 + 1);
    std::vector<Bytes> others;
    for (int i = 0; i < rec::TlnCount; i++)
        others.push_back(notInFile(i));
    setRecInt(rec::TlnPresent, 0);
    int files = recInt(rec::TlnFileCount);
    busyShown = "2200";
    load(path);
    for (int i = 0; i < rec::TlnCount; i++) {
        Bytes expected = others[std::size_t(i)];
        const unsigned char *s = saved.data() + rec::TlnDataSize * std::size_t(i);
        for (auto [from, to] : {std::pair{6, 10}, {22, 47}, {72, 97}, {122, 123}})
            std::copy(s + from, s + to, expected.begin() + from);
        EXPECT_EQ(recordOf(i), expected) << "subscriber " << i;
    }
    EXPECT_EQ(recInt(rec::TlnPresent), 1);
    EXPECT_EQ(recInt(rec::TlnFileCount), files + 1);
    load(path);
    EXPECT_EQ(recInt(rec::TlnPresent), 2) << "each load raises the flag";
}

struct TndTransfers : ::testing::Test {
    SimLine line;
    void SetUp() override
    {
        subscribers(0x80, 0x40, false);
        setDevicePath(line.device.c_str());
    }
};

TEST_F(TndTransfers, ReadShowsTheFirstSubscriberAndMakesEditingUsable)
{
    openTnd([this](Widget d) {
        guiPress(guiFind(d, "*read"));
        EXPECT_EQ(stateOf(d, "*whichone"), 0);
        EXPECT_EQ(fieldText(d, "*weckz"), "0645");
        EXPECT_EQ(stateOf(d, "*settings1"), 0x01);
        EXPECT_EQ(stateOf(d, "*settings2"), 0x81);
        for (const char *w : {"*whichone", "*nbb", "*settings1", "*write", "*save", "*load"})
            EXPECT_TRUE(sensitive(d, w)) << w;
        choose(d, 1);
        EXPECT_EQ(fieldText(d, "*nbb"), "4711002");
        EXPECT_EQ(fieldText(d, "*numl"), "01701234567");
        choose(d, 2);
        EXPECT_EQ(fieldText(d, "*nnz"), "301234567");
        EXPECT_EQ(fieldText(d, "*rufz"), "15");
        EXPECT_EQ(fieldText(d, "*weckz"), "----");
    });
    pbxsim::State s = line.sim.state();
    for (int i = 0; i < rec::TlnCount; i++)
        EXPECT_TRUE(std::equal(s.tln[std::size_t(i)].begin(), s.tln[std::size_t(i)].end(), tln(i))) << i;
}

// A read that fails, a load refused or cancelled: editing stays unusable.
TEST_F(TndTransfers, FailedReadOrRefusedLoadLeavesEditingUnusable)
{
    TempDir dir;
    writeFile(dir.file("kurz.tnd"), std::string(1000, '7'));
    pbxsim::Faults silent;
    silent.answers.push_back({pbxsim::AnswerFault::Silent, 5, 0});
    const struct {
        const char *what, *button;
        std::string file;
    } cases[] = {
        {"the fifth answer missing", "*read", ""},
        {"load cancelled", "*load", ""},
        {"load a device", "*load", "/dev/null"},
        {"load a file of 1000 bytes", "*load", dir.file("kurz.tnd")},
    };
    for (const auto &c : cases) {
        bool reading = std::strcmp(c.button, "*read") == 0;
        line.sim.setFaults(reading ? silent : pbxsim::Faults{});
        openTnd([&c, reading](Widget d) {
            if (!reading)
                answerFileDialog(c.file, d);
            guiPress(guiFind(d, c.button));
            EXPECT_FALSE(sensitive(d, "*whichone")) << c.what;
            EXPECT_FALSE(sensitive(d, "*write")) << c.what;
            for (const char *box : {"tranfer_err", "wrongFile"})
                takeMessage(box);
        });
        EXPECT_EQ(recInt(rec::TlnPresent), 0) << c.what;
    }
}

// "Programmieren" takes the fields shown, then sends all 30 records.
TEST_F(TndTransfers, ProgrammingSendsTheEditedSubscriber)
{
    setRecInt(rec::TlnPresent, 1);
    Bytes records = allRecords();
    openTnd([](Widget d) {
        choose(d, 12); // S1  #2: subscriber 22
        typeInto(guiFind(d, "*nnz"), "0221234");
        EXPECT_EQ(fieldText(d, "*rufz"), "0") << "no configuration read: no global forwarding time";
        typeInto(guiFind(d, "*rufz"), "12");
        guiPress(guiFind(d, "*write"));
    });
    pbxsim::State s = line.sim.state();
    std::memcpy(records.data() + 22 * 124 + 72, "0221234", 8);
    records[22 * 124 + 122] = 12;
    EXPECT_EQ(allRecords(), records);
    for (int i = 0; i < rec::TlnCount; i++) {
        Bytes sent(tln(i), tln(i) + 124);
        sent[0] = static_cast<unsigned char>(i);
        EXPECT_EQ(Bytes(s.tln[std::size_t(i)].begin(), s.tln[std::size_t(i)].end()), sent) << i;
    }
}

} // namespace
