#include "settings/amtsperm.h"

#include "config/record.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

// Subscriber k's level (0 "Nur intern" .. 5 "Unbeschränkt") at block byte 12 + k,
// as the field descriptions bind it.
RecordDialog amtspermdlg{"amtsperm_dlg", {}, berShare};

// Menus of absent terminals are insensitive but keep and store their levels.
// The door intercoms go with port 1's internal bus.
void senseAmtsPerm(Widget dialog)
{
    captionSubscriberFields(dialog, "*tele");
    senseSubscriberRows(dialog, "*tele");
    set_activegrp(dialog, "*tele", 8, hasPort(dialog, 1));
    set_activegrp(dialog, "*tele", 9, hasPort(dialog, 1));
}

} // namespace

void displayAmtsPerm(Widget parent) { runRecordDialog(amtspermdlg, parent, senseAmtsPerm); }
