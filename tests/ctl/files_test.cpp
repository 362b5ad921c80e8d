// kelvoractl's files against what others put in their place: inputs that are
// no regular file of their size, the backups every read keeps, subscriber
// files the dialog could not have written.
#include "ctl_env.h"

#include "config/backups.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int filesIn(const std::string &dir)
{
    int n = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

std::vector<std::string> withDir(std::vector<std::string> args, const std::string &dir)
{
    for (std::string &a : args)
        if (a[0] == '@')
            a = dir + a.substr(1);
    return args;
}

} // namespace

// Refused at once with the command's status: nothing waits for a FIFO's
// writer, and nothing of a file of the wrong size is compared or sent.
TEST_F(CtlLine, InputsThatAreNoFileOfTheirSizeAreRefusedAtOnce)
{
    start();
    ASSERT_EQ(ctl({"read-config", dir.file("a.cfg")}).status, 0);
    ASSERT_EQ(ctl({"read-speeddial", dir.file("k.kwz")}).status, 0);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(symlink(dir.file("fifo").c_str(), dir.file("link").c_str()), 0);
    writeFile(dir.file("long.cfg"), readFile(dir.file("a.cfg")) + "x");
    writeFile(dir.file("short.kwz"), readFile(dir.file("k.kwz")).substr(0, 13000));
    const struct {
        const char *name;
        std::vector<std::string> args;
        int status;
        const char *said;
    } cases[] = {
        {"show of a FIFO", {"show", "@/fifo"}, 3, "weder Konfigurations-"},
        {"diff with a link to a FIFO", {"diff", "@/a.cfg", "@/link"}, 2, "weder Konfigurations-"},
        {"show of a device", {"show", "/dev/null"}, 3, "weder Konfigurations-"},
        {"show of a file grown", {"show", "@/long.cfg"}, 3, "(2135 statt 2134 Bytes)"},
        {"diff with a file cut short", {"diff", "@/k.kwz", "@/short.kwz"}, 2, "(13000 statt 13060 Bytes)"},
        {"program-config from a FIFO", {"program-config", "@/fifo"}, 3, "ist keine Konfigurationsdatei"},
        {"program-speeddial from a link to a FIFO", {"program-speeddial", "@/link"}, 3, "Kurzwahl-Datei"},
        {"program-subscribers from a FIFO", {"program-subscribers", "@/fifo"}, 3, "Teilnehmerdatei"},
    };
    for (const auto &c : cases) {
        CtlRun run = ctl(withDir(c.args, dir.path()), {{}, false, 10000});
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.name;
    }
    EXPECT_TRUE(stop() == pbxsim::defaultState()) << "nothing programmed";
}

// Every read keeps the backup the window keeps, where the window's question
// before programming looks for it.
TEST_F(CtlLine, ReadsKeepTheWindowsBackups)
{
    start();
    const struct {
        const char *command, *file;
        BackupKind kind;
    } reads[] = {
        {"read-config", "a.cfg", BackupKind::Configuration},
        {"read-speeddial", "k.kwz", BackupKind::SpeedDial},
        {"read-subscribers", "t.tnd", BackupKind::Subscribers},
    };
    for (const auto &r : reads) {
        CtlRun run = ctl({r.command, dir.file(r.file)});
        EXPECT_EQ(run.status, 0) << r.command << ": " << run.err;
        std::string kept = newestBackup(backups(), r.kind, device);
        ASSERT_NE(kept, "") << r.command;
        EXPECT_EQ(readFile(kept), readFile(dir.file(r.file))) << r.command;
    }
    EXPECT_EQ(ctl({"read-config", "--no-backup", dir.file("b.cfg")}).status, 0);
    EXPECT_EQ(filesIn(backups()), 3);
    CtlRun run = ctl({"backup", dir.file("all")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(backups()), 6) << "backup keeps its three there too";

    // A folder others may write in: the read goes through, the backup is not kept.
    chmod(backups().c_str(), 0777);
    run = ctl({"read-config", dir.file("c.cfg")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("Keine Sicherungskopie in " + backups() + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("abhelfen: chmod go-w " + backups()), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.file("c.cfg")), readFile(dir.file("a.cfg")));
    EXPECT_EQ(filesIn(backups()), 6);
}

// backup DIR refuses a folder others may write in before it reads, and one
// that fails leaves no folder it made.
TEST_F(CtlLine, ABackupFolderOthersMayWriteInIsRefusedAndAFailedOneLeavesNone)
{
    start();
    ASSERT_EQ(mkdir(dir.file("open").c_str(), 0777), 0);
    chmod(dir.file("open").c_str(), 0777);
    CtlRun run = ctl({"backup", dir.file("open")});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("abhelfen: chmod go-w " + dir.file("open")), std::string::npos) << run.err;
    EXPECT_EQ(filesIn(dir.file("open")), 0);

    // A device whose name makes the backups' names too long for the file system.
    std::string longName = dir.file(std::string(230, 'p'));
    ASSERT_EQ(symlink(device.c_str(), longName.c_str()), 0);
    run = runCtl({"-d", longName, "backup", dir.file("new/deeper")}, {{"XDG_DATA_HOME=" + dir.file("data")}});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("File name too long"), std::string::npos) << run.err;
    EXPECT_NE(access(dir.file("new").c_str(), F_OK), 0) << "a folder made for nothing";
}

// A file of 1650 bytes is no subscriber file unless the dialog could have
// stored what it holds; --force sends it anyway.
TEST_F(CtlLine, ASubscriberFileTheDialogCouldNotHaveWrittenIsNotSent)
{
    start();
    ASSERT_EQ(ctl({"read-subscribers", dir.file("t.tnd")}).status, 0);
    const std::string read = readFile(dir.file("t.tnd"));
    std::string notes;
    while (notes.size() < 1650)
        notes += "Notizen zur Anlage im Keller, Raum 3. ";
    notes.resize(1650);
    auto changed = [&read](std::size_t at, const std::string &bytes) { return std::string(read).replace(at, bytes.size(), bytes); };
    const struct {
        const char *name;
        std::string file;
        const char *said; // the first wrong field
    } cases[] = {
        {"notes", notes, "AB  #1: Rufumleitung Besetzt: zen zur Anlage"},
        {"a letter in a target", changed(55 * 3 + 4, "12a"), "AB  #4: Rufumleitung Besetzt: 12a"},
        {"a target without its end", changed(55 * 5 + 29, std::string(25, '1')), "AB  #6: Rufumleitung St"},
        {"a wake-up time of no digits", changed(55 * 2 + 2, "\x0A\x07"), "AB  #3: Weckzeit: 07:0A"},
    };
    for (const auto &c : cases) {
        writeFile(dir.file("x.tnd"), c.file);
        CtlRun run = ctl({"program-subscribers", dir.file("x.tnd")});
        EXPECT_EQ(run.status, 3) << c.name;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find("--force"), std::string::npos) << c.name << ": " << run.err;
    }
    EXPECT_TRUE(stop().tln == pbxsim::defaultState().tln) << "nothing sent";

    start();
    writeFile(dir.file("x.tnd"), notes);
    CtlRun run = ctl({"program-subscribers", "--force", dir.file("x.tnd")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ctl({"program-subscribers", dir.file("t.tnd")}).status, 0) << "a file read from the PBX passes";
}
