// Reading the whole configuration from the PBX and programming it back.  Both
// tell the observer how far they got and how they ended, and return it; the
// main window is the application's business.
#pragma once

#include "link/transfer.h"

extern char anl_vers[256]; // the PBX's ROM version text, from the last complete read

// Reads the thirteen lists into the record and the ROM version into anl_vers.
// Clears the configuration-valid flag once the port is open; sets it when done.
TransferResult readConfiguration(TransferObserver &observer, unsigned char *record);
// Programs the twelve lists; clears the unused port blocks and the
// configuration-valid flag once the port is open, and sets the flag when done;
// a run that fails puts the flag and the change counter back.
TransferResult writeConfiguration(TransferObserver &observer, unsigned char *record);

// Clears the port blocks that the PBX type does not have (type byte 0 or 1);
// they are sent as zeros and stay zero.
void clearUnusedPorts(unsigned char *record);
