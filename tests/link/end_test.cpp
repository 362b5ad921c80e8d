// Ending a transmission: what goes on the line, what the user is shown.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

const std::string shownPrefix = "Uebertragungs-Fehler|Fehler bei der Uebertragung: \n";
const Bytes endCommand = {0x05, 0x63, 0x00, 0x00, 0x00};

struct Ending : ::testing::Test {
    Line line;
    Widget shell = nullptr;
    Widget wbox = nullptr;
    void SetUp() override
    {
        shell = mainShell();
        ASSERT_GE(line.open(), 0);
        wbox = showWorking();
        ASSERT_TRUE(guiViewable(XtParent(wbox)));
    }
    void begin(int code)
    {
        synchronize(line.fd);
        ASSERT_EQ(code == K_BEGIN_READ ? sendBOTR(line.fd) : sendBOTW(line.fd), 1);
        ASSERT_EQ(isOK(line.fd), ANS_OK);
    }
    void end(int code)
    {
        stop_conn(shell, line.fd, code);
        line.ended();
    }
    void fault(pbxsim::AnswerFault kind, int answer)
    {
        pbxsim::Faults f;
        f.answers.push_back({kind, answer, 0});
        line.sim.setFaults(f);
    }
    Bytes received()
    {
        EXPECT_TRUE(line.sim.waitForFrames(2, 2000));
        return line.sim.received();
    }
};

// Zeros (none for code 0) and the end command; nothing shown, the lock gone,
// the focus back on the main window.
TEST_F(Ending, NormalEndAndCodeZeroSendTheEndCommandAndShowNothing)
{
    Display *dpy = XtDisplay(shell);
    for (int code : {int(ANS_OK), 0}) {
        SCOPED_TRACE(code);
        if (line.fd < 0) {
            ASSERT_GE(line.open(), 0);
        }
        begin(K_BEGIN_READ);
        XSetInputFocus(dpy, PointerRoot, RevertToPointerRoot, CurrentTime);
        line.sim.clearLogs();
        end(code);
        Bytes want(code ? 255 : 0, 0);
        want.insert(want.end(), endCommand.begin(), endCommand.end());
        EXPECT_EQ(received(), want);
        EXPECT_FALSE(guiViewable(XtParent(wbox)));
        EXPECT_EQ(shownError(), nullptr);
        EXPECT_NE(access(line.lockPath().c_str(), F_OK), 0) << "lock file left behind";
        Window focus;
        int revert;
        XGetInputFocus(dpy, &focus, &revert);
        EXPECT_EQ(focus, XtWindow(shell));
        EXPECT_EQ(revert, RevertToParent);
        wbox = showWorking();
    }
}

// The matrix (tests/faults) holds every fault's text, lock and frames; here
// the order of the windows: the error box only after the working dialog went,
// and the end command after a failed answer.
TEST_F(Ending, WrongChecksumIsShownAfterTheWorkingDialogIsHidden)
{
    fault(pbxsim::AnswerFault::BadChecksum, 2);
    begin(K_BEGIN_READ);
    WindowOrder order;
    ASSERT_EQ(write_cmd(line.fd, K_READ_ANL_DAT_LIST, 0), 1);
    unsigned char buf[RecvBufSize];
    EXPECT_EQ(getNextPacket(shell, line.fd, buf), 0);
    line.ended();

    Widget box = shownError();
    ASSERT_NE(box, nullptr);
    int hidden = order.unmapped(XtWindow(XtParent(wbox)));
    int shown = order.mapped(XtWindow(XtParent(box)));
    EXPECT_GE(hidden, 0);
    EXPECT_GT(shown, hidden) << "the error box came before the working dialog went";
    EXPECT_EQ(takeError(), shownPrefix + "CRC-Fehler");
    ASSERT_TRUE(line.sim.waitForFrames(6, 2000));
    EXPECT_EQ(framesFrom(line.sim, '<').back(), endCommand);
}

struct Refusal {
    int code;
    const char *text;
};

