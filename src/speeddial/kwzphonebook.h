// The speed-dial dialog's address-book buttons: "Importieren..." takes names
// and numbers from a CSV or vCard file into the directory, "Exportieren..."
// writes the directory as one.
#pragma once

#include <X11/Intrinsic.h>
#include <string>

// Asks for the file, imports it (asking before occupied entries are replaced)
// and shows the summary; true when the directory changed, which counts as one
// change.
bool importSpeedDial(Widget parent);
// Asks for the file and writes every occupied entry: vCard for a name ending
// in ".vcf", else CSV.
bool exportSpeedDial(Widget parent);

// The country code that an import writes as "0": "Landesvorw." of a
// configuration read or loaded, else 49.
std::string ownCountryCode();
