// One end-to-end session: pbxsim started from a given state on a fresh line,
// the real kelvora on that line with its main window up, and a way to wait for
// a transfer to be over on both sides.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "pbxsim/pbxsim.h"
#include "support/e2e_process.h"
#include "support/e2e_x.h"
#include "support/tempdir.h"

#include <cstdint>
#include <string>
#include <vector>

class E2eSession : public ::testing::Test {
protected:
    void SetUp() override;
    // Starts pbxsim (state saved to after.state when it ends; pacing the line
    // at baud, 0 none) and kelvora; fails the test when either does not come up.
    void startBoth(const pbxsim::State &state, int traceLevel = -1, long baud = 0);
    // Whether kelvora asks before programming (off unless a test turns it on).
    bool confirmProgramming = false;
    // More toolkit options for kelvora (-xrm ...).
    std::vector<std::string> kelvoraArgs;
    // Waits until the transfer ending with the n-th end-of-transmission is over:
    // pbxsim acknowledged it, the lock is gone, no dialog of the main window is up
    // (but `from`, the dialog that started the transfer, with none of its own)
    // and the program is back in its event loop.
    void waitForTransfer(int n, Window from = None);
    // Presses button of from (None: the main window) until the transfer's
    // first frame shows, and waits for its end.
    void transferBy(const char *button, const std::vector<std::uint8_t> &first, Window from = None);
    // "Auslesen" and "Programmieren", each waited for to its end.
    void readConfiguration() { transferBy("lesen", {5, 98, 0, 0, 0}); }
    void programConfiguration() { transferBy("schreiben", {5, 97, 0, 0, 0}); }
    // Presses a button of owner (the main window unless given) and waits for
    // its dialog; None (the test has failed) when none comes up.
    Window openDialog(const char *button, const char *title) { return openDialog(mainWindow, button, title); }
    Window openDialog(Window owner, const char *button, const char *title);
    // Presses the dialog's "OK" and waits until it is gone.
    void confirm(Window dialog);
    // Presses owner's button until a file dialog with the title is up; None
    // (the test has failed) when none comes.
    Window openFileDialog(Window owner, const char *button, const char *title);
    // Types path into the file dialog's field and presses Return there until
    // the dialog is gone; fails the test (with a screenshot) when it stays.
    void chooseFile(Window fileDialog, const std::string &path);
    // Whether the program has sent this frame to pbxsim.
    bool logged(const std::vector<std::uint8_t> &frame);
    // Quits through "Beenden", stops pbxsim and returns the state it saved.
    pbxsim::State quitBoth();
    // A stand-in lpr (a shell script) first on PATH until the test ends.
    void lprOnPath(const std::string &script);
    void TearDown() override;

    static constexpr int Patient = 30000; // ms
    TempDir dir;
    std::string device = dir.file(uniqueLineName("ttyPBX"));
    std::string logPath = dir.file("pbx.log");
    PbxsimProcess pbx;
    KelvoraProcess kelvora;
    Window mainWindow = None;
    int transfers = 0;

private:
    std::string path_; // PATH before lprOnPath
};

extern const char MainTitle[];
