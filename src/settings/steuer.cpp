#include "settings/steuer.h"

#include "fields/fields.h"
#include "ui/bind.h"

namespace {

// Its widgets, their bytes and what they take are the field descriptions'.
RecordDialog steuerdlg{"steuer_dlg", {}, [] { return dialogBlock("steuer_dlg"); }};

} // namespace

void displaySteuer(Widget parent) { runRecordDialog(steuerdlg, parent); }
