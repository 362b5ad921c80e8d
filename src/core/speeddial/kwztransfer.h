// Reading and programming the speed-dial numbers and both prefix lists.  The
// speed-dial area is not part of the configuration: these transfers leave the
// configuration-valid flag alone.
#pragma once

#include "link/transfer.h"

// Reads the 25 number blocks and the two prefix lists into the record; when it
// ran through, marks the directory read ("KwDaten", counters).  Names stay.
TransferResult readSpeedDial(TransferObserver &observer, unsigned char *record);
// Programs the numbers and both prefix lists; nothing (NoPort) while no
// directory was read or loaded.
TransferResult writeSpeedDial(TransferObserver &observer, unsigned char *record);
