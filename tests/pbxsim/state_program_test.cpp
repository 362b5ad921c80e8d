// The state file, the link on the file system and the program itself.
#include "sim_client.h"
#include "config/version.h"
#include "support/bounded.h"
#include "support/e2e_process.h"

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using pbxsim::State;

TEST(StateFile, DefaultAndEmptyStatesSurviveSaveAndLoad)
{
    TempDir dir;
    std::string error;
    for (const State &s : {pbxsim::defaultState(), pbxsim::emptyState()}) {
        ASSERT_TRUE(pbxsim::saveState(s, dir.file("s"), &error)) << error;
        State back;
        ASSERT_TRUE(pbxsim::loadState(back, dir.file("s"), &error)) << error;
        EXPECT_TRUE(back == s);
    }
}

TEST(StateFile, DefaultContentLooksLikeAThreePortPbx)
{
    State s = pbxsim::defaultState();
    EXPECT_EQ(s.port_count, 3);
    EXPECT_STREQ(reinterpret_cast<const char *>(&s.rufnr[9]), "11");
    EXPECT_STREQ(reinterpret_cast<const char *>(&s.rufnr[9 + 3 * 7]), "18");
    EXPECT_FALSE(s.outcalls.empty());
    EXPECT_FALSE(s.incalls.empty());
    EXPECT_EQ(s.version.rfind("V1.1", 0), 0u);
}

TEST(StateFile, HandWrittenFileNamesOnlyWhatItNeeds)
{
    TempDir dir;
    writeFile(dir.file("s"), "# a test PBX\n"
                             "pbxsim-state 1\n"
                             "ports 2\n"
                             "version V1.10 test\n"
                             "rufnr 0000 0000 0000 0000 00 3131\n"
                             "counter 3 -50\n"
                             "kwz 199 3132\n"
                             "outcall 0102\n");
    State s;
    std::string error;
    ASSERT_TRUE(pbxsim::loadState(s, dir.file("s"), &error)) << error;
    EXPECT_EQ(s.port_count, 2);
    EXPECT_EQ(s.version, "V1.10 test");
    EXPECT_STREQ(reinterpret_cast<const char *>(&s.rufnr[9]), "11");
    EXPECT_EQ(s.counters[3], std::uint32_t(-50));
    EXPECT_EQ(s.counters[0], pbxsim::NoCounter);
    EXPECT_EQ(s.kwz[199 * 25], '1');
    ASSERT_EQ(s.outcalls.size(), 1u);
    EXPECT_EQ(s.outcalls[0][1], 2);
    EXPECT_EQ(s.outcalls[0][22], 0);
    EXPECT_TRUE(s.incalls.empty());
    EXPECT_EQ(s.ports[0][0], 0);
}

TEST(StateFile, KeywordsWhereverTheBlanksPutThem)
{
    TempDir dir;
    struct {
        const char *line, *version;
    } cases[] = {
        {"version V1.10 test", "V1.10 test"}, {"   version V1.10 test", "V1.10 test"}, {"\tversion\tV2", "V2"},
        {" version  V3", " V3"}, // the text's own blank stays, as saveState writes it
        {"  version", ""},       {"  # a comment\n \t \nversion V4", "V4"},
    };
    for (auto &c : cases) {
        writeFile(dir.file("s"), std::string("pbxsim-state 1\n  ports 2\n") + c.line + "\n");
        Bounded r = runBounded(5, [&] {
            State s;
            std::string error;
            bool ok = pbxsim::loadState(s, dir.file("s"), &error) && s.port_count == 2;
            std::fputs(ok ? ("[" + s.version + "]").c_str() : error.c_str(), stdout);
            return 0;
        });
        EXPECT_EQ(r.out, "[" + std::string(c.version) + "]") << c.line;
    }
}

TEST(StateFile, ErrorsNameTheLine)
{
    TempDir dir;
    struct {
        std::string text;
        const char *error;
    } cases[] = {
        {"ports 3\n", ":1: not a pbxsim state file"},
        {"pbxsim-state 1\nports 4\n", ":2: port count"},
        {"pbxsim-state 1\n\nanldat 00\nfrobnicate 1\n", ":4: unknown keyword \"frobnicate\""},
        {"pbxsim-state 1\nber " + std::string(202, '0') + "\n", ":2: more than 100 bytes"},
        {"pbxsim-state 1\nkwz 200 31\n", ":2: index outside 0..199"},
        {"pbxsim-state 1\nstkon 0G\n", ":2: not a hex digit"},
        {"pbxsim-state 1\ncounter 1 lots\n", ":2: counter must be"},
        {"", ": empty file"},
    };
    for (auto &c : cases) {
        writeFile(dir.file("s"), c.text);
        State s = pbxsim::defaultState();
        std::string error;
        EXPECT_FALSE(pbxsim::loadState(s, dir.file("s"), &error)) << c.text;
        EXPECT_NE(error.find(std::string(dir.file("s")) + c.error), std::string::npos) << error;
        EXPECT_TRUE(s == pbxsim::defaultState()) << "a failed load changed the state";
    }
}

