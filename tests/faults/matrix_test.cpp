// Every transfer against every fault the simulator injects, at the begin, the
// first, a middle and the last step of the transfer's body and at its end.
//
// Each case runs the transfer once with the fault and checks what the user is
// told, that no lock file and no descriptor to the line is left, that the
// record holds exactly what the transfer promises for that ending, what the
// windows show and which frames went out; then it runs the transfer again with
// the fault gone, which must go through.
//
// Answers count as the simulator counts them: answer 1 acknowledges the begin,
// answers 2 .. steps+1 belong to the body (data answers of a read, the
// acknowledgements of a write's data frames), answer steps+2 acknowledges the
// end.  What the program makes of a fault:
//   - begin refused: the refusal's text; the body never runs.
//   - data frame refused: writes only (reads send no data frames); the
//     refusal's text, nothing sent after the refused frame.
//   - wrong checksum: a data answer is a CRC error.  Acknowledgements carry no
//     data, so there is nothing their checksum protects: they are taken by
//     their code, and a write or a begin goes through.
//   - no answer, an answer cut short, the line hung up: a transfer error; at
//     the begin the transfer counts as refused.
//   - an over-long answer: its code counts and data answers are cut to the
//     room their list has, so every transfer goes through.
//   - zero bytes ahead of every answer: skipped, the transfer goes through.
//   - any fault on the end's acknowledgement: the end is not checked, the
//     transfer has gone through.
// One transfer (NetRow) meets every fault once more with the PBX behind the
// real ser2net (rfc2217://): the same message, frames and record; a line hung
// up at the far side ends the connection, which the advice says.
#include "transfers.h"

#include "config/record.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "support/gui.h"
#include "support/pbx_line.h"
#include "support/program.h"
#include "support/ser2net_line.h"
#include "toolkit/toolkit.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <memory>
#include <set>
#include <dirent.h>
#include <limits.h>
#include <thread>
#include <unistd.h>

namespace {

enum class Fault { BeginRefused, DataRefused, BadChecksum, Silent, CutShort, OverLong, LeadingZeros, HangUp };
enum class At { Begin, First, Middle, Last, End, Every };

constexpr int RefusedBeginCode = 106, RefusedDataCode = 107;
constexpr int CutAfter = 2;       // bytes of a cut answer: its length and its code
constexpr int OverLongData = 251; // longer than any answer the PBX sends
constexpr int ZerosAhead = 200;

// The matrix waits for nothing: frames are not paused but recorded, and a
// silent line is given up after FastByteMs.  One row keeps the line's real
// timing, so the real pause and the real byte deadline run in the matrix too.
constexpr int FastByteMs = 150;
constexpr const char *RealTimingRow = "CounterRead";
constexpr const char *NetRow = "ConfigProgram";
constexpr double PauseSeconds = 20 * 1024e-6;

std::vector<std::vector<unsigned char>> &pausedFrames()
{
    static std::vector<std::vector<unsigned char>> frames;
    return frames;
}

void recordPause() { pausedFrames().emplace_back(outbuff, outbuff + outbuff[0]); }

const char *faultName(Fault f)
{
    static const char *const names[] = {"BeginRefused", "DataRefused", "BadChecksum", "Silent",
                                        "CutShort",     "OverLong",    "LeadingZeros", "HangUp"};
    return names[int(f)];
}

struct Case {
    std::size_t row; // in transfers()
    Fault fault;
    At at;
    bool net = false; // the PBX behind ser2net

    const Transfer &transfer() const { return transfers()[row]; }

    // The body step the fault hits: 0 the begin, steps + 1 the end.
    int step() const
    {
        int steps = transfer().steps;
        switch (at) {
        case At::Begin: return 0;
        case At::First: return 1;
        case At::Middle: return (steps + 1) / 2;
        case At::Last: return steps;
        case At::End: return steps + 1;
        case At::Every: break;
        }
        return -1;
    }

    std::string name() const
    {
        std::string n = std::string(transfer().name) + (net ? "OverNetwork" : "") + "_" + faultName(fault);
        if (fault == Fault::BeginRefused || fault == Fault::LeadingZeros)
            return n;
        static const char *const places[] = {"Begin", "First", "Middle", "Last", "End"};
        if (transfer().steps == 1 && at == At::First)
            return n + "_Only";
        return n + "_" + places[int(at)];
    }

