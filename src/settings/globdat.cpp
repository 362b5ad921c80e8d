#include "settings/globdat.h"

#include "fields/fields.h"
#include "ui/bind.h"

namespace {

// All in the PBX-wide data list but the forwarding delay and automatic trunk
// seizure, which travel in the call-distribution list: the field descriptions
// say which widget shows which byte.
RecordDialog globdatdlg{"globdat_dlg", {}, [] { return dialogBlock("globdat_dlg"); }};

} // namespace

void displayGlobDat(Widget parent) { runRecordDialog(globdatdlg, parent); }
