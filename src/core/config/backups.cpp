#include "config/backups.h"

#include "config/atomicfile.h"
#include "link/interrupt.h"
#include "link/staletemps.h"
#include "link/rfc2217.h"
#include "resources/fill.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

const char *prefixOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Configuration: return "konfiguration-";
    case FileKind::SpeedDial: return "kurzwahl-";
    case FileKind::Subscribers: return "teilnehmer-";
    }
    return "";
}

const char *extensionOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Configuration: return ".cfg";
    case FileKind::SpeedDial: return ".kwz";
    case FileKind::Subscribers: return ".tnd";
    }
    return "";
}

std::string deviceName(const std::string &device)
{
    // A line on another machine goes by host and port.
    std::string name = netDeviceName(device);
    if (name.empty())
        name = device.substr(device.rfind('/') == std::string::npos ? 0 : device.rfind('/') + 1);
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-')
            c = '_';
    return name.empty() ? "_" : name;
}

// "20261209-143000" read as a time: UTC, or local time for the older names
// without the "Z".  False unless the text is exactly that form.
bool readStamp(const std::string &text, bool utc, std::time_t &when)
{
    if (text.size() != 15 || text[8] != '-')
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 8 && !std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    auto number = [&text](std::size_t at, std::size_t n) { return std::atoi(text.substr(at, n).c_str()); };
    std::tm t{};
    t.tm_year = number(0, 4) - 1900;
    t.tm_mon = number(4, 2) - 1;
    t.tm_mday = number(6, 2);
    t.tm_hour = number(9, 2);
    t.tm_min = number(11, 2);
    t.tm_sec = number(13, 2);
    if (t.tm_mon > 11 || t.tm_mday < 1 || t.tm_mday > 31 || t.tm_hour > 23 || t.tm_min > 59 || t.tm_sec > 60)
        return false;
    t.tm_isdst = -1;
    when = utc ? timegm(&t) : std::mktime(&t);
    return true;
}

struct Found {
    std::time_t when;
    int sequence;
    std::string name;
    bool operator<(const Found &o) const
    {
        return std::tie(when, sequence, name) < std::tie(o.when, o.sequence, o.name);
    }
};

// The part between "<prefix><device>-" and the extension: "20261209-143000Z",
// "20261209-143000Z-2" or the older "20261209-153000".
bool readWhen(const std::string &middle, Found &found)
{
    found.sequence = 1;
    if (middle.size() == 15)
        return readStamp(middle, false, found.when);
    if (middle.size() < 16 || middle[15] != 'Z' || !readStamp(middle.substr(0, 15), true, found.when))
        return false;
    if (middle.size() == 16)
        return true;
    std::string n = middle.substr(17);
    if (middle[16] != '-' || n.empty() || n.size() > 6 || n[0] == '0' ||
        n.find_first_not_of("0123456789") != std::string::npos)
        return false;
    found.sequence = std::atoi(n.c_str());
    return found.sequence >= 2;
}

// The regular files below dirfd named exactly as backups of that kind and
// device, oldest first.
std::vector<Found> backupsIn(int dirfd, FileKind kind, const std::string &device)
{
    std::vector<Found> found;
    int fd = dup(dirfd);
    DIR *d = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!d) {
        if (fd >= 0)
            close(fd);
        return found;
    }
    std::string head = prefixOf(kind) + deviceName(device) + "-", ext = extensionOf(kind);
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        Found f;
        struct stat st;
        if (name.size() > head.size() + ext.size() && name.compare(0, head.size(), head) == 0 &&
            name.compare(name.size() - ext.size(), ext.size(), ext) == 0 &&
            readWhen(name.substr(head.size(), name.size() - head.size() - ext.size()), f) &&
            fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            f.name = name;
            found.push_back(f);
        }
    }
    closedir(d);
    std::sort(found.begin(), found.end());
    return found;
}

// Makes the missing directories of dir, noting each one made.
bool makeDirectories(const std::string &dir, std::vector<std::string> &made)
{
    for (std::size_t at = 1; at <= dir.size(); ++at) {
        if (at < dir.size() && dir[at] != '/')
            continue;
        std::string part = dir.substr(0, at);
        if (mkdir(part.c_str(), 0700) == 0)
            made.push_back(part);
        else if (errno != EEXIST)
            return false;
    }
    return true;
}