    pbxsim::Faults faults() const
    {
        pbxsim::Faults f;
        int answer = step() + 1;
        switch (fault) {
        case Fault::BeginRefused: f.refuse_begin = RefusedBeginCode; break;
        case Fault::DataRefused:
            f.refuse_data_at = step();
            f.refuse_data_code = RefusedDataCode;
            break;
        case Fault::BadChecksum: f.answers.push_back({pbxsim::AnswerFault::BadChecksum, answer, 0}); break;
        case Fault::Silent: f.answers.push_back({pbxsim::AnswerFault::Silent, answer, 0}); break;
        case Fault::CutShort: f.answers.push_back({pbxsim::AnswerFault::CutShort, answer, CutAfter}); break;
        case Fault::OverLong: f.answers.push_back({pbxsim::AnswerFault::OverLong, answer, OverLongData}); break;
        case Fault::LeadingZeros: f.leading_zeros = ZerosAhead; break;
        case Fault::HangUp: f.answers.push_back({pbxsim::AnswerFault::HangUp, answer, 0}); break;
        }
        return f;
    }

    // How the transfer must end, and the text of the transfer error dialog ("" none).
    Outcome outcome(std::string *text) const
    {
        const Transfer &t = transfer();
        Outcome done{Outcome::Done, t.steps};
        text->clear();
        if (fault == Fault::BeginRefused) {
            *text = "CMD-Fehler";
            return {Outcome::Refused, 0};
        }
        if (fault == Fault::DataRefused) {
            *text = "Prio-Fehler";
            return {Outcome::Failed, step() - 1};
        }
        bool lost = fault == Fault::Silent || fault == Fault::CutShort || fault == Fault::HangUp;
        bool dataAnswer = !t.writes && step() >= 1 && step() <= t.steps;
        if (fault == Fault::BadChecksum && dataAnswer) {
            *text = "CRC-Fehler";
            return {Outcome::Failed, step() - 1};
        }
        if (!lost || step() > t.steps)
            return done;
        *text = "Uebertragungs-Fehler";
        if (step() == 0)
            return {Outcome::Refused, 0};
        return {Outcome::Failed, step() - 1};
    }

