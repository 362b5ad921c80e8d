// The safety net as a user meets it: a read leaves a backup equal to what
// "Sichern" writes; after a change "Programmieren" asks first,
// "Abbrechen" sends nothing and "Programmieren" sends the change.
#include "support/e2e_session.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> filesIn(const std::string &dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec))
        names.push_back(entry.path().filename());
    return names;
}

using SafetyNet = E2eSession;

TEST_F(SafetyNet, BackupOfTheReadAndAQuestionBeforeProgramming)
{
    confirmProgramming = true;
    pbxsim::State state = pbxsim::defaultState();
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;

    std::vector<std::string> backups = filesIn(dir.file("backups"));
    ASSERT_EQ(backups.size(), 1u) << "one backup of the read";
    std::string line = device.substr(device.rfind('/') + 1);
    EXPECT_EQ(backups[0].rfind("konfiguration-" + line + "-", 0), 0u) << backups[0];
    Window save = openFileDialog(mainWindow, "sichern", "Konfiguration sichern");
    ASSERT_NE(save, None);
    chooseFile(save, dir.file("saved.cfg"));
    if (HasFatalFailure())
        return;
    EXPECT_EQ(readFile(dir.file("backups/" + backups[0])), readFile(dir.file("saved.cfg")));

    Window glob = openDialog("global", "Globale Anlagendaten");
    ASSERT_NE(glob, None);
    ASSERT_TRUE(typeInto(glob, "okz", "7251"));
    confirm(glob);
    if (HasFatalFailure())
        return;

    const std::vector<std::uint8_t> beginWrite = {5, 97, 0, 0, 0};
    ASSERT_TRUE(clickWidget(mainWindow, "schreiben"));
    Window question = waitForDialog(mainWindow, "Programmieren?", Patient);
    ASSERT_NE(question, None) << "no question before programming; kelvora: " << kelvora.output();
    EXPECT_TRUE(screenshot(question, testOutputDir() + "/program-preview.png"));
    ASSERT_TRUE(clickWidget(question, "cancelButton"));
    ASSERT_TRUE(waitUntilHidden(question, Patient));
    EXPECT_FALSE(logged(beginWrite)) << "Abbrechen sent something";

    ASSERT_TRUE(clickWidget(mainWindow, "schreiben"));
    question = waitForDialog(mainWindow, "Programmieren?", Patient);
    ASSERT_NE(question, None);
    ASSERT_TRUE(clickWidget(question, "okButton"));
    waitForTransfer(++transfers);
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth();
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(after.anldat.data()) + 47), "7251");
    EXPECT_EQ(kelvora.output(), "");
}

} // namespace
