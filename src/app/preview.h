// Before programming: what will change in the PBX, against what it last gave
// (the last read or programming in this session, else the newest backup of
// the device), one line per field in the dialogs' own words; "Programmieren"
// or "Abbrechen", which is the default.  Installed as the safety net's
// programming question at start-up.
#pragma once

#include "config/backups.h"

#include <X11/Intrinsic.h>

bool askBeforeProgramming(Widget parent, FileKind kind);