    // Frames the program sends: the begin, a command or data frame per step
    // reached and the failing one, the end; a hung-up line takes nothing after
    // the frame it hung up on.
    std::size_t framesSent() const
    {
        std::string text;
        Outcome o = outcome(&text);
        std::size_t frames = 1 + std::size_t(o.reached) + (o.how == Outcome::Failed ? 1 : 0) + 1;
        if (fault == Fault::HangUp && o.how != Outcome::Done)
            --frames;
        return frames;
    }
};

// gtest prints the case by its name rather than its bytes.
void PrintTo(const Case &c, std::ostream *os) { *os << c.name(); }

std::vector<Case> matrix()
{
    std::vector<Case> cases;
    for (std::size_t row = 0; row < transfers().size(); ++row) {
        const Transfer &t = transfers()[row];
        cases.push_back({row, Fault::BeginRefused, At::Begin});
        cases.push_back({row, Fault::LeadingZeros, At::Every});
        std::vector<At> body = {At::First};
        if (t.steps > 2)
            body.push_back(At::Middle);
        if (t.steps > 1)
            body.push_back(At::Last);
        if (t.writes)
            for (At at : body)
                cases.push_back({row, Fault::DataRefused, at});
        for (Fault f : {Fault::BadChecksum, Fault::Silent, Fault::CutShort, Fault::OverLong, Fault::HangUp}) {
            cases.push_back({row, f, At::Begin});
            for (At at : body)
                cases.push_back({row, f, at});
            cases.push_back({row, f, At::End});
        }
    }
    std::vector<Case> net;
    for (Case c : cases)
        if (std::string(c.transfer().name) == NetRow) {
            c.net = true;
            net.push_back(c);
        }
    cases.insert(cases.end(), net.begin(), net.end());
    return cases;
}

// Descriptors of this process open on a pty (either side), the simulator's own
// included, and its sockets (a network line, the display's).
int lineDescriptors()
{
    int count = 0;
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    while (dirent *e = readdir(dir)) {
        char target[PATH_MAX];
        std::string path = std::string("/proc/self/fd/") + e->d_name;
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        std::string t(target, std::size_t(n));
        count += t.rfind("/dev/pts/", 0) == 0 || t == "/dev/ptmx" || t.rfind("socket:", 0) == 0;
    }
    closedir(dir);
    return count;
}

// Where two records differ first, for the failure message.
std::string firstDifference(const RecordBytes &got, const RecordBytes &want)
{
    for (std::size_t i = 0; i < want.size(); ++i)
        if (got[i] != want[i]) {
            std::size_t last = i;
            for (std::size_t k = i; k < want.size(); ++k)
                if (got[k] != want[k])
                    last = k;
            return "record bytes " + std::to_string(i) + ".." + std::to_string(last) + " differ, first got " +
                   std::to_string(got[i]) + " want " + std::to_string(want[i]);
        }
    return "";
}

class FaultMatrix : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        realTiming_ = std::string(GetParam().transfer().name) == RealTimingRow;
        if (!realTiming_) {
            setFramePause(recordPause);
            setByteTimeoutMs(FastByteMs);
        }
    }

    bool realTiming_ = false;
    void TearDown() override { takeMessage("tranfer_err"); }

    // Runs the transfer and checks everything it leaves against outcome o.
    void runAndCheck(SimLine &line, const std::string &lock, const Transfer &t, const Outcome &o,
                     const std::string &text, std::size_t frames, bool hangUp)
    {
        RecordBytes before = recordBytes();
        std::string shownBefore = t.view();
        int descriptors = lineDescriptors();
        int hangUps = line.sim.hangUps();
        line.sim.clearLogs();
        pausedFrames().clear();

        auto started = std::chrono::steady_clock::now();
        t.run();
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        EXPECT_LT(seconds, 5.0) << "the transfer took too long to give up";

        if (hangUp) {
            for (int i = 0; i < 200 && line.sim.hangUps() == hangUps; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_EQ(line.sim.hangUps(), hangUps + 1) << "the simulator did not hang up";
        }
        pbxsim::State pbx = line.sim.state();

        EXPECT_EQ(takeMessage("tranfer_err"), text.empty() ? "" : "Fehler bei der Uebertragung: \n" + text);
        EXPECT_EQ(takeMessage("msg1"), "") << "no other message";
        EXPECT_NE(access(lock.c_str(), F_OK), 0) << "lock file left behind";
        EXPECT_EQ(lineDescriptors(), descriptors) << "a descriptor to the line was left open";
        for (const char *box : t.workingBoxes) {
            Widget w = XmtNameToWidget(t.dialogParent(), box);
            EXPECT_FALSE(w && guiViewable(XtParent(w))) << box << " still on the screen";
        }
        auto sent = sentByProgram(line.sim);
        EXPECT_EQ(sent.size(), frames) << "frames the program sent";
        if (realTiming_) {
            EXPECT_GE(seconds, double(frames) * PauseSeconds) << "a pause of 20.48 ms after every frame";
        } else if (!hangUp) {
            EXPECT_TRUE(pausedFrames() == sent) << "every frame the PBX got is followed by its pause";
        } else {
            // A line hung up takes nothing after the frame it hung up on; the
            // program still pauses after what it sends into it.
            EXPECT_TRUE(pausedFrames().size() >= sent.size() &&
                        std::equal(sent.begin(), sent.end(), pausedFrames().begin()))
                << "every frame the PBX got is followed by its pause";
        }

        RecordBytes want = before;
        t.leaves(want, pbx, o);
        RecordBytes got = recordBytes();
        EXPECT_TRUE(got == want) << firstDifference(got, want);

        std::string shown = t.view();
        EXPECT_EQ(shown, t.shows(shownBefore, pbx, o)) << "what the windows show";
        if (t.took && o.how == Outcome::Done) {
            EXPECT_EQ(t.took(got, pbx), "") << "the PBX does not hold what was programmed";
        }
    }
};

