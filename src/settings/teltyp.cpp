#include "settings/teltyp.h"

#include "config/record.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

// One type byte per analogue port at the end of the permission block (the
// field descriptions'); the door station (5) is offered on the first port only.
RecordDialog teltypdlg{"teltyp_dlg", {}, berShare};

} // namespace

void displayTeleTyp(Widget parent)
{
    runRecordDialog(teltypdlg, parent, [](Widget dialog) { captionSubscriberFields(dialog, "*tln", 7); });
}
