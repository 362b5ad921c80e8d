#include "speeddial/nahsperr.h"

#include "config/record.h"
#include "ui/access.h"
#include "ui/bind.h"

#include <array>

namespace {

// num0..num19 over the 6-byte slots of one table; both dialogs run on the
// start of the local-area table, so the blocked one begins 120 bytes further.
constexpr std::array<Binding, rec::PrefixCount> prefixBindings(std::size_t table)
{
    constexpr const char *names[rec::PrefixCount] = {"num0",  "num1",  "num2",  "num3",  "num4",
                                                     "num5",  "num6",  "num7",  "num8",  "num9",
                                                     "num10", "num11", "num12", "num13", "num14",
                                                     "num15", "num16", "num17", "num18", "num19"};
    std::array<Binding, rec::PrefixCount> bindings{};
    for (int k = 0; k < rec::PrefixCount; ++k)
        bindings[std::size_t(k)] = {names[k], Codec::Text, table + rec::PrefixSlotSize * std::size_t(k),
                                    rec::PrefixSlotSize};
    return bindings;
}
constexpr auto nah_resources = prefixBindings(0);
constexpr auto sperr_resources = prefixBindings(rec::SperrBerList - rec::NahBerList);

std::size_t prefixBase() { return rec::NahBerList; }

// "OK" counts a speed-dial change, changed or not.
RecordDialog nahberdlg{"nahber_dlg", nah_resources, prefixBase, nullptr, rec::KwzChanges};
RecordDialog sperrdlg{"sperrber_dlg", sperr_resources, prefixBase, nullptr, rec::KwzChanges};

} // namespace

void doDisplayNahBer(Widget parent)
{
    runRecordDialog(nahberdlg, parent, [](Widget dialog) { setInitial(dialog, "*num0"); });
}

void doDisplaySperrBer(Widget parent) { runRecordDialog(sperrdlg, parent); }