TEST_P(FaultMatrix, TellsLeavesClosesAndRunsAgain)
{
    const Case &c = GetParam();
    const Transfer &t = c.transfer();
    std::unique_ptr<SimLine> held;
    std::string device, lock;
    pid_t server = -1;
    if (c.net) {
        auto net = std::make_unique<Ser2netLine>(t.pbx());
        if (ser2netBinary().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh)";
        std::string why;
        ASSERT_TRUE(net->serve(&why)) << why;
        device = net->netDevice();
        lock = net->netLockPath();
        server = net->server;
        held = std::move(net);
        setDevicePath(device.c_str());
        scaleValues().clear();
    } else {
        held = std::make_unique<PbxLine>(t.pbx());
        device = held->device;
        lock = held->lockPath();
    }
    SimLine &line = *held;
    scribbleRecord();
    t.prepare();
    if (t.took) {
        ASSERT_NE(t.took(recordBytes(), line.sim.state()), "") << "the PBX already holds what would be programmed";
    }

    line.sim.setFaults(c.faults());
    std::string text;
    Outcome o = c.outcome(&text);
    // A programming run that broke off after the PBX took a data frame says
    // that the PBX holds part of it, whatever the cause.
    if (t.writes && o.how == Outcome::Failed && o.reached >= 1) {
        std::string partly = adviceText(programTop(), advice::Partly, "");
        ASSERT_NE(partly, "") << "the partly line is missing from the resource table";
        text += "\n" + partly;
    }
    // The line of advice below the error where its cause is known: a refused
    // command, a checksum, a line gone, a line silent from the very start.
    const char *advice = nullptr;
    if (text.starts_with("CMD-Fehler"))
        advice = advice::Refused;
    else if (text.starts_with("CRC-Fehler"))
        advice = advice::Disturbed;
    else if (c.net && c.fault == Fault::HangUp && text.starts_with("Uebertragungs-Fehler"))
        advice = advice::ConnectionLost;
    else if (text.starts_with("Uebertragungs-Fehler") && c.fault == Fault::HangUp)
        advice = advice::Gone;
    else if (text.starts_with("Uebertragungs-Fehler") && c.step() == 0 && c.fault != Fault::CutShort)
        advice = advice::NoAnswer;
    if (advice) {
        std::string line_ = adviceText(programTop(), advice, device.c_str());
        ASSERT_NE(line_, "") << advice << " is missing from the resource table";
        text += "\n" + line_;
    }
    {
        SCOPED_TRACE("with the fault");
        runAndCheck(line, lock, t, o, text, c.framesSent(), c.fault == Fault::HangUp);
    }

    line.sim.setFaults({});
    {
        SCOPED_TRACE("the fault gone");
        runAndCheck(line, lock, t, {Outcome::Done, t.steps}, "", std::size_t(t.steps) + 2, false);
    }
    held.reset();
    if (server > 0) {
        EXPECT_NE(kill(server, 0), 0) << "ser2net left running";
    }
}

INSTANTIATE_TEST_SUITE_P(Transfers, FaultMatrix, ::testing::ValuesIn(matrix()),
                         [](const ::testing::TestParamInfo<Case> &testInfo) { return testInfo.param.name(); });

// The table itself: every transfer has its begin, first, middle and last step
// and its end in the matrix, under names that say so.
TEST(FaultMatrixTable, EveryTransferMeetsEveryFault)
{
    std::vector<Case> cases = matrix();
    std::set<std::string> names;
    for (const Case &c : cases)
        EXPECT_TRUE(names.insert(c.name()).second) << "twice: " << c.name();
    for (const Transfer &t : transfers()) {
        std::string n = t.name;
        EXPECT_GE(t.steps, 1) << n;
        for (const char *f : {"BadChecksum", "Silent", "CutShort", "OverLong", "HangUp"})
            for (const char *at : {"Begin", "End"})
                EXPECT_TRUE(names.count(n + "_" + f + "_" + at)) << n << " " << f << " " << at;
        EXPECT_TRUE(names.count(n + "_BeginRefused"));
        EXPECT_TRUE(names.count(n + "_LeadingZeros"));
        EXPECT_EQ(names.count(n + "_DataRefused_First") + names.count(n + "_DataRefused_Only"), t.writes ? 1u : 0u)
            << n;
        if (t.steps > 2) {
            EXPECT_TRUE(names.count(n + "_Silent_Middle") && names.count(n + "_Silent_Last")) << n;
        }
    }
}

} // namespace
