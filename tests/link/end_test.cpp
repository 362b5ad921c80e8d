// Ending a transmission: what goes on the line, what the user is shown.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "link/serial.h"
#include "link_env.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

const std::string errorPrefix = "error tranfer_err|Uebertragungs-Fehler|Fehler bei der Uebertragung: \n";

struct Ending : ::testing::Test {
    Line line;
    Widget shell = nullptr;
    void SetUp() override
    {
        shell = testShell();
        ASSERT_NE(shell, nullptr) << "needs an X display (run under xvfb-run)";
        uiEvents().clear();
        ASSERT_GE(line.open(), 0);
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
    // Everything after the last frame we sent before ending.
    Bytes endingBytes()
    {
        EXPECT_TRUE(line.sim.waitForFrames(2, 2000));
        return line.sim.received();
    }
};

Bytes endCommand = {0x05, 0x63, 0x00, 0x00, 0x00};

TEST_F(Ending, NormalEndSendsZerosAndEndCommandAndShowsNothing)
{
    begin(K_BEGIN_READ);
    Display *dpy = XtDisplay(shell);
    XSetInputFocus(dpy, PointerRoot, RevertToPointerRoot, CurrentTime);
    line.sim.clearLogs();
    end(ANS_OK);

    Bytes want(255, 0);
    want.insert(want.end(), endCommand.begin(), endCommand.end());
    EXPECT_EQ(endingBytes(), want);
    EXPECT_EQ(uiEvents(), std::vector<std::string>{"hide"});
    EXPECT_NE(access(line.lockPath().c_str(), F_OK), 0) << "lock file left behind";
    Window focus;
    int revert;
    XGetInputFocus(dpy, &focus, &revert);
    EXPECT_EQ(focus, XtWindow(shell));
}

TEST_F(Ending, CodeZeroSendsNoZeros)
{
    begin(K_BEGIN_READ);
    line.sim.clearLogs();
    end(0);
    EXPECT_EQ(endingBytes(), endCommand);
    EXPECT_EQ(uiEvents(), std::vector<std::string>{"hide"});
}

TEST_F(Ending, WrongChecksumIsCrcErrorShownAfterTheWorkingDialogIsHidden)
{
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 2, 0});
    line.sim.setFaults(f);
    begin(K_BEGIN_READ);
    ASSERT_EQ(write_cmd(line.fd, K_READ_ANL_DAT_LIST, 0), 1);
    unsigned char buf[RecvBufSize];
    EXPECT_EQ(getNextPacket(shell, line.fd, buf), 0);
    line.ended();
    EXPECT_EQ(uiEvents(), (std::vector<std::string>{"hide", errorPrefix + "CRC-Fehler|No Help!"}));
    ASSERT_TRUE(line.sim.waitForFrames(6, 2000));
    EXPECT_EQ(framesFrom(line.sim, '<').back(), endCommand);
    EXPECT_NE(access(line.lockPath().c_str(), F_OK), 0);
}

TEST_F(Ending, MissingDataAnswerIsTransferError)
{
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::Silent, 2, 0});
    line.sim.setFaults(f);
    begin(K_BEGIN_READ);
    ASSERT_EQ(write_cmd(line.fd, K_READ_ANL_DAT_LIST, 0), 1);
    unsigned char buf[RecvBufSize];
    EXPECT_EQ(getNextPacket(shell, line.fd, buf), 0);
    line.ended();
    EXPECT_EQ(uiEvents(), (std::vector<std::string>{"hide", errorPrefix + "Uebertragungs-Fehler|No Help!"}));
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
    ASSERT_EQ(sendAndCheck(line.fd, shell, shell, K_WRITE_SO_PORT, 0, port, 186, 12, &counter), 0);
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(sendAndCheck(line.fd, shell, shell, K_WRITE_SO_PORT, 1, port, 186, 12, &counter), 1);
    line.ended();
    EXPECT_EQ(counter, 1);
    std::vector<std::string> want = {"scale 8", "hide"};
    if (GetParam().text) // an acknowledgement 0 ends the transmission silently
        want.push_back(errorPrefix + GetParam().text + "|No Help!");
    EXPECT_EQ(uiEvents(), want);
    EXPECT_EQ(line.sim.state().ports[0][0], 0x92);
}

INSTANTIATE_TEST_SUITE_P(Codes, RefusedDataFrame,
                         ::testing::Values(Refusal{107, "Prio-Fehler"}, Refusal{112, "Unbekannter Fehler 0070"},
                                           Refusal{106, "CMD-Fehler"}, Refusal{105, "CRC-Fehler"},
                                           Refusal{108, "Uebertragungs-Fehler"}, Refusal{0, nullptr}));

TEST(TransferErrText, Table)
{
    EXPECT_EQ(transferErrText(ANS_OK), nullptr);
    EXPECT_EQ(transferErrText(0), nullptr);
    EXPECT_STREQ(transferErrText(-1), "Uebertragungs-Fehler");
    EXPECT_STREQ(transferErrText(255), "Unbekannter Fehler 00FF");
}

TEST(ShowPercent, ThirteenAndTwelveSteps)
{
    uiEvents().clear();
    for (int done = 1; done <= 13; done++)
        showPercent(nullptr, 13, done);
    EXPECT_EQ(uiEvents(), (std::vector<std::string>{"scale 7", "scale 15", "scale 23", "scale 30", "scale 38",
                                                    "scale 46", "scale 53", "scale 61", "scale 69", "scale 76",
                                                    "scale 84", "scale 92", "scale 100"}));
    uiEvents().clear();
    for (int done = 1; done <= 12; done++)
        showPercent(nullptr, 12, done);
    EXPECT_EQ(uiEvents(), (std::vector<std::string>{"scale 8", "scale 16", "scale 25", "scale 33", "scale 41",
                                                    "scale 50", "scale 58", "scale 66", "scale 75", "scale 83",
                                                    "scale 91", "scale 100"}));
    uiEvents().clear();
    showPercent(nullptr, 0, 1);
    EXPECT_TRUE(uiEvents().empty());
}

TEST(SendAndCheck, FrameThatCannotBeSentEndsWithoutMessage)
{
    TempDir dir;
    PtyPeer peer; // never reads, so the line fills up
    setLockDir(dir.file("none").c_str());
    int fd = openSer(peer.slavePath().c_str());
    ASSERT_GE(fd, 0);
    Bytes junk(1024, 0x55);
    while (write(fd, junk.data(), junk.size()) > 0) {
    }
    uiEvents().clear();
    unsigned char payload[50] = {};
    int counter = 0;
    EXPECT_EQ(sendAndCheck(fd, nullptr, nullptr, K_WRITE_TLN_BER_LIST, NoSubCode, payload, 50, 12, &counter), 1);
    EXPECT_EQ(counter, 0);
    EXPECT_TRUE(uiEvents().empty());
    setLockDir(nullptr);
}

} // namespace