void removeMade(std::vector<std::string> &made)
{
    for (auto at = made.rbegin(); at != made.rend(); ++at)
        rmdir(at->c_str());
    made.clear();
}

BackupTrouble troubleOf(const struct stat &st)
{
    if (st.st_uid != geteuid())
        return BackupTrouble::NotOwned;
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return BackupTrouble::OthersMayWrite;
    return BackupTrouble::NoTrouble;
}

bool failed(BackupResult &result, BackupTrouble trouble, int error = 0)
{
    result.trouble = trouble;
    if (trouble == BackupTrouble::System)
        result.error = std::strerror(error ? error : EIO);
    return false;
}

// The folder opened and checked: what is written goes below the directory
// that was checked, whatever happens to its name meanwhile.
int openChecked(const std::string &dir, BackupResult &result)
{
    int dirfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (dirfd < 0 || fstat(dirfd, &st) != 0) {
        failed(result, BackupTrouble::System, errno);
        if (dirfd >= 0)
            close(dirfd);
        return -1;
    }
    if (BackupTrouble trouble = troubleOf(st); trouble != BackupTrouble::NoTrouble) {
        failed(result, trouble);
        close(dirfd);
        return -1;
    }
    return dirfd;
}

// The new file under the first free name of that second: linking never
// replaces anything, nor follows a link of that name.
void dropTemporary(int dirfd, const std::string &dir, const std::string &temp)
{
    unlinkat(dirfd, temp.c_str(), 0);
    forgetOnInterrupt((dir + "/" + temp).c_str());
}

// Writes the file under a temporary name of its own in the folder: that
// name, or "" (and why in result).
std::string writeTemporary(int dirfd, const std::string &dir, FileKind kind, const std::string &device,
                           std::time_t when, const std::function<bool(FILE *)> &write, BackupResult &result)
{
    // What runs killed with -9 left of this kind goes first.
    std::string prefix = prefixOf(kind);
    removeStaleTemporaries(dirfd, [&prefix](const std::string &stem) { return stem.rfind(prefix, 0) == 0; });
    std::string temp;
    int fd;
    {
        InterruptsDeferred deferred; // a signal takes the file away once it is known
        fd = createTemporaryFile(dirfd, "", backupFileName(kind, device, when), 0666, &temp);
        if (fd >= 0)
            removeOnInterrupt((dir + "/" + temp).c_str());
    }
    if (fd < 0) {
        failed(result, BackupTrouble::System, errno);
        return "";
    }
    FILE *fp = fdopen(fd, "w");
    errno = EIO; // a writer that fails without saying why
    bool done = fp && write(fp) && std::fflush(fp) == 0 && !std::ferror(fp) && fsync(fd) == 0;
    int error = errno;
    done = (fp ? std::fclose(fp) : close(fd)) == 0 && done;
    if (!done) {
        dropTemporary(dirfd, dir, temp);
        failed(result, BackupTrouble::System, error);
        return "";
    }
    return temp;
}

