// Reading the 30 subscriber records from the PBX and programming them back.
// Both clear the configuration-valid flag once the port is open and never set
// it again, except that a programming run that fails puts it back as it was;
// the main window is not touched.
#pragma once

#include "link/transfer.h"

// Reads the 30 records; the subscriber-data-present flag is set when all came.
TransferResult readTlnConfiguration(TransferObserver &observer, unsigned char *record);
// Programs the 30 records; clears the port blocks the PBX type does not have.
TransferResult writeTlnConfiguration(TransferObserver &observer, unsigned char *record);
