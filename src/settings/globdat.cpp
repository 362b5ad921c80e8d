#include "settings/globdat.h"

#include "config/record.h"
#include "ui/bind.h"

namespace {

// All in the PBX-wide data list but the forwarding delay and automatic trunk
// seizure, which travel in the call-distribution list.
constexpr std::size_t Anl = rec::AnlDatList;
constexpr std::size_t RufVert = rec::RufVertList;
constexpr Binding glob_resources[] = {
    {"uus", Codec::Text, Anl + 0, 33},
    {"code", Codec::Text, Anl + 33, 7},
    {"lkz", Codec::Text, Anl + 40, 7},
    {"okz", Codec::Text, Anl + 47, 6},
    {"hot", Codec::Text, Anl + 53, 25},
    {"*moh", Codec::ChooserByte, Anl + 78},
    // Four options in bits 0-3.  Bits 4-7 are the PBX's own: the check box
    // carries them through, so that "OK" never changes what it cannot show.
    {"*amtamt", Codec::ChooserBits, Anl + 79},
    {"*autamt", Codec::ChooserByte, RufVert + 49},
    {"*ava", Codec::ChooserByte, Anl + 111},
    {"*rwst", Codec::Dec8, RufVert + 48},
};

RecordDialog globdatdlg{"globdat_dlg", glob_resources, [] { return std::size_t(0); }};

} // namespace

void displayGlobDat(Widget parent) { runRecordDialog(globdatdlg, parent); }
