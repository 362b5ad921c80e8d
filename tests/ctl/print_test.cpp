// kelvoractl's printing options and failures, and its table for spreadsheets;
// what it prints is held to the window's in tests/e2e/print_test.cpp.
#include "ctl_env.h"

#include "phonebook/latin1.h"
#include "support/calls_model.h"

#include <sys/stat.h>

namespace {

TEST_F(CtlLine, PrintEncodingAPrinterThatFailsAndTheSheet)
{
    start(pbxWithCalls());
    std::string names = dir.file("names.kwz");
    writeFile(names, callNamesFile());
    // A stand-in lpr that, like CUPS's text filter, takes nothing but UTF-8.
    writeFile(dir.file("lpr"), "#!/bin/sh\ncat > \"$0.job\"\niconv -f UTF-8 -t UTF-8 \"$0.job\" > /dev/null 2>&1 || exit 9\n");
    chmod(dir.file("lpr").c_str(), 0755);
    CtlOptions lpr{{"PATH=" + dir.path() + ":/usr/bin:/bin"}};

    CtlRun run = ctl({"print-speeddial", names, "--print-encoding", "ISO-8859-1"}, lpr);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("meldet einen Fehler (Status 9)"), std::string::npos) << run.err;
    EXPECT_NE(readFile(dir.file("lpr.job")).find(" 101 Jürgen Weiß-Öztürk 1 "), std::string::npos);
    EXPECT_EQ(ctl({"print-speeddial", names, "--print-encoding", "EBCDIC"}, lpr).status, 1);
    run = ctl({"calls", "out", "--print"}, {{"PATH=" + dir.file("nowhere")}});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("nicht gefunden"), std::string::npos) << run.err;

    run = ctl({"calls", "out", "--sheet", "--names", names});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "\xEF\xBB\xBF" + phonebook::latin1ToUtf8("Nebenstelle;Datum;Uhrzeit;Dauer;Gebühr;Nummer;Name\r\n"));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1001);
    EXPECT_EQ(ctl({"calls", "out", "--sheet", "--csv"}).status, 1);
}

} // namespace
