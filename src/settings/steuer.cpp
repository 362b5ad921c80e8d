#include "settings/steuer.h"

#include "config/record.h"
#include "ui/bind.h"

namespace {

constexpr Binding steuer_resources[] = {
    {"utou", Codec::Text, 86, 33},
    {"rnr1", Codec::Text, 11, 25},
    {"rnr2", Codec::Text, 36, 25},
    {"rnr3", Codec::Text, 61, 25},
    {"*start", Codec::HexTime16, 0},
    {"*end", Codec::HexTime16, 2},
    {"*ask1", Codec::Dec16, 4},
    {"*ask2", Codec::Dec16, 6},
    {"*akt1", Codec::ChooserByte, 8},
    {"*akt2", Codec::ChooserByte, 9},
    {"*auto", Codec::ChooserBits, 10},
};

// The current PBX's control-contact block.
RecordDialog steuerdlg{"steuer_dlg", steuer_resources,
                       [] { return rec::StKonList + rec::StKonShare * std::size_t(curPbx()); }};

} // namespace

void displaySteuer(Widget parent) { runRecordDialog(steuerdlg, parent); }
