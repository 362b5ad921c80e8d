#include "settings/amtsperm.h"

#include "config/record.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <array>

namespace {

// Subscriber k's level (0 "Nur intern" .. 5 "Unbeschränkt") at block byte 12 + k.
constexpr std::array<Binding, 30> makeAmtsResources()
{
    constexpr const char *names[30] = {
        "*tele0",  "*tele1",  "*tele2",  "*tele3",  "*tele4",  "*tele5",  "*tele6",  "*tele7",
        "*tele8",  "*tele9",  "*tele10", "*tele11", "*tele12", "*tele13", "*tele14", "*tele15",
        "*tele16", "*tele17", "*tele18", "*tele19", "*tele20", "*tele21", "*tele22", "*tele23",
        "*tele24", "*tele25", "*tele26", "*tele27", "*tele28", "*tele29",
    };
    std::array<Binding, 30> table{};
    for (std::size_t k = 0; k < 30; k++)
        table[k] = {names[k], Codec::ChooserByte, 12 + k};
    return table;
}
constexpr auto amts_resources = makeAmtsResources();

RecordDialog amtspermdlg{"amtsperm_dlg", amts_resources, berShare};

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