TEST(Link, SymlinkToTheSlaveRemovedOnStop)
{
    TempDir dir;
    std::string link = dir.file("pbx0");
    {
        pbxsim::Simulator sim;
        std::string error;
        ASSERT_TRUE(sim.open(link, &error)) << error;
        char target[256] = {};
        ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), sim.slaveName());
        EXPECT_EQ(sim.path(), link);
        sim.start();
        sim.stop();
        EXPECT_NE(access(link.c_str(), F_OK), 0);
    }
    // A dangling link from an earlier run is replaced; a file is not.
    ASSERT_EQ(symlink("/dev/pts/nonexistent", link.c_str()), 0);
    {
        pbxsim::Simulator sim;
        std::string error;
        EXPECT_TRUE(sim.open(link, &error)) << error;
    }
    EXPECT_NE(access(link.c_str(), F_OK), 0);
    writeFile(link, "mine");
    pbxsim::Simulator sim;
    std::string error;
    EXPECT_FALSE(sim.open(link, &error));
    EXPECT_EQ(error, link + " exists");
}

// The program, as a person or an end-to-end test runs it: installed as
// kelvora-pbxsim, it says that name, whatever it was built as.
TEST(Program, OneShotCommandLinesUnderTheNameItWasStartedWith)
{
    TempDir dir;
    std::string link = dir.file("kelvora-pbxsim");
    ASSERT_EQ(symlink(PBXSIM_BINARY, link.c_str()), 0);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said; // the start of stdout and stderr
    } cases[] = {
        {{"--help"}, 0, "Usage: kelvora-pbxsim [OPTION]..."},
        {{"--version"}, 0, "kelvora-pbxsim " + std::string(KelvoraVersion) + "\n"},
        {{"--load", dir.file("missing")}, 2, "kelvora-pbxsim: "},
        {{"--frobnicate"}, 2, link + ": unrecognized option '--frobnicate'\nTry 'kelvora-pbxsim --help'.\n"},
        {{"--cut-short", "3"}, 2, ""},
        {{"--hang-up", "0"}, 2, ""},
        {{"--write-default", dir.file("default")}, 0, ""},
    };
    for (const auto &c : cases) {
        std::vector<std::string> argv = {link};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string out;
        EXPECT_EQ(runTool(argv, &out), c.status) << c.args[0] << ": " << out;
        EXPECT_EQ(out.substr(0, c.said.size()), c.said) << c.args[0];
    }
    std::string help;
    EXPECT_EQ(runTool({link, "--help"}, &help), 0);
    for (const char *word : {"--link", "--load", "--save", "--baud", "--log", "--refuse-begin", "--refuse-data",
                             "--bad-checksum", "--silent", "--cut-short", "--over-long", "--leading-zeros", "--hang-up",
                             "pbxsim-state 1", "< 05 62 00 00 00", "since the start of kelvora-pbxsim;"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    State s;
    std::string error;
    ASSERT_TRUE(pbxsim::loadState(s, dir.file("default"), &error)) << error;
    EXPECT_TRUE(s == pbxsim::defaultState());
}

// Its faults from the command line, its state saved on exit, and a hang-up
// that moves its link to a fresh line and says so in its log.
TEST(Program, AnswersOnItsLinkHangsUpAndSavesItsStateOnExit)
{
    TempDir dir;
    std::string error;
    State s = pbxsim::defaultState();
    s.version = "V1.19 from a file";
    ASSERT_TRUE(pbxsim::saveState(s, dir.file("in"), &error));
    std::string link = dir.file("pbx0");
    PbxsimProcess pbx;
    PbxsimOptions options{
        dir.file("in"), dir.file("saved"), dir.file("log"), 0, {"--refuse-data", "1:107", "--hang-up", "5"}};
    ASSERT_TRUE(pbx.start(link, options, dir.file("out"), &error)) << error;
    {
        PtyClient c(link);
        c.send(command(97, 0));
        EXPECT_EQ(c.receive(4), ack(96));
        c.send(dataFrame(35, -1, Bytes(50, 1)));
        EXPECT_EQ(c.receive(4), ack(107));
        c.send(dataFrame(35, -1, Bytes(50, 2)));
        EXPECT_EQ(c.receive(4), ack(96));
        c.send(command(99, 0));
        EXPECT_EQ(c.receive(4), ack(96));
        c.send(command(98, 0));
        EXPECT_TRUE(c.receive(4, 1000).empty()); // how it goes away: faults_test.cpp
    }
    {
        PtyClient c(link);
        c.send(command(98, 0));
        EXPECT_EQ(c.receive(4), ack(96)) << "the link leads to the fresh line";
    }
    int status = pbx.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(access(link.c_str(), F_OK), 0) << "link left behind";
    State saved;
    ASSERT_TRUE(pbxsim::loadState(saved, dir.file("saved"), &error)) << error;
    EXPECT_EQ(saved.version, "V1.19 from a file");
    EXPECT_EQ(saved.ber[0], 2);
    std::string log = readFile(dir.file("log"));
    EXPECT_EQ(log.rfind("< 05 61 00 00 00\n", 0), 0u);
    EXPECT_NE(log.find("\n# line hung up; the line is now /dev/pts/"), std::string::npos) << log;
}

} // namespace
