#include "settings/teltyp.h"

#include "config/record.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

namespace {

// One type byte per analogue port at the end of the permission block; the
// door station (5) is offered on the first port only.
constexpr Binding teltyp_resources[] = {
    {"*tln0", Codec::ChooserByte, 42}, {"*tln1", Codec::ChooserByte, 43}, {"*tln2", Codec::ChooserByte, 44},
    {"*tln3", Codec::ChooserByte, 45}, {"*tln4", Codec::ChooserByte, 46}, {"*tln5", Codec::ChooserByte, 47},
    {"*tln6", Codec::ChooserByte, 48}, {"*tln7", Codec::ChooserByte, 49},
};

RecordDialog teltypdlg{"teltyp_dlg", teltyp_resources, berShare};

} // namespace

void displayTeleTyp(Widget parent)
{
    runRecordDialog(teltypdlg, parent, [](Widget dialog) { captionSubscriberFields(dialog, "*tln", 7); });
}
