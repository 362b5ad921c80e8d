// Backups: their names, where they go, how many stay, and what a failure leaves.
#include <gtest/gtest.h>

#include "config/backups.h"
#include "support/tempdir.h"

#include <cstdlib>
#include <functional>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// 2026-12-DAY 15:30:SECONDS UTC.
std::time_t at(int day, int seconds = 0, int month = 12, int hour = 15, int minute = 30)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = seconds;
    return timegm(&t);
}

std::set<std::string> namesIn(const std::string &dir)
{
    std::set<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

auto writing(const std::string &text)
{
    return [text](FILE *fp) { return std::fputs(text.c_str(), fp) >= 0; };
}

// The time zone for one test, without the system's zone files.
struct LocalZone {
    explicit LocalZone(const char *tz)
    {
        if (const char *old = std::getenv("TZ"))
            before = old;
        had = std::getenv("TZ") != nullptr;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~LocalZone()
    {
        if (had)
            setenv("TZ", before.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string before;
    bool had = false;
};

} // namespace

TEST(Backups, NamesTellKindDeviceAndTime)
{
    const struct {
        FileKind kind;
        const char *device;
        int sequence;
        const char *name;
    } cases[] = {
        {FileKind::Configuration, "/dev/ttyS0", 1, "konfiguration-ttyS0-20261209-153000Z.cfg"},
        {FileKind::SpeedDial, "/dev/serial/by-id/usb-FT232R_A1-if00-port0", 1,
         "kurzwahl-usb-FT232R_A1-if00-port0-20261209-153000Z.kwz"},
        {FileKind::Subscribers, "/tmp/pbx 0:1", 2, "teilnehmer-pbx_0_1-20261209-153000Z-2.tnd"},
        // A line on another machine: host and port, not "HOST:PORT" cut at a slash.
        {FileKind::Configuration, "rfc2217://pi.local:3001", 1, "konfiguration-pi.local_3001-20261209-153000Z.cfg"},
        {FileKind::SpeedDial, "rfc2217://[fe80::1]:2000", 1, "kurzwahl-fe80__1_2000-20261209-153000Z.kwz"},
    };
    LocalZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    for (const auto &c : cases)
        EXPECT_EQ(backupFileName(c.kind, c.device, at(9), c.sequence), c.name) << c.device;
}

TEST(Backups, DirectoryFollowsXdgDataHomeElseHome)
{
    std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const struct {
        const char *data, *home, *dir;
    } cases[] = {
        {"/srv/data", "/home/anna", "/srv/data/kelvora/backups"},
        {"", "/home/anna", "/home/anna/.local/share/kelvora/backups"},
        {"relativ", "/home/anna", "/home/anna/.local/share/kelvora/backups"}, // not absolute: ignored
        {"", "", ""},
    };
    for (const auto &c : cases) {
        setenv("XDG_DATA_HOME", c.data, 1);
        setenv("HOME", c.home, 1);
        EXPECT_EQ(defaultBackupDirectory(), c.dir) << c.data << " " << c.home;
    }
    setenv("XDG_DATA_HOME", oldData.c_str(), 1);
    setenv("HOME", oldHome.c_str(), 1);
}

// The newest `keep` of a kind and device stay; other devices, kinds and the
// user's own files, however alike their names, are left alone.
TEST(Backups, KeepTheNewestOfEachKindAndDevice)
{
    TempDir tmp;
    std::string dir = tmp.file("a/b/backups");
    BackupResult r = writeBackup(dir, FileKind::SpeedDial, "/dev/ttyS0", 3, writing("kwz"), at(1));
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(readFile(r.path), "kwz");
    const char *own[] = {"notiz.txt", "konfiguration-meine-notizen-20190101-000000.cfg",
                         "konfiguration-ttyS0-notizen.cfg", "konfiguration-ttyS0-20190101-000000Z-01.cfg",
                         "konfiguration-ttyUSB0-20191301-000000Z.cfg"};
    for (const char *name : own)
        writeFile(dir + "/" + name, "x");
    writeFile(dir + "/konfiguration-ttyS0-20190101-000000.cfg", "old form"); // local time, no "Z"
    for (int day = 2; day <= 7; ++day)
        writeBackup(dir, FileKind::Configuration, day % 2 ? "/dev/ttyS0" : "/dev/ttyUSB0", 2, writing("cfg"),
                    at(day));
    std::set<std::string> expected(std::begin(own), std::end(own));
    expected.insert({"konfiguration-ttyUSB0-20261204-153000Z.cfg", "konfiguration-ttyUSB0-20261206-153000Z.cfg",
                     "konfiguration-ttyS0-20261205-153000Z.cfg", "konfiguration-ttyS0-20261207-153000Z.cfg",
                     "kurzwahl-ttyS0-20261201-153000Z.kwz"});
    EXPECT_EQ(namesIn(dir), expected);
    EXPECT_EQ(newestBackup(dir, FileKind::Configuration, "/dev/ttyUSB0"),
              dir + "/konfiguration-ttyUSB0-20261206-153000Z.cfg");
    EXPECT_EQ(newestBackup(dir, FileKind::Subscribers, "/dev/ttyS0"), "");

    // "ttyS0-x" is another device, newer or not.
    writeBackup(dir, FileKind::Configuration, "/dev/ttyS0-x", 10, writing("cfg"), at(8));
    EXPECT_EQ(newestBackup(dir, FileKind::Configuration, "/dev/ttyS0"),
              dir + "/konfiguration-ttyS0-20261207-153000Z.cfg");
}

// Two reads in one second are two backups; the night the clocks go back, the
// later one is still the newer; names of the older local-time form count.
TEST(Backups, EveryBackupItsOwnNameInTheOrderTheyWereMade)
{
    LocalZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    TempDir tmp;
    std::string dir = tmp.path();
    writeFile(dir + "/teilnehmer-ttyS0-20261024-120000.tnd", "old form");
    EXPECT_EQ(newestBackup(dir, FileKind::Subscribers, "ttyS0"), dir + "/teilnehmer-ttyS0-20261024-120000.tnd");
    std::time_t summer = at(25, 0, 10, 0, 30), winter = at(25, 0, 10, 1, 10); // 02:30 CEST, then 02:10 CET
    BackupResult first = writeBackup(dir, FileKind::Subscribers, "ttyS0", 10, writing("1"), summer);
    BackupResult second = writeBackup(dir, FileKind::Subscribers, "ttyS0", 10, writing("2"), summer);
    ASSERT_TRUE(first.written && second.written);
    EXPECT_NE(first.path, second.path);
    EXPECT_EQ(readFile(first.path), "1");
    EXPECT_EQ(newestBackup(dir, FileKind::Subscribers, "ttyS0"), second.path);
    BackupResult later = writeBackup(dir, FileKind::Subscribers, "ttyS0", 3, writing("3"), winter);
    EXPECT_EQ(newestBackup(dir, FileKind::Subscribers, "ttyS0"), later.path);
    EXPECT_EQ(namesIn(dir).count("teilnehmer-ttyS0-20261024-120000.tnd"), 0u) << "the oldest goes first";
}

// What others could plant in the folder never receives a backup: a folder
// they may write in or that is theirs is not used, a name already taken is
// passed over, and pruning removes nothing but regular files.
TEST(Backups, NothingPlantedInTheFolderIsWrittenOrRemoved)
{
    const std::string next = "konfiguration-ttyS0-20261209-153000Z.cfg", old = "konfiguration-ttyS0-20261201-153000Z.cfg";
    const struct {
        const char *name;
        std::function<void(const std::string &dir, const std::string &victim)> plant;
        BackupTrouble trouble;
        const char *said; // in the message, "@" the folder
        const char *written; // the backup's name when written
    } cases[] = {
        {"others may write", [](auto &d, auto &) { chmod(d.c_str(), 0777); }, BackupTrouble::OthersMayWrite,
         "abhelfen: chmod go-w @", nullptr},
        {"the group may write", [](auto &d, auto &) { chmod(d.c_str(), 0770); }, BackupTrouble::OthersMayWrite,
         "chmod go-w @", nullptr},
        {"another user's folder", [](auto &d, auto &) { ASSERT_EQ(chown(d.c_str(), 65534, 65534), 0); },
         BackupTrouble::NotOwned, "abhelfen: chown root @", nullptr},
        {"a link under the next name", [&](auto &d, auto &v) { ASSERT_EQ(symlink(v.c_str(), (d + "/" + next).c_str()), 0); },
         BackupTrouble::NoTrouble, "", "konfiguration-ttyS0-20261209-153000Z-2.cfg"},
        {"a dangling link under the next name",
         [&](auto &d, auto &v) { ASSERT_EQ(symlink((v + ".neu").c_str(), (d + "/" + next).c_str()), 0); },
         BackupTrouble::NoTrouble, "", "konfiguration-ttyS0-20261209-153000Z-2.cfg"},
        {"a FIFO under the next name", [&](auto &d, auto &) { ASSERT_EQ(mkfifo((d + "/" + next).c_str(), 0600), 0); },
         BackupTrouble::NoTrouble, "", "konfiguration-ttyS0-20261209-153000Z-2.cfg"},
        {"a link named as an old backup",
         [&](auto &d, auto &v) { ASSERT_EQ(symlink(v.c_str(), (d + "/" + old).c_str()), 0); }, BackupTrouble::NoTrouble,
         "", next.c_str()},
    };
    for (const auto &c : cases) {
        TempDir tmp;
        std::string dir = tmp.file("backups"), victim = tmp.file("victim");
        ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
        writeFile(victim, "victim");
        c.plant(dir, victim);
        std::set<std::string> before = namesIn(dir);
        BackupResult r = writeBackup(dir, FileKind::Configuration, "/dev/ttyS0", 1, writing("cfg"), at(9));
        EXPECT_EQ(r.trouble, c.trouble) << c.name;
        EXPECT_EQ(checkBackupDirectory(dir).trouble, c.written ? BackupTrouble::NoTrouble : c.trouble) << c.name;
        EXPECT_EQ(readFile(victim), "victim") << c.name;
        EXPECT_EQ(access((victim + ".neu").c_str(), F_OK), -1) << c.name;
        std::set<std::string> after = namesIn(dir);
        for (const std::string &name : before)
            EXPECT_EQ(after.count(name), 1u) << c.name << ": " << name << " removed";
        if (c.written) {
            EXPECT_TRUE(r.written) << c.name;
            EXPECT_EQ(r.path, dir + "/" + c.written) << c.name;
            EXPECT_EQ(readFile(r.path), "cfg") << c.name;
            EXPECT_EQ(after.size(), before.size() + 1) << c.name;
        } else {
            EXPECT_FALSE(r.written) << c.name;
            EXPECT_EQ(after, before) << c.name;
            std::string said = c.said;
            said.replace(said.find('@'), 1, dir);
            std::string text = backupTroubleText(r, dir, [](const char *) { return std::string(); });
            EXPECT_NE(text.find(said), std::string::npos) << c.name << ": " << text;
            EXPECT_EQ(text.find("Keine Sicherungskopie in " + dir + ": "), 0u) << text;
        }
    }
}

TEST(Backups, NothingWrittenWhenOffOrImpossible)
{
    TempDir tmp;
    EXPECT_FALSE(writeBackup(tmp.file("off"), FileKind::Configuration, "ttyS0", 0, writing("x"), at(9)).written);
    EXPECT_EQ(access(tmp.file("off").c_str(), F_OK), -1) << "keep 0 makes no directory";

    writeFile(tmp.file("datei"), "x");
    BackupResult underFile = writeBackup(tmp.file("datei/backups"), FileKind::Configuration, "ttyS0", 5,
                                         writing("x"), at(9));
    EXPECT_FALSE(underFile.written);
    EXPECT_FALSE(underFile.error.empty());

    BackupResult failing = writeBackup(tmp.file("new/full"), FileKind::Configuration, "ttyS0", 5,
                                       [](FILE *) { return false; }, at(9));
    EXPECT_FALSE(failing.written);
    EXPECT_FALSE(failing.error.empty());
    EXPECT_TRUE(namesIn(tmp.path()) == std::set<std::string>{"datei"}) << "no half-written backup, no folder made";
}

namespace {

std::set<std::string> allNamesIn(const std::string &dir)
{
    std::set<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// A process id that is surely gone: a child that has exited and been reaped.
pid_t goneProcess()
{
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status;
    waitpid(child, &status, 0);
    return child;
}

} // namespace

// A set of backups is there whole or not at all: while any of them is still
// being written (where kill -9 may end the run), none is under its own name.
TEST(Backups, ASetIsLinkedIntoPlaceOnlyWhenAllAreWhole)
{
    TempDir dir;
    std::string folder = dir.file("sets");
    std::vector<std::string> seen; // names in the folder while each piece is written
    auto noteAnd = [&](const std::string &text) {
        return [&, text](FILE *fp) {
            std::string names;
            for (const std::string &n : namesIn(folder))
                names += n + " ";
            seen.push_back(names);
            return std::fputs(text.c_str(), fp) >= 0;
        };
    };
    std::vector<std::string> paths;
    BackupResult r = writeBackupSet(folder, "/dev/ttyS0",
                                    {{FileKind::Configuration, noteAnd("cfg")},
                                     {FileKind::SpeedDial, noteAnd("kwz")},
                                     {FileKind::Subscribers, noteAnd("tnd")}},
                                    paths, at(9));
    ASSERT_TRUE(r.written);
    EXPECT_EQ(seen, std::vector<std::string>(3, "")) << "a backup under its name before all were whole";
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"konfiguration-ttyS0-20261209-153000Z.cfg",
                                                      "kurzwahl-ttyS0-20261209-153000Z.kwz",
                                                      "teilnehmer-ttyS0-20261209-153000Z.tnd"}));
    EXPECT_EQ(allNamesIn(folder).size(), 3u) << "a temporary file left";
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(readFile(paths[1]), "kwz");

    // The third that fails takes the other two with it.
    r = writeBackupSet(folder, "/dev/ttyS1",
                       {{FileKind::Configuration, writing("cfg")},
                        {FileKind::SpeedDial, writing("kwz")},
                        {FileKind::Subscribers, [](FILE *) { return false; }}},
                       paths, at(9));
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(allNamesIn(folder).size(), 3u) << "a file of the failed set left";
}

// Temporary files carry their process's id; what a run killed with -9 left
// goes with the next write of its kind, and nothing else does.
TEST(Backups, TemporariesOfRunsThatAreGoneAreRemoved)
{
    TempDir dir;
    std::string folder = dir.file("b");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    std::string gone = std::to_string(goneProcess()), alive = std::to_string(getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".konfiguration-ttyS0-20261201-101010Z.cfg." + gone + ".a1B2c3", true},
        {".kurzwahl-ttyS0-20261201-101010Z.kwz." + gone + ".zzzzzz", true},
        {".konfiguration-ttyS0-20261201-101010Z.cfg." + alive + ".a1B2c3", false}, // its run goes on
        {".konfiguration-ttyS0-20261201-101010Z.cfg.a1B2c3", false},              // no pid: not ours
        {".konfiguration-ttyS0-20261201-101010Z.cfg." + gone + ".a1B2c", false},  // five characters
        {".konfiguration-ttyS0-20261201-101010Z.cfg.0" + gone + ".a1B2c3", false}, // a leading zero
        {".notes.txt." + gone + ".a1B2c3", false},                                // another kind's
        {"konfiguration-ttyS0-20261201-101010Z.cfg." + gone + ".a1B2c3", false},  // no dot first
    };
    for (const auto &c : cases)
        writeFile(folder + "/" + c.name, "x");
    ASSERT_TRUE(mkdir((folder + "/.kurzwahl-x.kwz." + gone + ".dddddd").c_str(), 0700) == 0);
    BackupResult r = writeBackup(folder, FileKind::Configuration, "/dev/ttyS0", 100, writing("cfg"), at(9));
    ASSERT_TRUE(r.written);
    r = writeBackup(folder, FileKind::SpeedDial, "/dev/ttyS0", 100, writing("kwz"), at(9));
    ASSERT_TRUE(r.written);
    std::set<std::string> names = allNamesIn(folder);
    for (const auto &c : cases)
        EXPECT_EQ(names.count(c.name), c.removed ? 0u : 1u) << c.name;
    EXPECT_EQ(names.count(".kurzwahl-x.kwz." + gone + ".dddddd"), 1u) << "a directory is no temporary file";
}