class RefusedDataFrame : public Ending, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedDataFrame, EndsWithTheCodesText)
{
    pbxsim::Faults f;
    f.refuse_data_at = 2;
    f.refuse_data_code = GetParam().code;
    line.sim.setFaults(f);
    begin(K_BEGIN_WRITE);
    unsigned char port[186] = {0x92};
    int counter = 0;
    ASSERT_EQ(sendAndCheck(line.fd, shell, wbox, K_WRITE_SO_PORT, 0, port, 186, 12, &counter), 0);
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 8);
    port[0] = 0x77;
    EXPECT_EQ(sendAndCheck(line.fd, shell, wbox, K_WRITE_SO_PORT, 1, port, 186, 12, &counter), 1);
    line.ended();
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 8);
    EXPECT_FALSE(guiViewable(XtParent(wbox)));
    // An acknowledgement 0 ends the transmission without a message; the other
    // codes' texts are in TransferErrText.
    EXPECT_EQ(takeError(), GetParam().text ? shownPrefix + GetParam().text : "");
    EXPECT_EQ(line.sim.state().ports[0][0], 0x92);
    EXPECT_NE(line.sim.state().ports[1][0], 0x77);
}

INSTANTIATE_TEST_SUITE_P(Codes, RefusedDataFrame,
                         ::testing::Values(Refusal{107, "Prio-Fehler"}, Refusal{112, "Unbekannter Fehler 0070"},
                                           Refusal{0, nullptr}),
                         [](const auto &testInfo) { return "Code" + std::to_string(testInfo.param.code); });

TEST(TransferErrText, EachCode)
{
    EXPECT_EQ(transferErrText(ANS_OK), nullptr);
    EXPECT_EQ(transferErrText(0), nullptr);
    const std::pair<int, const char *> texts[] = {{106, "CMD-Fehler"}, {105, "CRC-Fehler"}, {108, "Uebertragungs-Fehler"},
                                                  {-1, "Uebertragungs-Fehler"}, {255, "Unbekannter Fehler 00FF"}};
    for (const auto &[code, text] : texts)
        EXPECT_STREQ(transferErrText(code), text) << code;
}

// The values themselves are the core's (percentOf, core/transfers_test).
TEST(ShowPercent, SetsTheScaleAndLeavesItAloneWithoutSteps)
{
    Widget wbox = showWorking();
    showPercent(wbox, 13, 1);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 7);
    showPercent(wbox, 12, 12);
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 100);
    showPercent(wbox, 0, 1); // no steps: left alone
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 100);
    XmtHideWorkingDialog(wbox);
}

TEST(SendAndCheck, FrameThatCannotBeSentEndsWithTheTransferError)
{
    HandLine line; // its other end never reads, so the line fills up
    Bytes junk(1024, 0x55);
    while (write(line.fd, junk.data(), junk.size()) > 0) {
    }
    Widget wbox = showWorking();
    unsigned char payload[50] = {};
    int counter = 0;
    EXPECT_EQ(sendAndCheck(line.fd, mainShell(), wbox, K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50, 12, &counter), 1);
    line.fd = -1; // ended
    EXPECT_EQ(counter, 0);
    EXPECT_FALSE(guiViewable(XtParent(wbox)));
    EXPECT_EQ(takeError(), shownPrefix + "Uebertragungs-Fehler");
}

TEST_F(Ending, WholeReadOfTheOutgoingCallsAsATransferDoesIt)
{
    const std::vector<pbxsim::OutCall> calls = line.sim.state().outcalls;
    ASSERT_EQ(calls.size(), 25u);
    begin(K_BEGIN_READ);
    unsigned char buf[RecvBufSize];
    std::vector<int> counts;
    for (int n = 0;;) {
        ASSERT_EQ(write6_cmd(line.fd, K_READ_OUT_GEB_LIST, n), 1);
        int len = getNextPacket(shell, line.fd, buf);
        ASSERT_GT(len, 0);
        int got = len / 23;
        counts.push_back(got);
        if (len == 4 || got == 0)
            break;
        const pbxsim::OutCall &first = calls[std::size_t(n)];
        EXPECT_EQ(Bytes(buf + 4, buf + 4 + 23), Bytes(first.begin(), first.end()));
        n += got;
        showPercent(wbox, 1000, n);
    }
    end(ANS_OK);
    EXPECT_EQ(counts, (std::vector<int>{10, 10, 5, 0}));
    EXPECT_EQ(XmtWorkingBoxGetScaleValue(wbox), 2);
    EXPECT_EQ(shownError(), nullptr);
    std::vector<Bytes> sent = framesFrom(line.sim, '<');
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[3], (Bytes{0x06, 0x0D, 0x00, 0x00, 20, 0x00}));
}

} // namespace
