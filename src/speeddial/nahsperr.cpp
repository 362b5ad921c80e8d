#include "speeddial/nahsperr.h"

#include "config/record.h"
#include "fields/fields.h"
#include "ui/access.h"
#include "ui/bind.h"

namespace {

// num0..num19 over the 6-byte slots of one table, as the field descriptions
// bind them.  "OK" counts a speed-dial change, changed or not.
RecordDialog nahberdlg{"nahber_dlg", {}, [] { return dialogBlock("nahber_dlg"); }, nullptr, rec::KwzChanges};
RecordDialog sperrdlg{"sperrber_dlg", {}, [] { return dialogBlock("sperrber_dlg"); }, nullptr, rec::KwzChanges};

} // namespace

void doDisplayNahBer(Widget parent)
{
    runRecordDialog(nahberdlg, parent, [](Widget dialog) { setInitial(dialog, "*num0"); });
}

void doDisplaySperrBer(Widget parent) { runRecordDialog(sperrdlg, parent); }
