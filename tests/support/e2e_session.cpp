#include "support/e2e_session.h"

#include "support/e2e_pbxlog.h"

#include <algorithm>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

const char MainTitle[] = "Ostrale 18x/Dorvan ISx Konfigurator";

void E2eSession::SetUp()
{
    std::string missing = e2eMissing();
    if (!missing.empty())
        GTEST_SKIP() << missing;
    ASSERT_NE(e2eDisplay(), nullptr) << "cannot open DISPLAY " << std::getenv("DISPLAY");
}

void E2eSession::startBoth(const pbxsim::State &state, int traceLevel, long baud)
{
    std::string error;
    ASSERT_TRUE(pbxsim::saveState(state, dir.file("pbx.state"), &error)) << error;
    ASSERT_NE(access(lockFileFor(device).c_str(), F_OK), 0) << "someone holds " << lockFileFor(device);
    PbxsimOptions simOptions;
    simOptions.load = dir.file("pbx.state");
    simOptions.save = dir.file("after.state");
    simOptions.log = logPath;
    simOptions.baud = baud;
    ASSERT_TRUE(pbx.start(device, simOptions, dir.file("pbxsim.out"), &error)) << error;

    KelvoraOptions options;
    options.traceLevel = traceLevel;
    options.confirmProgramming = confirmProgramming;
    // Out of the way of windows that other programs on this display open:
    // without a window manager, one mapped over ours would take our clicks.
    options.xtArgs = {"-geometry", "-0-0"};
    options.xtArgs.insert(options.xtArgs.end(), kelvoraArgs.begin(), kelvoraArgs.end());
    mainWindow = startKelvoraWindow(kelvora, MainTitle, device, options, dir.path(), Patient, &error);
    ASSERT_NE(mainWindow, None) << error;
}

void E2eSession::waitForTransfer(int n, Window from)
{
    const std::vector<std::uint8_t> end = {5, 99, 0, 0, 0};
    bool acknowledged = waitUntil(
        [&] {
            std::vector<PbxLogEntry> log = parsePbxLog(readFile(logPath));
            int ends = 0;
            for (std::size_t i = 0; i + 1 < log.size(); i++)
                if (log[i].dir == '<' && log[i].bytes == end && log[i + 1].dir == '>')
                    ends++;
            return ends >= n;
        },
        Patient);
    ASSERT_TRUE(acknowledged) << "transfer " << n << " did not end; pbxsim log:\n"
                              << readFile(logPath) << "kelvora:\n" << kelvora.output();
    ASSERT_TRUE(waitUntil([&] { return access(lockFileFor(device).c_str(), F_OK) != 0; }, Patient))
        << lockFileFor(device) << " stays after the transfer";
    auto settled = [&] {
        std::vector<Window> up = dialogsOf(mainWindow);
        if (from == None)
            return up.empty();
        return up == std::vector<Window>{from} && dialogsOf(from).empty();
    };
    ASSERT_TRUE(waitUntil(settled, Patient)) << "a dialog stays up after transfer " << n << ": " << kelvora.output();
    ASSERT_TRUE(waitIdle(from == None ? mainWindow : from));
}

void E2eSession::transferBy(const char *button, const std::vector<std::uint8_t> &first, Window from)
{
    ASSERT_TRUE(clickWidgetUntil(from == None ? mainWindow : from, button, [&] { return logged(first); }));
    waitForTransfer(++transfers, from);
}

Window E2eSession::openDialog(Window owner, const char *button, const char *title)
{
    EXPECT_TRUE(clickWidget(owner, button));
    Window dialog = waitForDialog(owner, title, Patient);
    EXPECT_NE(dialog, None) << "no dialog \"" << title << "\"; kelvora: " << kelvora.output();
    if (dialog != None) {
        EXPECT_TRUE(waitIdle(dialog));
    }
    return dialog;
}

void E2eSession::confirm(Window dialog)
{
    ASSERT_TRUE(clickWidget(dialog, "okay"));
    ASSERT_TRUE(waitUntilHidden(dialog, Patient)) << "the dialog stays up; kelvora: " << kelvora.output();
}

Window E2eSession::openFileDialog(Window owner, const char *button, const char *title)
{
    Window fileDialog = None;
    clickWidgetUntil(owner, button, [&] { return (fileDialog = waitForDialog(owner, title, 0)) != None; });
    EXPECT_NE(fileDialog, None) << "no file dialog \"" << title << "\"; kelvora: " << kelvora.output();
    return fileDialog;
}

void E2eSession::chooseFile(Window fileDialog, const std::string &path)
{
    ASSERT_TRUE(typeInto(fileDialog, "Text", path)) << "typed into the field: " << primarySelection();
    // Return goes to the field's own window; after other sessions on this X server
    // the first one is now and then lost, so it is pressed again while the dialog stays.
    // (xdotool complains when the dialog is gone before the key is let go.)
    Window field = widgetWindow(fileDialog, "Text");
    bool hidden = false;
    for (int attempt = 0; attempt < 3 && !hidden; attempt++) {
        sendKeys(field != None ? field : fileDialog, "Return");
        hidden = waitUntilHidden(fileDialog, attempt < 2 ? 5000 : Patient);
    }
    if (!hidden) {
        screenshot(fileDialog, testOutputDir() + "/file-dialog-stays.png");
        FAIL() << "the file dialog stays up (see file-dialog-stays.png); kelvora: " << kelvora.output();
    }
}

bool E2eSession::logged(const std::vector<std::uint8_t> &frame)
{
    std::vector<std::vector<std::uint8_t>> sent = framesOf(parsePbxLog(readFile(logPath)), '<');
    return std::find(sent.begin(), sent.end(), frame) != sent.end();
}

pbxsim::State E2eSession::quitBoth()
{
    pbxsim::State after;
    // Clicked again while it runs (a lost click); whether it ended is the check.
    clickWidgetUntil(mainWindow, "quit", [&] { return !kelvora.process().running(); });
    int status = kelvora.waitExit(Patient);
    EXPECT_NE(status, -1) << "kelvora did not quit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    status = pbx.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << pbx.process().output();
    std::string error;
    EXPECT_TRUE(pbxsim::loadState(after, dir.file("after.state"), &error)) << error;
    EXPECT_NE(access(lockFileFor(device).c_str(), F_OK), 0) << lockFileFor(device) << " left behind";
    return after;
}

void E2eSession::lprOnPath(const std::string &script)
{
    mkdir(dir.file("bin").c_str(), 0755);
    writeFile(dir.file("bin/lpr"), script);
    chmod(dir.file("bin/lpr").c_str(), 0755);
    path_ = std::getenv("PATH");
    setenv("PATH", (dir.file("bin") + ":" + path_).c_str(), 1);
}

void E2eSession::TearDown()
{
    if (!path_.empty())
        setenv("PATH", path_.c_str(), 1);
}
