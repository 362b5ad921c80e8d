// The debug trace at levels 0, 1 and 3, and the packet dump.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link/trace.h"
#include "link_env.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>


namespace {

// The trace goes to a file of the test's own.
struct Trace : ::testing::Test {
    TempDir tracedir;
    std::string path = tracedir.file("kelvora.debug");
    void SetUp() override
    {
        debugfile = std::fopen(path.c_str(), "w");
        ASSERT_NE(debugfile, nullptr);
    }
    std::string traced()
    {
        std::fflush(debugfile);
        return readFile(path);
    }
};

TEST_F(Trace, LevelsZeroAndOneOnATimeoutAndErrors)
{
    for (int level : {0, 1}) {
        debugflag = level;
        Line line;
        ASSERT_GE(line.open(), 0);
        pbxsim::Faults f;
        f.answers.push_back({pbxsim::AnswerFault::Silent, 1, 0});
        line.sim.setFaults(f);
        ASSERT_EQ(sendBOTR(line.fd), 1);
        ASSERT_EQ(isOK(line.fd), -1);
        stop_conn(mainShell(), line.fd, -1);
        line.ended();
        EXPECT_EQ(traced(), level ? "\nTimeout while reading data!\nERROR: #FFFFFFFF !!!!!!!!!!!!!!\n" : "") << level;
    }
    // The code in hex; each ended transmission is on disk at once; a success is no error.
    std::fclose(debugfile);
    debugfile = std::fopen(path.c_str(), "w");
    for (int code : {ANS_CRC, ANS_CMD, ANS_OK}) {
        Line line;
        ASSERT_GE(line.open(), 0);
        stop_conn(mainShell(), line.fd, code);
        line.ended();
    }
    EXPECT_EQ(readFile(path), "ERROR: #0069 !!!!!!!!!!!!!!\nERROR: #006A !!!!!!!!!!!!!!\n") << "without a flush of ours";
}

TEST_F(Trace, LevelThreeTracesEveryByteAndEachAnswer)
{
    debugflag = 3;
    Line line;
    ASSERT_GE(line.open(), 0);
    ASSERT_EQ(sendBOTW(line.fd), 1);
    ASSERT_EQ(isOK(line.fd), ANS_OK);
    const unsigned char abc[] = {'a', 'b', 'c'};
    ASSERT_EQ(send_data(line.fd, K_WRITE_NAH_BER_LIST, NoSubCode, abc, 3), 1);
    EXPECT_EQ(traced(), "\nOUT:  5 61 0 0 0"
                        "\n 4\nWaiting...4\nIN:  60 0 0\nLen...4\n"
                        "\nCheckSum: 000040AC\n\nOUT:  7 27 AC 40 61 62 63 0 0 0 0 0 0 0 0 0 0");
    const unsigned char answer[] = {7, 1, 0xAD, 0x40, 'a', 'b', 'c'};
    EXPECT_FALSE(isCheckSumOK(answer, 7));
    EXPECT_NE(traced().find("\nCheckSum: 000040AD 000040AC\n"), std::string::npos);
}

TEST_F(Trace, DumpRowsOfEight)
{
    const unsigned char bytes[] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 0x01, 0x7F, ' ', 0xE4};
    dumppacket("K_READ_TLN_GEB_LIST", bytes, 12);
    EXPECT_EQ(traced(), "\n\nK_READ_TLN_GEB_LIST\n"
                        "41 42 43 44 45 46 47 48 A B C D E F G H \n"
                        "01 7F 20 E4 . .   . ");
    std::string before = traced();
    dumppacket("full", bytes, 8);
    EXPECT_EQ(traced().substr(before.size()), "\n\nfull\n41 42 43 44 45 46 47 48 A B C D E F G H \n");
}

} // namespace

// The trace lies in a directory everybody writes to: a link planted there is
// not followed, the file is the user's alone, and a trace that cannot be
// opened is off and says why.
TEST(TraceFile, NoLinkFollowedAndOnlyTheUserReadsIt)
{
    TempDir dir;
    std::string path = dir.file("kelvora.debug");
    setDebugFilePath(path.c_str());
    ASSERT_TRUE(openTrace(2));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    closeTrace();

    std::string victim = dir.file("victim");
    writeFile(victim, "wertvoll");
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(openTrace(3));
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(debugflag, 0);
    EXPECT_EQ(debugfile, nullptr);
    EXPECT_EQ(readFile(victim), "wertvoll");
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_NE(said.find(std::strerror(ELOOP)), std::string::npos) << said;
}
