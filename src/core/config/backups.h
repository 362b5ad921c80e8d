// Backups of what the PBX gave: every completed read of the configuration, the
// speed dial and the subscriber data is kept as a file of its kind, named by
// kind, device and time (UTC), the newest few of each kind and device and no
// more.
#pragma once

#include "config/filekind.h"

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

// As many backups of a kind and device as are kept unless the user says otherwise.
constexpr int DefaultBackupKeep = 100;

// $XDG_DATA_HOME/kelvora/backups, else ~/.local/share/kelvora/backups; "" when
// neither variable is set.
std::string defaultBackupDirectory();

// "konfiguration-ttyS0-20261209-143000Z.cfg", and for the second and later
// backup of one second "...-143000Z-2.cfg": the device's last path component
// (HOST_PORT for rfc2217://HOST:PORT),
// anything but letters, digits, '.', '_' and '-' made '_', and the time in
// UTC, so that the names sort as the backups were made whatever the clock
// does.  Older backups named in local time without the "Z" still count.
std::string backupFileName(FileKind kind, const std::string &device, std::time_t when, int sequence = 1);

// Why a folder is not used for backups: anyone who may write in it could
// plant a file or link under the name of the next backup.
enum class BackupTrouble {
    NoTrouble,
    System,         // the system's error (BackupResult::error)
    OthersMayWrite, // group or others have write permission
    NotOwned,       // it belongs to another user
};

struct BackupResult {
    bool written = false;
    std::string path;  // of the new backup
    BackupTrouble trouble = BackupTrouble::NoTrouble;
    std::string error; // the system's text when trouble is System
    std::vector<std::string> made; // directories made for it, outermost first
};

// "Keine Sicherungskopie in <dir>: <why>" for a backup not written, the why
// naming the fix where there is one.  The texts are the lines below "backup"
// that text() gives ("failed", "othersMayWrite", "notOwned"; "%1" the folder,
// "%2" why or the user), these fallbacks where it gives "".
std::string backupTroubleText(const BackupResult &result, const std::string &dir,
                              const std::function<std::string(const char *which)> &text);

// Writes a backup through write() (the file's whole contents, as a save
// writes them) into dir, made (0700) when missing, as a new file that nothing
// of that name was there before; then removes all but the newest keep
// backups of that kind and device.  keep 0 writes nothing.  Nothing is
// written into a folder of another user or one others may write in.  A
// failure removes the directories it made.
BackupResult writeBackup(const std::string &dir, FileKind kind, const std::string &device, int keep,
                         const std::function<bool(FILE *)> &write, std::time_t when = std::time(nullptr));

// Several backups of one moment as one set (kelvoractl backup): all of them
// or none.  Each is written under a temporary name first and all are linked
// into place only once every one is whole; their paths in paths.  Nothing old
// is removed.
struct BackupPiece {
    FileKind kind;
    std::function<bool(FILE *)> write;
};
BackupResult writeBackupSet(const std::string &dir, const std::string &device, const std::vector<BackupPiece> &pieces,
                            std::vector<std::string> &paths, std::time_t when = std::time(nullptr));

// What is wrong with dir as a backup folder, when it is there (a missing one
// is NoTrouble: it will be made).
BackupResult checkBackupDirectory(const std::string &dir);

// The newest backup of that kind and device in dir; "" when there is none.
std::string newestBackup(const std::string &dir, FileKind kind, const std::string &device);
