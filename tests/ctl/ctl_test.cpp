// kelvoractl end to end: the real program, no display, the real pbxsim on a pty
// link.  What it writes must be what the window writes.
#include "ctl_env.h"

#include "support/calls_model.h"
#include "support/net_relay.h"

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t AreaCode = 36 + 1986 + 47; // in a configuration file

// The same bytes the window's "Sichern" writes after "Auslesen" (the window's
// end-to-end test holds the window to the same expectation).
TEST_F(CtlLine, ReadConfigWritesTheFileTheWindowSaves)
{
    start();
    CtlRun run = ctl({"read-config", dir.file("a.cfg")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "") << "no terminal, no progress";
    EXPECT_EQ(readFile(dir.file("a.cfg")), configFile(pbxsim::defaultState(), Dorvan));

    run = ctl({"read-config", "--ident", "ostrale", dir.file("b.cfg")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(dir.file("b.cfg")), configFile(pbxsim::defaultState(), Ostrale));
    EXPECT_TRUE(stop() == pbxsim::defaultState()) << "reading changes nothing in the PBX";
}

TEST_F(CtlLine, AnEditedFileProgrammedLandsInThePbx)
{
    start();
    ASSERT_EQ(ctl({"read-config", dir.file("a.cfg")}).status, 0);
    std::string edited = readFile(dir.file("a.cfg"));
    edited.replace(AreaCode, 5, std::string("6356\0", 5));
    writeFile(dir.file("edited.cfg"), edited);
    CtlRun run = ctl({"program-config", dir.file("edited.cfg")});
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(ctl({"read-config", dir.file("again.cfg")}).status, 0);
    EXPECT_EQ(readFile(dir.file("again.cfg")), edited);
    pbxsim::State after = stop();
    EXPECT_EQ(std::string(after.anldat.begin() + 47, after.anldat.begin() + 52), std::string("6356\0", 5));
    pbxsim::State expected = pbxsim::defaultState();
    expected.anldat = after.anldat;
    EXPECT_TRUE(after == expected) << "nothing else changed";
}

// The lines the window's "CVS sichern", "Text sichern" write, byte for byte.
TEST_F(CtlLine, CallListsAreTheWindowsFiles)
{
    start(pbxWithCalls());
    writeFile(dir.file("names.kwz"), callNamesFile());
    std::string outCsv, outText, inText, outPlain;
    for (int k = 0; k < 1000; k++) {
        outCsv += callCsvLine(outgoingCall(k)) + "\n";
        outText += callTextLine(k, outgoingCall(k), true) + "\n";
    }
    for (int k = 0; k < 75; k++)
        inText += callTextLine(k, incomingCall(k), false) + "\n";

    CtlRun run = ctl({"calls", "out", "--csv", "--names", dir.file("names.kwz")}, {{"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, outCsv);
    run = ctl({"calls", "out", "--names=" + dir.file("names.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, outText);
    run = ctl({"calls", "in", "--names", dir.file("names.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, inText);
    // Without names the name column stays empty.
    run = ctl({"calls", "out", "--csv"});
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "11,01.01,00:00,0,0.00,#030000000,");
}

TEST_F(CtlLine, DiffOfACopyWithOneChangedAreaCodePrintsOneLine)
{
    start();
    ASSERT_EQ(ctl({"read-config", dir.file("a.cfg")}).status, 0);
    std::string copy = readFile(dir.file("a.cfg"));
    ASSERT_EQ(copy.substr(AreaCode, 3), std::string("30\0", 3));
    copy[AreaCode + 1] = '1';
    writeFile(dir.file("b.cfg"), copy);
    CtlRun run = runCtl({"diff", dir.file("a.cfg"), dir.file("b.cfg")});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "Globale Anlagendaten: Ortsvorwahl: 30 -> 31\n");
    run = runCtl({"diff", dir.file("a.cfg"), dir.file("a.cfg")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(CtlLine, SubscribersProgrammedFromAFileKeepWhatTheFileDoesNotHold)
{
    start();
    ASSERT_EQ(ctl({"read-subscribers", dir.file("t.tnd")}).status, 0);
    std::string file = readFile(dir.file("t.tnd"));
    ASSERT_EQ(file.size(), 1650u);
    // Subscriber 3's wake-up time: entry bytes 2-3.
    file[55 * 3 + 2] = 0x30;
    file[55 * 3 + 3] = 0x07;
    writeFile(dir.file("t.tnd"), file);
    CtlRun run = ctl({"program-subscribers", dir.file("t.tnd")});
    EXPECT_EQ(run.status, 0) << run.err;
    pbxsim::State after = stop(), expected = pbxsim::defaultState();
    expected.tln[3][8] = 0x30;
    expected.tln[3][9] = 0x07;
    for (int i = 0; i < 30; i++)
        expected.tln[std::size_t(i)][0] = std::uint8_t(i); // the sub-code travels in byte 0
    EXPECT_TRUE(after.tln == expected.tln);
}

TEST_F(CtlLine, ASpeedDialReadKeepsTheNamesOfTheFileItReplaces)
{
    start();
    writeFile(dir.file("k.kwz"), callNamesFile());
    CtlRun run = ctl({"read-speeddial", dir.file("k.kwz")});
    EXPECT_EQ(run.status, 0) << run.err;
    std::string file = readFile(dir.file("k.kwz")), names = callNamesFile();
    ASSERT_EQ(file.size(), 13060u);
    EXPECT_EQ(file.substr(5020, 7800), names.substr(5020, 7800));
    pbxsim::State pbx = pbxsim::defaultState();
    EXPECT_EQ(file.substr(20, 5000), std::string(pbx.kwz.begin(), pbx.kwz.end()));
}

// Each kind of trouble: its exit status and message at once (nothing waits
// for a FIFO's writer), nothing on standard output, no file written.
TEST_F(CtlLine, TroubleExitsWithItsStatusAndMessageAndTouchesNoFile)
{
    start();
    ASSERT_EQ(ctl({"read-config", dir.file("a.cfg")}).status, 0);
    ASSERT_EQ(ctl({"read-speeddial", dir.file("k.kwz")}).status, 0);
    const std::string cfg = readFile(dir.file("a.cfg")), kwz = readFile(dir.file("k.kwz"));
    EXPECT_EQ(cfg, configFile(pbxsim::defaultState()));
    const std::pair<const char *, std::string> files[] = {
        {"a.cfg", cfg}, {"k.kwz", kwz}, {"short.cfg", cfg.substr(0, 1000)}, {"long.cfg", cfg + "x"},
        {"short.kwz", kwz.substr(0, 1000)}, {"cut.kwz", kwz.substr(0, 13000)}, {"in.csv", "105;A;1\n"},
    };
    for (const auto &[name, bytes] : files)
        writeFile(dir.file(name), bytes);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink(dir.file("fifo").c_str(), dir.file("link").c_str()), 0);
    writeFile(dir.file("big.csv"), "105;A;1\n");
    ASSERT_EQ(truncate(dir.file("big.csv").c_str(), 16 * 1024 * 1024 + 1), 0);
    const struct {
        const char *what;
        std::vector<std::string> args; // "@" stands for the test's directory
        int status;
        const char *said;   // in standard error
        bool device = true; // KELVORA_DEVICE names the line
    } cases[] = {
        {"no command", {}, 1, "no command given"},
        {"unknown command", {"frobnicate"}, 1, "unknown command frobnicate"},
        {"unknown option", {"read-config", "@/x.cfg", "--frob"}, 1, "unknown option"},
        {"no device", {"read-config", "@/x.cfg"}, 1, "-d DEVICE or KELVORA_DEVICE", false},
        {"a file too many", {"show", "@/a.cfg", "@/k.kwz"}, 1, "usage: show FILE"},
        {"incoming calls as CSV", {"calls", "in", "--csv"}, 1, "no CSV form"},
        {"no files to import", {"phonebook-import"}, 1, "usage: phonebook-import [--replace] [--country CC]"},
        {"three files to export", {"phonebook-export", "@/k.kwz", "@/a.csv", "@/b.csv"}, 1, "usage: phonebook-export"},
        {"--country without a value", {"phonebook-import", "@/in.csv", "@/k.kwz", "--country"}, 1,
         "--country needs a value"},
        {"--country with +", {"phonebook-import", "--country=+49", "@/in.csv", "@/k.kwz"}, 1, "--country takes"},
        {"no such device", {"-d", "@/nothere", "read-config", "@/x.cfg"}, 2, "gibt es nicht"},
        {"a file as the device", {"-d", "@/a.cfg", "read-config", "@/x.cfg"}, 2,
         "a.cfg\" ist keine serielle Schnittstelle: Es ist eine gew"},
        {"files of two kinds", {"diff", "@/a.cfg", "@/k.kwz"}, 2, "eine Kurzwahl-Datei"},
        {"diff with a link to a FIFO", {"diff", "@/a.cfg", "@/link"}, 2, "weder Konfigurations-"},
        {"diff with a file cut short", {"diff", "@/k.kwz", "@/cut.kwz"}, 2, "(13000 statt 13060 Bytes)"},
        {"show of a FIFO", {"show", "@/fifo"}, 3, "weder Konfigurations-"},
        {"show of a device", {"show", "/dev/null"}, 3, "weder Konfigurations-"},
        {"show of a file grown", {"show", "@/long.cfg"}, 3, "(2135 statt 2134 Bytes)"},
        {"no such file", {"show", "@/none.cfg"}, 3, "kann nicht gelesen werden"},
        {"a file name with an escape sequence", {"show", "@/x\x1B[2J.cfg"}, 3,
         "x\\x1B[2J.cfg\" kann nicht gelesen werden"},
        {"not a configuration file", {"program-config", "@/k.kwz"}, 3, "ist keine Konfigurationsdatei"},
        {"a configuration file cut short", {"program-config", "@/short.cfg"}, 3, "(1000 statt 2134 Bytes)"},
        {"program-config from a FIFO", {"program-config", "@/fifo"}, 3, "ist keine Konfigurationsdatei"},
        {"program-speeddial from a link to a FIFO", {"program-speeddial", "@/link"}, 3, "Kurzwahl-Datei"},
        {"program-subscribers from a FIFO", {"program-subscribers", "@/fifo"}, 3, "Teilnehmerdatei"},
        {"a directory to write", {"read-config", "@"}, 3, "konnte nicht geschrieben werden"},
        {"a new directory file in no directory", {"phonebook-import", "@/in.csv", "@/none/k.kwz"}, 3,
         "konnte nicht geschrieben werden"},
        {"an import into a configuration file", {"phonebook-import", "@/in.csv", "@/a.cfg"}, 3,
         "ist keine Kurzwahl-Datei"},
        {"an import into a directory file cut short", {"phonebook-import", "@/in.csv", "@/short.kwz"}, 3,
         "(1000 statt 13060 Bytes)"},
        {"no such address book", {"phonebook-import", "@/none.csv", "@/k.kwz"}, 3, "kann nicht gelesen werden"},
        {"a directory as address book", {"phonebook-import", "@", "@/k.kwz"}, 3, "keine Adressbuch-Datei"},
        {"an address book over 16 MB", {"phonebook-import", "@/big.csv", "@/k.kwz"}, 3, "ist größer als 16 MB"},
        {"export of a configuration file", {"phonebook-export", "@/a.cfg", "@/b.csv"}, 3, "ist keine Kurzwahl-Datei"},
        {"export into a directory", {"phonebook-export", "@/k.kwz", "@"}, 3, "konnte nicht geschrieben werden"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> env = {"LC_ALL=C"}; // the texts as they are, ISO 8859-1
        if (c.device)
            env.push_back("KELVORA_DEVICE=" + device);
        CtlRun run = runCtl(inDir(c.args, dir.path()), {env, false, 10000});
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(run.err.find("Cannot open"), std::string::npos) << c.what << ": the window's line only";
        EXPECT_EQ(run.out, "") << c.what;
        for (const auto &[name, bytes] : files)
            EXPECT_TRUE(readFile(dir.file(name)) == bytes) << c.what << ": " << name << " changed";
        EXPECT_EQ(readFile(dir.file("b.csv")), "") << c.what << ": an export written";
    }
    EXPECT_TRUE(stop() == pbxsim::defaultState()) << "nothing programmed";
}

// Every command --help names answers --help itself: its own usage line and
// what it does, without a device.
TEST(Ctl, EveryCommandAnswersHelp)
{
    CtlRun help = runCtl({"--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    const std::string &all = help.out;
    std::vector<std::pair<std::string, std::string>> commands; // name, its line in --help
    std::size_t at = all.find("Commands:\n");
    ASSERT_NE(at, std::string::npos) << all;
    for (at += 10; all.compare(at, 2, "  ") == 0; at = all.find('\n', at) + 1) {
        std::string line = all.substr(at + 2, all.find('\n', at) - at - 2);
        commands.push_back({line.substr(0, line.find(' ')), line});
    }
    EXPECT_GE(commands.size(), 13u);
    for (const char *command : {"read-config", "program-config", "read-speeddial", "program-speeddial",
                                "read-subscribers", "program-subscribers", "calls", "counters", "backup", "show", "diff"})
        EXPECT_NE(all.find(std::string("  ") + command + " "), std::string::npos) << command;
    for (const auto &[name, line] : commands) {
        CtlRun run = runCtl({name, "--help"});
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.err, "") << name;
        std::string usage = "usage: kelvoractl [-d DEVICE] [-D LEVEL] [-q] " + line + "\n\n";
        EXPECT_EQ(run.out.substr(0, usage.size()), usage) << name;
        EXPECT_GT(run.out.size(), usage.size() + 20) << name << ": no description";
    }
}

TEST_F(CtlLine, APbxThatRefusesIsTheWindowsTextWithItsAdvice)
{
    start(pbxsim::defaultState(), {"--refuse-begin", "106"});
    CtlRun run = ctl({"read-config", dir.file("x.cfg")}, {{"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "kelvoractl: Fehler bei der Uebertragung: CMD-Fehler\n"
                       "kelvoractl: Die Anlage kennt diesen Befehl nicht: ROM-Version und Zusatzmodule der Anlage "
                       "pr\xC3\xBC" "fen.\n"); // UTF-8, as the locale wants
    struct stat st;
    EXPECT_NE(stat(dir.file("x.cfg").c_str(), &st), 0) << "a file written after a failed read";
}

// Whatever breaks a programming run off once the PBX took a data frame, the
// user hears that it holds part of the new configuration.
TEST_F(CtlLine, AProgrammingRunBrokenOffMidwaySaysThePbxHoldsPart)
{
    const std::string head = "kelvoractl: Fehler bei der Uebertragung: ";
    const std::string partly = "kelvoractl: Die Anlage ist nur zum Teil programmiert: bitte erneut programmieren.\n";
    const struct {
        const char *what;
        std::vector<std::string> fault; // answer 1 acknowledges the begin
        std::string said;
    } cases[] = {
        {"silent after five frames", {"--silent", "7"}, head + "Uebertragungs-Fehler\n" + partly},
        {"the line gone after five frames", {"--hang-up", "7"},
         head + "Uebertragungs-Fehler\n" + partly +
             "kelvoractl: Die Verbindung zur Anlage ist weg: Kabel oder USB-Adapter pr\xFC" "fen.\n"},
        {"the sixth frame refused", {"--refuse-data", "6:107"}, head + "Prio-Fehler\n" + partly},
        {"the first frame refused: none taken", {"--refuse-data", "1:107"}, head + "Prio-Fehler\n"},
    };
    writeFile(dir.file("p.cfg"), configFile(pbxsim::defaultState()));
    for (const auto &c : cases) {
        start(pbxsim::defaultState(), c.fault);
        CtlRun run = ctl({"program-config", dir.file("p.cfg")}, {{"LC_ALL=C"}});
        EXPECT_EQ(run.status, 2) << c.what;
        EXPECT_EQ(run.err, c.said) << c.what;
        stop();
    }
}

TEST_F(CtlLine, ProgressOnlyOnATerminalAndNotWithQ)
{
    start();
    CtlRun run = ctl({"read-config", dir.file("a.cfg")}, {{}, true});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("Konfiguration lesen"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("100 %"), std::string::npos) << run.err;
    run = runCtl({"-q", "-d", device, "read-config", dir.file("a.cfg")}, {{}, true});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST_F(CtlLine, TheWindowsLockKeepsItOffTheLine)
{
    start();
    std::string lock = lockFileFor(device);
    {
        std::ofstream held(lock);
        held << getpid() << " kelvora\n";
    }
    CtlRun run = ctl({"read-config", dir.file("a.cfg")});
    std::string left = readFile(lock);
    unlink(lock.c_str());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Belegt von Prozess " + std::to_string(getpid())), std::string::npos) << run.err;
    EXPECT_EQ(left, std::to_string(getpid()) + " kelvora\n") << "someone else's lock is left alone";
}

} // namespace

namespace {

// The PBX behind ser2net: the same file as over the line, the backup named
// by host and port; with the server gone, exit 2 and the window's message.
TEST_F(CtlLine, OverSer2netTheSameFileAndAnUnreachableServerExitsTwo)
{
    if (ser2netBinary().empty())
        GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh)";
    start();
    int port = freeLocalPort();
    std::string why;
    pid_t server = startSer2net(device, port, dir.file("ser2net.yaml"), dir.file("ser2net.log"), &why);
    ASSERT_GT(server, 0) << why;
    mkdir(dir.file("run").c_str(), 0700);
    std::string net = "rfc2217://127.0.0.1:" + std::to_string(port);
    CtlOptions options;
    options.env = {"XDG_RUNTIME_DIR=" + dir.file("run"), "XDG_DATA_HOME=" + dir.file("data")};
    CtlRun run = runCtl({"-d", net, "read-config", dir.file("a.cfg")}, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(dir.file("a.cfg")), configFile(pbxsim::defaultState()));
    std::string backup = "konfiguration-127.0.0.1_" + std::to_string(port) + "-";
    EXPECT_EQ(runTool({"sh", "-c", "ls " + backups() + " | grep -c '^" + backup + "'"}), 0) << "no backup " << backup;

    killSer2net(server);
    run = runCtl({"-d", net, "read-config", dir.file("b.cfg")}, options);
    EXPECT_EQ(run.status, 2);
    // Standard error speaks the locale's charset: the ASCII parts.
    EXPECT_NE(run.err.find("\"" + net + "\" ist nicht erreichbar: Der Rechner nimmt an diesem Port keine Verbindung an.\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("kelvoractl: Keine Verbindung zu " + net + ": "), std::string::npos) << run.err;
    EXPECT_NE(access(dir.file("b.cfg").c_str(), F_OK), 0) << "no file for a failed read";
}

} // namespace
