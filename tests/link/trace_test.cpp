// The debug trace at levels 0, 1 and 3, and the packet dump.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link/trace.h"
#include "link_env.h"
#include "support/bounded.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
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

// The trace lies in a directory everybody writes to: it goes only into a
// regular file of the user's own, readable by the user alone.  Anything else
// there (a planted link, a FIFO, another user's file) gets nothing, is not
// waited on, and standard error says so in one line.
TEST(TraceFile, OnlyIntoARegularFileOfTheUsersOwn)
{
    struct Case {
        const char *name;
        int (*make)(const std::string &path, const std::string &victim); // a descriptor to close, or -1
        const char *refused; // why, on standard error; nullptr: traced
    } cases[] = {
        {"new file", [](const std::string &, const std::string &) { return -1; }, nullptr},
        {"own file, emptied", [](const std::string &path, const std::string &) { writeFile(path, "alt"); return -1; }, nullptr},
        {"link to a victim",
         [](const std::string &path, const std::string &victim) {
             (void)!symlink(victim.c_str(), path.c_str());
             return -1;
         },
         "no regular file"},
        {"FIFO nobody reads", [](const std::string &path, const std::string &) {
             mkfifo(path.c_str(), 0666);
             return -1;
         },
         "no regular file"},
        {"FIFO another reads",
         [](const std::string &path, const std::string &) {
             mkfifo(path.c_str(), 0666);
             return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); // the reader
         },
         "no regular file of this user's"},
        {"another user's file",
         [](const std::string &path, const std::string &) {
             writeFile(path, "");
             chmod(path.c_str(), 0666);
             (void)!chown(path.c_str(), 65534, 65534);
             return -1;
         },
         "no regular file of this user's"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "another user's file" && geteuid() != 0)
            continue; // only root can make one
        TempDir dir;
        std::string path = dir.file("kelvora.debug"), victim = dir.file("victim");
        writeFile(victim, "wertvoll");
        int reader = c.make(path, victim);
        setDebugFilePath(path.c_str());
        Bounded r = runBounded(5, [&] {
            bool open = openTrace(2);
            tracePrintf("Spur");
            closeTrace();
            return open ? 1 : 0;
        });
        if (reader >= 0)
            close(reader);
        ASSERT_TRUE(r.finished) << "openTrace hung";
        EXPECT_EQ(r.result, c.refused ? 0 : 1);
        EXPECT_EQ(readFile(victim), "wertvoll");
        struct stat st;
        if (!c.refused) {
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(readFile(path), "Spur");
            ASSERT_EQ(stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        } else {
            EXPECT_EQ(r.out, "kelvora: no trace, " + path + ": " + c.refused + "\n");
            if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
                EXPECT_EQ(readFile(path), "") << "another's file untouched";
            }
        }
    }
}

namespace {

// A trace that cannot be written (a full disk: here a file size limit) is
// said once on standard error, not lost without a word.
TEST(TraceFile, ATraceThatCannotBeWrittenIsSaidOnce)
{
    TempDir dir;
    std::string path = dir.file("kelvora.debug");
    setDebugFilePath(path.c_str());
    Bounded r = runBounded(5, [&] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = {100, 100};
        setrlimit(RLIMIT_FSIZE, &small);
        if (!openTrace(3))
            return 1;
        for (int i = 0; i < 3; i++) {
            for (int k = 0; k < 100; k++)
                tracePrintf(" %X", unsigned(k));
            traceFlush(); // as at every transmission's end
        }
        closeTrace();
        return 0;
    });
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.out, "kelvora: trace " + path + " not written: File too large\n");
}

} // namespace
