// Every printout as a user makes it: the speed dial and both call lists
// printed from the window and from kelvoractl.  Normally through a stand-in
// lpr that takes only UTF-8; with KELVORA_PRINT_CHECK set to a directory
// (scripts/check-print.sh) through the real lpr, the text of each printout
// left there for the check to find in the spooler's output.
#include "phonebook/latin1.h"
#include "support/calls_model.h"
#include "support/e2e_session.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {

using Printing = E2eSession;

TEST_F(Printing, EveryListFromTheWindowIsWhatKelvoractlPrints)
{
    const char *check = std::getenv("KELVORA_PRINT_CHECK");
    std::string jobs = dir.file("jobs"), expected = check ? check : dir.file("expected");
    mkdir(jobs.c_str(), 0755);
    mkdir(expected.c_str(), 0755);
    std::string path = std::getenv("PATH");
    if (!check) {
        // One file per job; anything but UTF-8 is refused as CUPS's text filter would garble it.
        mkdir(dir.file("bin").c_str(), 0755);
        writeFile(dir.file("bin/lpr"), "#!/bin/sh\nf=\"" + jobs + "/$(ls \"" + jobs +
                                           "\" | grep -vc args)\"\necho \"$*\" > \"$f.args\"\ncat > \"$f\"\n"
                                           "iconv -f UTF-8 -t UTF-8 \"$f\" > /dev/null 2>&1 || exit 9\n");
        chmod(dir.file("bin/lpr").c_str(), 0755);
        setenv("PATH", (dir.file("bin") + ":" + path).c_str(), 1);
    } else if (const char *command = std::getenv("KELVORA_PRINT_COMMAND")) {
        kelvoraArgs = {"-xrm", std::string("*printCommand: ") + command};
    }
    std::string names = dir.file("names.kwz");
    writeFile(names, callNamesFile());
    startBoth(pbxWithCalls());
    if (HasFatalFailure())
        return;

    Window kwz = openDialog("kurz", "Wendholt/Hembel Kurzwahlliste");
    ASSERT_NE(kwz, None);
    Window load = openFileDialog(kwz, "loadall", "Kurzwahlliste laden");
    ASSERT_NE(load, None);
    chooseFile(load, names);
    ASSERT_TRUE(clickWidget(kwz, "print"));
    ASSERT_TRUE(waitIdle(kwz));
    ASSERT_TRUE(clickWidget(kwz, "quit"));
    ASSERT_TRUE(waitUntilHidden(kwz, Patient)) << kelvora.output();
    for (const char *button : {"outcalls", "incalls"}) {
        Window list = openDialog(button, button == std::string("outcalls") ? "Ausgehende Gespräche" : "Eingehende Gespräche");
        ASSERT_NE(list, None);
        ASSERT_TRUE(clickWidgetUntil(list, "getgeb", [&] { return logged({5, 98, 0, 0, 0}); }));
        waitForTransfer(++transfers, list);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(clickWidget(list, "print"));
        ASSERT_TRUE(waitIdle(list));
        confirm(list);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(kelvora.output(), "") << "no print error";

    // The same three from kelvoractl, to lpr and as the text they hand it.
    const std::vector<std::vector<std::string>> commands = {
        {"print-speeddial", names},
        {"calls", "out", "--print", "--names", names},
        {"calls", "in", "--print", "--names", names},
    };
    for (int k = 0; k < 3; k++) {
        std::vector<std::string> argv = {KELVORACTL_BINARY, "-q", "-d", device};
        argv.insert(argv.end(), commands[std::size_t(k)].begin(), commands[std::size_t(k)].end());
        std::vector<std::string> toFile = argv;
        if (const char *command = std::getenv("KELVORA_PRINT_COMMAND"); check && command)
            argv.insert(argv.end(), {"--print-command", command});
        toFile.insert(toFile.end(), {"--print-command", "cat > " + expected + "/" + std::to_string(k)});
        std::string out;
        EXPECT_EQ(runTool(argv, &out), 0) << out;
        EXPECT_EQ(runTool(toFile, &out), 0) << out;
    }
    if (check)
        for (const char *list : {"out", "in"}) {
            std::string sheet;
            EXPECT_EQ(runTool({KELVORACTL_BINARY, "-q", "-d", device, "calls", list, "--sheet", "--names", names}, &sheet), 0);
            writeFile(expected + "/" + list + ".csv", sheet);
        }
    setenv("PATH", path.c_str(), 1);
    quitBoth();
    if (check)
        return;

    std::string outCalls, inCalls;
    for (int k = 0; k < 1000; k++)
        outCalls += phonebook::latin1ToUtf8(callTextLine(k, outgoingCall(k), true).substr(0, 80)) + "\n";
    for (int k = 0; k < 75; k++) {
        std::string line = callTextLine(k, incomingCall(k), false);
        inCalls += phonebook::latin1ToUtf8(std::string(80 - line.size(), ' ') + line) + "\n";
    }
    for (int k = 0; k < 3; k++) {
        std::string window = readFile(jobs + "/" + std::to_string(k)), ctl = readFile(jobs + "/" + std::to_string(k + 3));
        EXPECT_EQ(window, readFile(expected + "/" + std::to_string(k))) << "printout " << k;
        EXPECT_EQ(window, ctl) << "printout " << k;
        EXPECT_EQ(readFile(jobs + "/" + std::to_string(k) + ".args"), "-o cpi=12 -o lpi=7\n");
    }
    EXPECT_NE(readFile(jobs + "/0").find(phonebook::latin1ToUtf8(" 101 Jürgen Weiß-Öztürk 1 ")), std::string::npos);
    EXPECT_EQ(readFile(jobs + "/1"), outCalls);
    EXPECT_EQ(readFile(jobs + "/2"), inCalls);
}

} // namespace
