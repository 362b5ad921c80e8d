#include "config/backups.h"

#include "config/atomicfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t StampSize = 15; // 20261209-153000

const char *prefixOf(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Configuration: return "konfiguration-";
    case BackupKind::SpeedDial: return "kurzwahl-";
    case BackupKind::Subscribers: return "teilnehmer-";
    }
    return "";
}

const char *extensionOf(BackupKind kind)
{
    switch (kind) {
    case BackupKind::Configuration: return ".cfg";
    case BackupKind::SpeedDial: return ".kwz";
    case BackupKind::Subscribers: return ".tnd";
    }
    return "";
}

std::string deviceName(const std::string &device)
{
    std::string name = device.substr(device.rfind('/') == std::string::npos ? 0 : device.rfind('/') + 1);
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-')
            c = '_';
    return name.empty() ? "_" : name;
}

bool makeDirectories(const std::string &dir)
{
    for (std::size_t at = 1; at <= dir.size(); ++at) {
        if (at < dir.size() && dir[at] != '/')
            continue;
        std::string part = dir.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct Found {
    std::string stamp, name;
    bool operator<(const Found &o) const { return stamp != o.stamp ? stamp < o.stamp : name < o.name; }
};

// Backups in dir whose names start with prefix and end in a time stamp and
// ext, oldest first; with exact, nothing may stand between the two.
std::vector<Found> backupsIn(const std::string &dir, const std::string &prefix, const std::string &ext,
                             bool exact = false)
{
    std::vector<Found> found;
    DIR *d = opendir(dir.c_str());
    if (!d)
        return found;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < prefix.size() + StampSize + ext.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - ext.size(), ext.size(), ext) != 0 ||
            (exact && name.size() != prefix.size() + StampSize + ext.size()))
            continue;
        std::string stamp = name.substr(name.size() - ext.size() - StampSize, StampSize);
        bool wellFormed = stamp[8] == '-' && std::all_of(stamp.begin(), stamp.end(), [](char c) {
                              return c == '-' || std::isdigit(static_cast<unsigned char>(c));
                          });
        if (wellFormed)
            found.push_back({stamp, name});
    }
    closedir(d);
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::string defaultBackupDirectory()
{
    const char *data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/kelvora/backups";
    const char *home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/share/kelvora/backups";
    return "";
}

std::string backupFileName(BackupKind kind, const std::string &device, std::time_t when)
{
    char stamp[StampSize + 1] = {};
    std::tm local{};
    localtime_r(&when, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return prefixOf(kind) + deviceName(device) + "-" + stamp + extensionOf(kind);
}

BackupResult writeBackup(const std::string &dir, BackupKind kind, const std::string &device, int keep,
                         const std::function<bool(FILE *)> &write, std::time_t when)
{
    BackupResult result;
    if (keep <= 0)
        return result;
    if (dir.empty() || !makeDirectories(dir)) {
        result.error = dir.empty() ? std::strerror(ENOENT) : std::strerror(errno);
        return result;
    }
    result.path = dir + "/" + backupFileName(kind, device, when);
    errno = 0;
    FileWrite written = writeFileAtomically(result.path.c_str(), write);
    if (written != FileWrite::Written) {
        result.error = std::strerror(written == FileWrite::NotRegular ? EEXIST : errno ? errno : EIO);
        return result;
    }
    result.written = true;
    std::vector<Found> all = backupsIn(dir, prefixOf(kind), extensionOf(kind));
    for (std::size_t i = 0; i + std::size_t(keep) < all.size(); ++i)
        unlink((dir + "/" + all[i].name).c_str());
    return result;
}

std::string newestBackup(const std::string &dir, BackupKind kind, const std::string &device)
{
    std::vector<Found> mine = backupsIn(dir, prefixOf(kind) + deviceName(device) + "-", extensionOf(kind), true);
    return mine.empty() ? "" : dir + "/" + mine.back().name;
}
