// The transfer skeleton: what runs when, and what a body may do after a failure.
#include <gtest/gtest.h>

#include "config/record.h"
#include "link/transfer.h"
#include "link_env.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <algorithm>

namespace {

const std::string crcShown = "Uebertragungs-Fehler|Fehler bei der Uebertragung: \nCRC-Fehler";

struct Skeleton : ::testing::Test {
    Line line;
    int opened = 0;
    int bodies = 0;
    void SetUp() override
    {
        static unsigned char record[rec::RecordSize];
        if (!all)
            all = record;
        mainShell();
    }
    void TearDown() override { takeError(); }
    TransferResult run(const char *device, bool withHook, const std::function<void(TransferContext &)> &body)
    {
        Transmission plan{device, percentShow("skelwbox", "Probe"), true, 2};
        if (withHook)
            plan.onOpen = [this] { ++opened; };
        WindowObserver observer(mainShell());
        return runTransmission(plan, observer, [&](TransferContext &t) {
            ++bodies;
            body(t);
        });
    }
    int endCommandsSent()
    {
        std::vector<Bytes> frames = framesFrom(line.sim, '<');
        return int(std::count(frames.begin(), frames.end(), Bytes{0x05, 0x63, 0x00, 0x00, 0x00}));
    }
};

// Only a configuration transfer clears the flag; the skeleton leaves it alone.
TEST_F(Skeleton, WithoutAHookTheConfigurationStaysValid)
{
    setFlags(all, 1);
    int length = 0;
    EXPECT_EQ(run(line.device.c_str(), false, [&](TransferContext &t) { length = t.request(K_READ_TLN_BER_LIST, 0); }),
              TransferResult::Done);
    EXPECT_GT(length, 4);
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(takeError(), "");
    EXPECT_FALSE(guiViewable(XmtNameToWidget(mainShell(), "*skelwbox")));
}

TEST_F(Skeleton, RefusedBeginRunsTheHookButNotTheBody)
{
    pbxsim::Faults f;
    f.refuse_begin = 106;
    line.sim.setFaults(f);
    EXPECT_EQ(run(line.device.c_str(), true, [](TransferContext &) {}), TransferResult::Refused);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(bodies, 0);
    EXPECT_NE(takeError().find("CMD-Fehler"), std::string::npos);
}

// The window also writes the serial programs' line on standard error, the
// device's name with its control characters escaped.
TEST_F(Skeleton, PortThatWillNotOpenRunsNothingAndTellsWhy)
{
    const struct {
        std::string device, shown;
    } cases[] = {
        {line.dir.file("nothere"), line.dir.file("nothere")},
        {line.dir.file("no\x1B[2Jthere"), line.dir.file("no\\x1B[2Jthere")},
    };
    for (const auto &c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(c.device.c_str(), true, [](TransferContext &) {}), TransferResult::NoPort);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open " + c.shown + ", errno 2\n");
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(bodies, 0);
        EXPECT_EQ(takeError(), "Uebertragungs-Fehler|Fehler bei der Uebertragung: \nDas Gerät \"" + c.shown +
                                   "\"\nkann nicht geöffnet werden:\nNo such file or directory");
    }
    EXPECT_TRUE(line.sim.frames().empty());
}

// The port is closed after the first failure: a body that carries on must not
// end the transmission a second time (a second error box, a write to a
// descriptor that may by now be another file's).
TEST_F(Skeleton, AfterAFailedAnswerTheBodyStaysOffTheLine)
{
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 2, 0}); // 1 is the begin's acknowledgement
    line.sim.setFaults(f);
    const unsigned char payload[50] = {};
    EXPECT_EQ(run(line.device.c_str(), false,
                  [&](TransferContext &t) {
                      EXPECT_EQ(t.request(K_READ_TLN_BER_LIST, 0), 0);
                      EXPECT_EQ(t.request(K_READ_TLN_BER_LIST, 0), 0);
                      EXPECT_FALSE(t.send(K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50));
                      EXPECT_EQ(t.done(), 0);
                  }),
              TransferResult::Failed);
    EXPECT_EQ(takeError(), crcShown);
    ASSERT_TRUE(line.sim.waitForFrames(4, 2000));
    EXPECT_EQ(endCommandsSent(), 1);
    EXPECT_EQ(framesFrom(line.sim, '<').size(), 3u) << "begin, one command, end";
}

} // namespace