// The temporary file under the backup's own name, the first sequence number
// free; false (and why in result) when none could be taken.
bool linkInPlace(int dirfd, const std::string &dir, const std::string &temp, FileKind kind,
                 const std::string &device, std::time_t when, BackupResult &result)
{
    for (int sequence = 1; sequence < 1000; ++sequence) {
        std::string name = backupFileName(kind, device, when, sequence);
        if (linkat(dirfd, temp.c_str(), dirfd, name.c_str(), 0) == 0) {
            result.path = dir + "/" + name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return failed(result, BackupTrouble::System, errno);
}

bool writeNew(int dirfd, const std::string &dir, FileKind kind, const std::string &device, std::time_t when,
              const std::function<bool(FILE *)> &write, BackupResult &result)
{
    std::string temp = writeTemporary(dirfd, dir, kind, device, when, write, result);
    if (temp.empty())
        return false;
    bool linked = linkInPlace(dirfd, dir, temp, kind, device, when, result);
    dropTemporary(dirfd, dir, temp);
    if (linked)
        fsync(dirfd);
    return linked;
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

std::string backupFileName(FileKind kind, const std::string &device, std::time_t when, int sequence)
{
    char stamp[32] = {};
    std::tm utc{};
    gmtime_r(&when, &utc);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%SZ", &utc);
    std::string name = prefixOf(kind) + deviceName(device) + "-" + stamp;
    if (sequence > 1)
        name += "-" + std::to_string(sequence);
    return name + extensionOf(kind);
}

std::string backupTroubleText(const BackupResult &result, const std::string &dir,
                              const std::function<std::string(const char *which)> &text)
{
    auto filled = [&text](const char *which, const char *fallback, const std::string &one, const std::string &two) {
        std::string t = text(which);
        return fillPlaceholders(t.empty() ? fallback : t, {one, two});
    };
    std::string why = result.error;
    if (result.trouble == BackupTrouble::OthersMayWrite) {
        why = filled("othersMayWrite", "andere dürfen in diesem Ordner schreiben; abhelfen: chmod go-w %1", dir, "");
    } else if (result.trouble == BackupTrouble::NotOwned) {
        const passwd *me = getpwuid(geteuid());
        why = filled("notOwned", "der Ordner gehört nicht %2; abhelfen: chown %2 %1", dir,
                     me ? me->pw_name : std::to_string(geteuid()));
    }
    return filled("failed", "Keine Sicherungskopie in %1: %2", dir, why);
}

BackupResult checkBackupDirectory(const std::string &dir)
{
    BackupResult result;
    struct stat st;
    if (!dir.empty() && stat(dir.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            failed(result, BackupTrouble::System, ENOTDIR);
        else
            result.trouble = troubleOf(st);
    }
    return result;
}

namespace {

// The backup folder, made where missing and checked: a descriptor, or -1 with
// why in result (and what was made removed again).
int openFolder(const std::string &dir, BackupResult &result)
{
    if (dir.empty()) {
        failed(result, BackupTrouble::System, ENOENT);
        return -1;
    }
    if (!makeDirectories(dir, result.made)) {
        failed(result, BackupTrouble::System, errno);
        removeMade(result.made);
        return -1;
    }
    return openChecked(dir, result);
}

} // namespace

BackupResult writeBackup(const std::string &dir, FileKind kind, const std::string &device, int keep,
                         const std::function<bool(FILE *)> &write, std::time_t when)
{
    BackupResult result;
    if (keep <= 0)
        return result;
    int dirfd = openFolder(dir, result);
    if (dirfd >= 0 && writeNew(dirfd, dir, kind, device, when, write, result)) {
        result.written = true;
        std::vector<Found> mine = backupsIn(dirfd, kind, device);
        for (std::size_t i = 0; i + std::size_t(keep) < mine.size(); ++i)
            unlinkat(dirfd, mine[i].name.c_str(), 0);
    }
    if (dirfd >= 0)
        close(dirfd);
    if (!result.written)
        removeMade(result.made);
    return result;
}

std::string newestBackup(const std::string &dir, FileKind kind, const std::string &device)
{
    int dirfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd < 0)
        return "";
    std::vector<Found> mine = backupsIn(dirfd, kind, device);
    close(dirfd);
    return mine.empty() ? "" : dir + "/" + mine.back().name;
}

BackupResult writeBackupSet(const std::string &dir, const std::string &device, const std::vector<BackupPiece> &pieces,
                            std::vector<std::string> &paths, std::time_t when)
{
    BackupResult result;
    paths.clear();
    int dirfd = openFolder(dir, result);
    std::vector<std::string> temps;
    bool fine = dirfd >= 0;
    // Every file whole under a temporary name first: a run killed with -9
    // meanwhile leaves no file of the set under its own name.
    for (std::size_t i = 0; fine && i < pieces.size(); ++i) {
        std::string temp = writeTemporary(dirfd, dir, pieces[i].kind, device, when, pieces[i].write, result);
        fine = !temp.empty();
        if (fine)
            temps.push_back(temp);
    }
    for (std::size_t i = 0; fine && i < pieces.size(); ++i) {
        fine = linkInPlace(dirfd, dir, temps[i], pieces[i].kind, device, when, result);
        if (fine)
            paths.push_back(result.path);
    }
    if (!fine)
        for (const std::string &path : paths)
            unlink(path.c_str());
    for (const std::string &temp : temps)
        dropTemporary(dirfd, dir, temp);
    if (dirfd >= 0) {
        fsync(dirfd);
        close(dirfd);
    }
    result.written = fine;
    if (!fine) {
        paths.clear();
        removeMade(result.made);
    }
    return result;
}
