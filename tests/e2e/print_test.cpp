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
    if (!check) {
        // One file per job; anything but UTF-8 is refused as CUPS's text filter would garble it.
        lprOnPath("#!/bin/sh\nf=\"" + jobs + "/$(ls \"" + jobs + "\" | grep -vc args)\"\necho \"$*\" > \"$f.args\"\n"
                  "cat > \"$f\"\niconv -f UTF-8 -t UTF-8 \"$f\" > /dev/null 2>&1 || exit 9\n");
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
    // Each read's first frame that the other's does not send: begin, then the first incoming request.
    const struct {
        const char *button, *title;
        std::vector<std::uint8_t> started;
    } lists[] = {{"outcalls", "Ausgehende Gespräche", {5, 98, 0, 0, 0}}, {"incalls", "Eingehende Gespräche", {5, 14, 0, 0, 0}}};
    for (const auto &l : lists) {
        Window list = openDialog(l.button, l.title);
        ASSERT_NE(list, None);
        transferBy("getgeb", l.started, list);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(clickWidget(list, "print"));
        ASSERT_TRUE(waitIdle(list));
        confirm(list);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(kelvora.output(), "") << "no print error";

    // The same three from kelvoractl; for the check also the text they hand
    // lpr, and the sheets.
    const std::vector<std::vector<std::string>> commands = {
        {"print-speeddial", names},
        {"calls", "out", "--print", "--names", names},
        {"calls", "in", "--print", "--names", names},
        {"calls", "out", "--sheet", "--names", names},
        {"calls", "in", "--sheet", "--names", names},
    };
    const char *command = std::getenv("KELVORA_PRINT_COMMAND");
    for (std::size_t k = 0; k < (check ? 5 : 3); k++) {
        std::vector<std::string> argv = {KELVORACTL_BINARY, "-q", "-d", device};
        argv.insert(argv.end(), commands[k].begin(), commands[k].end());
        std::string out;
        if (k < 3) {
            std::vector<std::string> toLpr = argv;
            if (check && command)
                toLpr.insert(toLpr.end(), {"--print-command", command});
            EXPECT_EQ(runTool(toLpr, &out), 0) << out;
            argv.insert(argv.end(), {"--print-command", "cat > " + expected + "/" + std::to_string(k)});
        }
        EXPECT_EQ(runTool(argv, &out), 0) << out;
        if (k >= 3)
            writeFile(expected + "/" + commands[k][1] + ".csv", out);
    }
    quitBoth();
    if (check)
        return;
    for (int k = 0; k < 3; k++) {
        std::string window = readFile(jobs + "/" + std::to_string(k));
        EXPECT_EQ(window, readFile(jobs + "/" + std::to_string(k + 3))) << "printout " << k << " from kelvoractl";
        EXPECT_EQ(window, readFile(expected + "/" + std::to_string(k))) << "printout " << k;
        EXPECT_EQ(readFile(jobs + "/" + std::to_string(k) + ".args"), "-o cpi=12 -o lpi=7\n");
    }
    EXPECT_NE(readFile(jobs + "/0").find(phonebook::latin1ToUtf8(" 101 Jürgen Weiß-Öztürk 1 ")), std::string::npos);
    EXPECT_NE(readFile(jobs + "/1").find(phonebook::latin1ToUtf8(" 030000065 Jürgen Weiß-Öztürk 1 ")), std::string::npos);
}

} // namespace
