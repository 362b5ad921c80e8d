// Backups of what the PBX gave: every completed read of the configuration, the
// speed dial and the subscriber data is kept as a file of its kind, named by
// kind, device, date and time, the newest few of each kind and no more.
#pragma once

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

enum class BackupKind { Configuration, SpeedDial, Subscribers };

// $XDG_DATA_HOME/kelvora/backups, else ~/.local/share/kelvora/backups; "" when
// neither variable is set.
std::string defaultBackupDirectory();

// "konfiguration-ttyS0-20261209-153000.cfg": the device's last path component,
// anything but letters, digits, '.', '_' and '-' made '_'.
std::string backupFileName(BackupKind kind, const std::string &device, std::time_t when);

struct BackupResult {
    bool written = false;
    std::string path;  // of the new backup
    std::string error; // why none was written (the system's text)
};

// Writes a backup through write() (the file's whole contents, as a save
// writes them) into dir, made when missing, then removes all but the newest
// keep backups of that kind.  keep 0 writes nothing.
BackupResult writeBackup(const std::string &dir, BackupKind kind, const std::string &device, int keep,
                         const std::function<bool(FILE *)> &write, std::time_t when = std::time(nullptr));

// The newest backup of that kind and device in dir; "" when there is none.
std::string newestBackup(const std::string &dir, BackupKind kind, const std::string &device);
