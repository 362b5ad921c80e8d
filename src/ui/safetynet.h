// The window's safety net: a backup of every completed read, and the way to
// the backups from the load dialogs.  Resources Kelvora.backupDirectory (default
// $XDG_DATA_HOME/kelvora/backups), Kelvora.backupKeep (DefaultBackupKeep; 0 turns
// backups off) and Kelvora.confirmProgramming (True: programming shows what
// changes).
#pragma once

#include "config/backups.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <X11/Intrinsic.h>

struct SafetySettings {
    std::string backupDirectory;
    int backupKeep = DefaultBackupKeep;
    bool confirmProgramming = true;
};

// Read from the resources on the first call.
const SafetySettings &safetySettings();
// Test-only (and for the benchmarks): settings instead of the resources.
void setSafetySettings(const SafetySettings &settings);

// The configuration's, speed dial's and subscriber data's load dialogs get a
// button "Sicherungen" that shows the backup directory.
void offerBackupsInLoadDialogs();

// Before programming a part: true when the transfer may go.  The question
// itself is the application's (app/preview.h); without one, nothing is asked.
using ProgrammingQuestion = bool (*)(Widget parent, FileKind kind);
void setProgrammingQuestion(ProgrammingQuestion ask);
bool confirmProgramming(Widget parent, FileKind kind);

// What the PBX holds of a part as far as this session knows: set after a read
// or programming that went through; nullptr before.
void rememberPbxHolds(FileKind kind);
const std::vector<unsigned char> *pbxHolds(FileKind kind);
void forgetPbxHolds();

// Writes the backup of a read that went through, with write() as a save
// writes the file.  One that cannot be written fails nothing: the main
// window's message line says so.
void keepBackup(FileKind kind, const std::function<bool(FILE *)> &write);
