// The line of advice below a transfer error, where its cause is known.
#include <gtest/gtest.h>

#include "config/record.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "link/transfer.h"
#include "link_env.h"
#include "resources/resources.h"
#include "support/gui.h"

#include <fstream>
#include <unistd.h>

namespace {

TEST(Advice, OnlyForCausesThatAreKnown)
{
    struct Case {
        int code;
        bool heard;
        const char *advice;
        bool gone = false;
    } cases[] = {
        {ANS_NONE, false, advice::NoAnswer},  // nothing ever came back
        {ANS_TRANSFER, false, advice::NoAnswer},
        {ANS_NONE, true, nullptr},            // cut short midway: could be anything
        {ANS_TRANSFER, true, nullptr},
        {ANS_NONE, true, advice::Gone, true}, // the line itself went away, before or after an answer
        {ANS_TRANSFER, false, advice::Gone, true},
        {ANS_CMD, true, advice::Refused},
        {ANS_CRC, true, advice::Disturbed},
        {ANS_PRIO, true, nullptr},
        {0x70, true, nullptr},
        {ANS_OK, false, nullptr},
        {ANS_OK, true, nullptr, true},
    };
    for (const Case &c : cases) {
        const char *got = adviceFor(c.code, c.heard, c.gone);
        EXPECT_STREQ(got, c.advice) << c.code << (c.heard ? " heard" : " silent");
    }
}

// What the user sees below the error for each cause, through a whole transfer.
struct Shown : ::testing::Test {
    Line line;
    void SetUp() override
    {
        static unsigned char record[rec::RecordSize];
        if (!all)
            all = record;
        mainShell();
        // The program's advice lines, for this test only: the other link
        // tests see the bare messages.
        for (const char **l = kelvoraFallbackResources(); *l; ++l)
            if (std::string(*l).rfind("*tranfer_err.", 0) == 0)
                guiMergeResources(*l);
    }
    void TearDown() override
    {
        takeError();
        for (const char *key : {advice::NoAnswer, advice::Refused, advice::Disturbed, advice::Busy, advice::Denied,
                                advice::NoDevice, advice::LockDenied, advice::NoConnection, advice::NoRemoteSettings,
                                advice::ConnectionLost, advice::Gone, advice::Partly})
            guiMergeResources((std::string("*tranfer_err.") + key + ":").c_str());
    }
    std::string run(const std::string &device)
    {
        WindowObserver observer(mainShell());
        runTransmission({device.c_str(), percentShow("advicewbox", "Probe"), true, 2}, observer, [](TransferContext &t) {
            t.request(K_READ_TLN_BER_LIST, 0);
            t.request(K_READ_TLN_BER_LIST, 0);
        });
        return takeError();
    }
    void answerFault(pbxsim::AnswerFault kind, int answer)
    {
        pbxsim::Faults f;
        f.answers.push_back({kind, answer, 0});
        line.sim.setFaults(f);
    }
};

const std::string head = "Uebertragungs-Fehler|Fehler bei der Uebertragung: \n";

TEST_F(Shown, SilentRefusedDisturbedAndCutShort)
{
    struct Case {
        const char *name;
        std::function<void()> fault;
        std::string shown;
    } cases[] = {
        // The begin is never acknowledged: the advice names the device.
        {"silent line", [&] { answerFault(pbxsim::AnswerFault::Silent, 1); },
         "Uebertragungs-Fehler\nDie Anlage an " + line.device +
             " antwortet nicht: Kabel (mit RTS/CTS), Schnittstelle und Strom prüfen."},
        {"refused begin",
         [&] {
             pbxsim::Faults f;
             f.refuse_begin = ANS_CMD;
             line.sim.setFaults(f);
         },
         "CMD-Fehler\nDie Anlage kennt diesen Befehl nicht: ROM-Version und Zusatzmodule der Anlage prüfen."},
        {"bad checksum", [&] { answerFault(pbxsim::AnswerFault::BadChecksum, 2); },
         "CRC-Fehler\nDie Daten kamen gestört an: Kabel und Stecker prüfen, dann noch einmal versuchen."},
        // The begin was acknowledged: the line works, the cause is not known.
        {"silent midway", [&] { answerFault(pbxsim::AnswerFault::Silent, 2); }, "Uebertragungs-Fehler"},
    };
    for (const Case &c : cases) {
        c.fault();
        EXPECT_EQ(run(line.device), head + c.shown) << c.name;
    }
    line.sim.setFaults({});
    EXPECT_EQ(run(line.device), "") << "a clean run after them";
}

TEST_F(Shown, BusyPortNamesTheHolder)
{
    std::ofstream(line.lockPath()) << "  " << getppid() << "\n"; // a live process that is not us
    std::string comm;
    std::getline(std::ifstream("/proc/" + std::to_string(getppid()) + "/comm"), comm);
    testing::internal::CaptureStderr();
    std::string shown = run(line.device);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown.substr(shown.rfind('\n') + 1), "Belegt von Prozess " + std::to_string(getppid()) + " (" + comm +
                                                       "): erst dieses Programm beenden, dann noch einmal versuchen.");
}

} // namespace
