// Backups: their names, where they go, how many stay, and what a failure leaves.
#include <gtest/gtest.h>

#include "config/backups.h"
#include "support/tempdir.h"

#include <cstdlib>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

namespace {

// 2026-12-09 15:30:00 in the test's local time.
std::time_t at(int day, int seconds = 0)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = day;
    t.tm_hour = 15;
    t.tm_min = 30;
    t.tm_sec = seconds;
    t.tm_isdst = -1;
    return std::mktime(&t);
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

} // namespace

TEST(Backups, NamesTellKindDeviceAndTime)
{
    const struct {
        BackupKind kind;
        const char *device, *name;
    } cases[] = {
        {BackupKind::Configuration, "/dev/ttyS0", "konfiguration-ttyS0-20261209-153000.cfg"},
        {BackupKind::SpeedDial, "/dev/serial/by-id/usb-FT232R_A1-if00-port0",
         "kurzwahl-usb-FT232R_A1-if00-port0-20261209-153000.kwz"},
        {BackupKind::Subscribers, "/tmp/pbx 0:1", "teilnehmer-pbx_0_1-20261209-153000.tnd"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(backupFileName(c.kind, c.device, at(9)), c.name) << c.device;
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

// The newest `keep` of a kind stay, whichever device they came from; other
// kinds and other files are left alone.
TEST(Backups, KeepTheNewestOfEachKind)
{
    TempDir tmp;
    std::string dir = tmp.file("a/b/backups");
    BackupResult r = writeBackup(dir, BackupKind::SpeedDial, "/dev/ttyS0", 3, writing("kwz"), at(1));
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(readFile(r.path), "kwz");
    writeFile(dir + "/notiz.txt", "x");
    for (int day = 2; day <= 5; ++day)
        writeBackup(dir, BackupKind::Configuration, day % 2 ? "/dev/ttyS0" : "/dev/ttyUSB0", 3, writing("cfg"),
                    at(day));
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"konfiguration-ttyS0-20261203-153000.cfg",
                                                    "konfiguration-ttyUSB0-20261204-153000.cfg",
                                                    "konfiguration-ttyS0-20261205-153000.cfg",
                                                    "kurzwahl-ttyS0-20261201-153000.kwz", "notiz.txt"}));
    EXPECT_EQ(newestBackup(dir, BackupKind::Configuration, "/dev/ttyUSB0"),
              dir + "/konfiguration-ttyUSB0-20261204-153000.cfg");
    EXPECT_EQ(newestBackup(dir, BackupKind::Subscribers, "/dev/ttyS0"), "");

    // "ttyS0-x" is another device, newer or not.
    writeBackup(dir, BackupKind::Configuration, "/dev/ttyS0-x", 10, writing("cfg"), at(6));
    EXPECT_EQ(newestBackup(dir, BackupKind::Configuration, "/dev/ttyS0"),
              dir + "/konfiguration-ttyS0-20261205-153000.cfg");
}

TEST(Backups, NothingWrittenWhenOffOrImpossible)
{
    TempDir tmp;
    EXPECT_FALSE(writeBackup(tmp.file("off"), BackupKind::Configuration, "ttyS0", 0, writing("x"), at(9)).written);
    EXPECT_EQ(access(tmp.file("off").c_str(), F_OK), -1) << "keep 0 makes no directory";

    writeFile(tmp.file("datei"), "x");
    BackupResult underFile = writeBackup(tmp.file("datei/backups"), BackupKind::Configuration, "ttyS0", 5,
                                         writing("x"), at(9));
    EXPECT_FALSE(underFile.written);
    EXPECT_FALSE(underFile.error.empty());

    std::string dir = tmp.file("full");
    BackupResult failing =
        writeBackup(dir, BackupKind::Configuration, "ttyS0", 5, [](FILE *) { return false; }, at(9));
    EXPECT_FALSE(failing.written);
    EXPECT_FALSE(failing.error.empty());
    EXPECT_TRUE(namesIn(dir).empty()) << "no half-written backup";
}
