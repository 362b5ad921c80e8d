// Before programming: what will change in the PBX, against what it last gave
// (the last read or programming in this session, else the newest backup of
// the device), one line per field in the dialogs' own words; "Programmieren"
// or "Abbrechen", which is the default.  Kelvora.confirmProgramming: False
// programs without asking.
#pragma once

#include "fields/fields.h"

#include <X11/Intrinsic.h>

// True when the user wants the transfer to go (or is not asked).
bool confirmProgramming(Widget parent, FileKind kind);

// After a read or programming that went through: the PBX holds the record's
// part of that kind now.
void rememberPbxHolds(FileKind kind);
// Forgets what the PBX held (for tests: a fresh start).
void forgetPbxHolds();
