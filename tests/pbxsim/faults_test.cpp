// Injected faults, pacing and the frame log.
#include "sim_client.h"

#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using pbxsim::AnswerFault;

using Faults = SimTest;

Bytes joined(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes versionAnswer(const pbxsim::State &s, std::size_t dataBytes = 0)
{
    Bytes d(s.version.begin(), s.version.end());
    d.push_back(0);
    d.resize(std::max(d.size(), dataBytes), 0xEE);
    return dataFrame(64, -1, d, false);
}

pbxsim::Faults answerFault(AnswerFault kind, int k, int n = 0)
{
    pbxsim::Faults f;
    f.answers.push_back({kind, k, n});
    return f;
}

// What goes out for each frame sent, the faults set after warmUp begins.
TEST_F(Faults, EachFaultHitsWhereItIsSetAndNowhereElse)
{
    const Bytes version = versionAnswer(sim.state());
    pbxsim::Faults refusedBegin, refusedData, zeros;
    refusedBegin.refuse_begin = 106;
    refusedData.refuse_data_at = 2;
    refusedData.refuse_data_code = 107;
    zeros.leading_zeros = 9;
    struct Exchange {
        Bytes send, want; // want empty: silence
        bool wrongSum = false; // want with another checksum
    };
    const struct {
        const char *name;
        pbxsim::Faults faults;
        int warmUp;
        std::vector<Exchange> exchanges;
        int rufvert0; // the first call distribution byte afterwards; -1 unchanged
    } cases[] = {
        {"begin refused: stays refused and opens nothing", refusedBegin, 0,
         {{command(98, 0), ack(106)}, {command(97, 0), ack(106)}, {command(2, 0), ack(107)}}, -1},
        {"k-th data frame refused", refusedData, 0,
         {{command(97, 0), ack(96)},
          {dataFrame(35, -1, Bytes(50, 1)), ack(96)},
          {dataFrame(36, -1, Bytes(50, 2)), ack(107)},
          {dataFrame(36, -1, Bytes(50, 3)), ack(96)}},
         3},
        {"wrong checksum on the k-th answer only", answerFault(AnswerFault::BadChecksum, 2), 0,
         {{command(98, 0), ack(96)}, {command(64, 0), version, true}, {command(64, 0), version}}, -1},
        {"silent answer", answerFault(AnswerFault::Silent, 1), 0, {{command(98, 0), {}}, {command(98, 0), ack(96)}},
         -1},
        {"cut short after n bytes", answerFault(AnswerFault::CutShort, 2, 7), 0,
         {{command(98, 0), ack(96)}, {command(64, 0), Bytes(version.begin(), version.begin() + 7)}}, -1},
        {"over-long with n data bytes", answerFault(AnswerFault::OverLong, 2, 251), 0,
         {{command(98, 0), ack(96)}, {command(64, 0), versionAnswer(sim.state(), 251)}}, -1},
        {"zero bytes before every answer", zeros, 0,
         {{command(98, 0), joined(Bytes(9, 0), ack(96))}, {command(98, 0), joined(Bytes(9, 0), ack(96))}}, -1},
        {"counts restart when faults are set", answerFault(AnswerFault::Silent, 1), 2, {{command(98, 0), {}}}, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        sim.setFaults({});
        ASSERT_EQ(ask(command(99, 0)), ack(96)); // whatever transmission was open ends
        std::uint8_t rufvert0 = sim.state().rufvert[0];
        for (int i = 0; i < c.warmUp; i++)
            beginRead();
        sim.setFaults(c.faults);
        for (const Exchange &e : c.exchanges) {
            client->send(e.send);
            Bytes got = client->receive(std::max<std::size_t>(e.want.size(), 1), e.want.empty() ? 400 : 1000);
            if (e.wrongSum) {
                ASSERT_EQ(got.size(), e.want.size());
                EXPECT_FALSE(checksumOk(got));
                std::copy(e.want.begin() + 2, e.want.begin() + 4, got.begin() + 2);
            }
            EXPECT_EQ(got, e.want) << hexString(e.send);
        }
        EXPECT_EQ(client->receive(1, 100), Bytes{}) << "nothing more";
        EXPECT_EQ(sim.state().rufvert[0], c.rufvert0 < 0 ? rufvert0 : c.rufvert0);
    }
}

// The program's end of the line goes away: end of file, not silence; the link
// then leads to a fresh line on which the simulator answers as before.
TEST_F(Faults, HangUpInsteadOfTheKthAnswerThenAFreshLineBehindTheLink)
{
    std::string before = sim.slaveName();
    sim.setFaults(answerFault(AnswerFault::HangUp, 2));
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

TEST_F(Faults, FrameLogOneLinePerFrame)
{
    std::string path = dir.file("log");
    std::string error;
    ASSERT_TRUE(sim.setLogFile(path, &error)) << error;
    sim.setFaults(answerFault(AnswerFault::Silent, 2));
    Bytes line = joined(Bytes(255, 0), command(98, 0));
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
