// Injected faults, pacing and the frame log.
#include "sim_client.h"

#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>


namespace {

using pbxsim::AnswerFault;

struct Faults : SimTest {
    void set(pbxsim::Faults f) { sim.setFaults(f); }
    void answerFault(AnswerFault kind, int k, int n = 0)
    {
        pbxsim::Faults f;
        f.answers.push_back({kind, k, n});
        sim.setFaults(f);
    }
    Bytes normalVersionAnswer()
    {
        std::string v = sim.state().version;
        Bytes d(v.begin(), v.end());
        d.push_back(0);
        return dataFrame(64, -1, d, false);
    }
};

TEST_F(Faults, RefusedBeginStaysRefusedAndOpensNothing)
{
    pbxsim::Faults f;
    f.refuse_begin = 106;
    set(f);
    EXPECT_EQ(ask(command(98, 0)), ack(106));
    EXPECT_EQ(ask(command(97, 0)), ack(106));
    EXPECT_EQ(ask(command(2, 0)), ack(107)); // no read transmission was opened
}

TEST_F(Faults, KthDataFrameRefused)
{
    pbxsim::Faults f;
    f.refuse_data_at = 2;
    f.refuse_data_code = 107;
    set(f);
    beginWrite();
    EXPECT_EQ(ask(dataFrame(35, -1, Bytes(50, 1))), ack(96));
    EXPECT_EQ(ask(dataFrame(36, -1, Bytes(50, 2))), ack(107));
    EXPECT_EQ(ask(dataFrame(36, -1, Bytes(50, 3))), ack(96));
    EXPECT_EQ(sim.state().rufvert[0], 3);
}

TEST_F(Faults, BadChecksumOnlyOnTheKthAnswer)
{
    answerFault(AnswerFault::BadChecksum, 2);
    beginRead();
    Bytes a = ask(command(64, 0));
    Bytes good = normalVersionAnswer();
    ASSERT_EQ(a.size(), good.size());
    EXPECT_FALSE(checksumOk(a));
    EXPECT_EQ(Bytes(a.begin() + 4, a.end()), Bytes(good.begin() + 4, good.end()));
    EXPECT_EQ(ask(command(64, 0)), good);
}

TEST_F(Faults, SilentAnswer)
{
    answerFault(AnswerFault::Silent, 1);
    client->send(command(98, 0));
    EXPECT_TRUE(answer(400).empty());
    EXPECT_EQ(ask(command(98, 0)), ack(96));
}

TEST_F(Faults, CutShortAfterNBytes)
{
    answerFault(AnswerFault::CutShort, 2, 7);
    beginRead();
    client->send(command(64, 0));
    Bytes good = normalVersionAnswer();
    EXPECT_EQ(client->receive(100, 400), Bytes(good.begin(), good.begin() + 7));
}

TEST_F(Faults, OverLongWithNDataBytes)
{
    answerFault(AnswerFault::OverLong, 2, 251);
    beginRead();
    Bytes a = ask(command(64, 0));
    Bytes good = normalVersionAnswer();
    ASSERT_EQ(a.size(), 255u);
    EXPECT_EQ(a[0], 255);
    EXPECT_TRUE(checksumOk(a));
    EXPECT_EQ(Bytes(a.begin() + 4, a.begin() + long(good.size())), Bytes(good.begin() + 4, good.end()));
    EXPECT_EQ(a.back(), 0xEE);
}

TEST_F(Faults, LeadingZerosBeforeEveryAnswer)
{
    pbxsim::Faults f;
    f.leading_zeros = 9;
    set(f);
    for (int i = 0; i < 2; i++) {
        client->send(command(98, 0));
        Bytes want(9, 0);
        want.insert(want.end(), {4, 96, 0, 0});
        EXPECT_EQ(client->receive(13), want);
    }
}

// The program's end of the line goes away: end of file, not silence; the link
// then leads to a fresh line on which the simulator answers as before.
TEST_F(Faults, HangUpInsteadOfTheKthAnswerThenAFreshLineBehindTheLink)
{
    std::string before = sim.slaveName();
    answerFault(AnswerFault::HangUp, 2);
    beginRead();
    EXPECT_EQ(sim.hangUps(), 0);
    auto sent = Clock::now();
    client->send(command(2, 0));
    struct pollfd p = {client->fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1) << "the line stayed quiet instead of going away";
    EXPECT_LT(secondsSince(sent), 0.5);
    EXPECT_NE(p.revents & POLLHUP, 0) << "revents " << p.revents;
    unsigned char byte;
    ssize_t n = read(client->fd(), &byte, 1);
    EXPECT_TRUE(n == 0 || (n < 0 && errno == EIO)) << "read gave " << n << ", errno " << errno;
    ASSERT_TRUE(sim.waitForFrames(3, 1000));
    for (int i = 0; i < 100 && sim.hangUps() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(sim.hangUps(), 1);
    EXPECT_NE(sim.slaveName(), before);
    char target[256] = {};
    ASSERT_GT(readlink(dir.file("pbx").c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.slaveName());

    client = std::make_unique<PtyClient>(dir.file("pbx"));
    beginRead();
    EXPECT_EQ(ask(command(2, 0)).size(), 204u) << "one hang-up only";
    std::vector<pbxsim::Frame> frames = sim.frames();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[2].bytes, command(2, 0));
    EXPECT_EQ(frames[3].dir, '<') << "the withheld answer is not logged as sent";
    EXPECT_EQ(frames[3].bytes, command(98, 0));
}

TEST_F(Faults, CountsRestartWhenFaultsAreSet)
{
    beginRead();
    beginRead();
    answerFault(AnswerFault::Silent, 1);
    client->send(command(98, 0));
    EXPECT_TRUE(answer(300).empty());
}

TEST_F(Faults, FrameLogOneLinePerFrame)
{
    std::string path = dir.file("log");
    std::string error;
    ASSERT_TRUE(sim.setLogFile(path, &error)) << error;
    answerFault(AnswerFault::Silent, 2);
    Bytes line(255, 0);
    line.insert(line.end(), {5, 98, 0, 0, 0});
    client->send(line);
    EXPECT_EQ(answer(), ack(96));
    client->send(command(3, 0));
    EXPECT_TRUE(answer(300).empty());
    client->send(command(99, 0));
    EXPECT_EQ(answer(), ack(96));
    std::string log = readFile(path);
    std::string head = "< 00*255\n< 05 62 00 00 00\n> 04 60 00 00\n< 05 03 00 00 00\n# answer withheld: 68 03 ";
    EXPECT_EQ(log.substr(0, head.size()), head);
    EXPECT_NE(log.find("\n< 05 63 00 00 00\n> 04 60 00 00\n"), std::string::npos) << log;
}

TEST_F(Faults, PacingAt4800Baud)
{
    beginRead();
    auto t = Clock::now();
    EXPECT_EQ(ask(command(2, 0)).size(), 204u);
    double fast = secondsSince(t);
    EXPECT_LT(fast, 0.2);

    sim.setBaud(4800);
    t = Clock::now();
    EXPECT_EQ(ask(command(2, 0)).size(), 204u);
    double paced = secondsSince(t);
    EXPECT_GE(paced, (5 + 204) * 11 / 4800.0);
    EXPECT_LT(paced, 1.0);
}

} // namespace
