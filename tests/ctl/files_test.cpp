// kelvoractl's files against what others put in their place: the backups
// every read keeps, subscriber files the dialog could not have written.
#include "ctl_env.h"

#include "config/backups.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int filesIn(const std::string &dir)
{
    std::error_code ec;
    return int(std::distance(std::filesystem::directory_iterator(dir, ec), {}));
}

} // namespace

// Every read keeps the backup the window keeps, where the window's question
// before programming looks for it.
TEST_F(CtlLine, ReadsKeepTheWindowsBackups)
{
    start();
    const struct {
        const char *command, *file;
        FileKind kind;
    } reads[] = {
        {"read-config", "a.cfg", FileKind::Configuration},
        {"read-speeddial", "k.kwz", FileKind::SpeedDial},
        {"read-subscribers", "t.tnd", FileKind::Subscribers},
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
    // backup DIR: all three files, and its three kept there too.
    CtlRun run = ctl({"backup", dir.file("all")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(backups()), 6);
    std::vector<std::string> written = linesOf(run.out);
    ASSERT_EQ(written.size(), 3u) << run.out;
    EXPECT_NE(written[0].find("/konfiguration-" + uniqueLineName("ctl") + "-"), std::string::npos);
    EXPECT_EQ(readFile(written[0]), readFile(dir.file("a.cfg")));
    EXPECT_EQ(readFile(written[1]).size(), 13060u);
    EXPECT_EQ(readFile(written[2]).size(), 1650u);
    // As the README's cron line runs it: the same files, nothing said.
    run = ctl({"-q", "backup", dir.file("quiet")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(filesIn(dir.file("quiet")), 3);

    // A folder others may write in: the read goes through, the backup is not kept.
    chmod(backups().c_str(), 0777);
    run = ctl({"read-config", dir.file("c.cfg")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("Keine Sicherungskopie in " + backups() + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("abhelfen: chmod go-w " + backups()), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.file("c.cfg")), readFile(dir.file("a.cfg")));
    EXPECT_EQ(filesIn(backups()), 9);
}

// backup DIR refuses a folder others may write in before it reads, and one
// that fails (writing or reading) leaves no folder it made.
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

    // The subscriber read fails: answers 15 (configuration), 29 (speed dial), then its fifth.
    stop();
    start(pbxsim::defaultState(), {"--bad-checksum", "49"});
    run = ctl({"backup", dir.file("failed")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("CRC-Fehler"), std::string::npos) << run.err;
    EXPECT_NE(access(dir.file("failed").c_str(), F_OK), 0) << "a folder made for nothing";
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
