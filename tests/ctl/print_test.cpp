// kelvoractl's printouts and the call lists' table for spreadsheets.
#include "ctl_env.h"

#include "phonebook/latin1.h"
#include "support/calls_model.h"

#include <sys/stat.h>

namespace {

TEST_F(CtlLine, PrintoutsGoToLprInUtf8OrAsAskedAndTheSheetHoldsEveryCall)
{
    start(pbxWithCalls());
    std::string names = dir.file("names.kwz");
    writeFile(names, callNamesFile());
    // A stand-in lpr that, like CUPS's text filter, takes nothing but UTF-8.
    mkdir(dir.file("bin").c_str(), 0755);
    writeFile(dir.file("bin/lpr"), "#!/bin/sh\necho \"$*\" > \"$0.args\"\ncat > \"$0.job\"\n"
                                   "iconv -f UTF-8 -t UTF-8 \"$0.job\" > /dev/null 2>&1 || exit 9\n");
    chmod(dir.file("bin/lpr").c_str(), 0755);
    CtlOptions lpr{{"PATH=" + dir.file("bin") + ":/usr/bin:/bin"}};

    std::string printed;
    for (int k = 0; k < 1000; k++)
        printed += phonebook::latin1ToUtf8(callTextLine(k, outgoingCall(k), true).substr(0, 80)) + "\n";
    CtlRun run = ctl({"calls", "out", "--print", "--names", names}, lpr);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(dir.file("bin/lpr.job")), printed);
    EXPECT_EQ(readFile(dir.file("bin/lpr.args")), "-o cpi=12 -o lpi=7\n");

    run = ctl({"print-speeddial", names}, lpr);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readFile(dir.file("bin/lpr.job")).find(phonebook::latin1ToUtf8(" 101 Jürgen Weiß-Öztürk 1 ")),
              std::string::npos);
    // ISO 8859-1 when asked: this lpr refuses it, and that is told.
    run = ctl({"print-speeddial", names, "--print-encoding", "ISO-8859-1"}, lpr);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("meldet einen Fehler (Status 9)"), std::string::npos) << run.err;
    EXPECT_NE(readFile(dir.file("bin/lpr.job")).find(" 101 Jürgen Weiß-Öztürk 1 "), std::string::npos);
    run = ctl({"print-speeddial", names, "--print-encoding", "EBCDIC"}, lpr);
    EXPECT_EQ(run.status, 1);
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
