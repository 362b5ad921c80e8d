#include "basic/msns.h"

#include "basic/anltyp.h"
#include "config/record.h"
#include "shell/access.h"
#include "toolkit/toolkit.h"

#include <cstdio>
#include <cstring>

char portmsns[MsnBufSize];

#define MSN_RESOURCE(k) \
    { (String) "msn" #k, (String) "msn" #k, (String) "Buffer", rec::MsnSize, rec::MsnSize * (k), nullptr, nullptr }
XtResource msn_resources[10] = {
    MSN_RESOURCE(0), MSN_RESOURCE(1), MSN_RESOURCE(2), MSN_RESOURCE(3), MSN_RESOURCE(4),
    MSN_RESOURCE(5), MSN_RESOURCE(6), MSN_RESOURCE(7), MSN_RESOURCE(8), MSN_RESOURCE(9),
};
#undef MSN_RESOURCE

static_assert(MsnBufSize == rec::MsnCount * rec::MsnSize);

namespace {

constexpr std::uint32_t GroupMask = 0x3FF; // ten subscribers per chooser
constexpr int Group1Shift = 10;
constexpr int Group2Shift = 20;

unsigned char *msnSlot(int p, int k) { return recAt(portBlock(p) + rec::MsnInBlock + rec::MsnSize * std::size_t(k)); }
unsigned char *zuordEntry(int p, int k)
{
    return recAt(portBlock(p) + rec::MsnZuordInBlock + rec::MsnZuordSize * std::size_t(k));
}

int validMsn(int k) { return k >= 0 && k < int(rec::MsnCount) ? k : 0; }

} // namespace

std::uint32_t getTlnZuordnung(unsigned char *entry)
{
    int s0 = 0, s1 = 0, s2 = 0;
    getChooserState(zuord, "*app0", &s0);
    getChooserState(zuord, "*app1", &s1);
    getChooserState(zuord, "*app2", &s2);
    std::uint32_t z = (std::uint32_t(s0) & GroupMask) | (std::uint32_t(s1) & GroupMask) << Group1Shift |
                      (std::uint32_t(s2) & GroupMask) << Group2Shift;
    putLe32(entry, z);
    return z;
}

// An insensitive bus shows no terminals, so leaving the entry clears them.
void setTlnZuordnung(std::uint32_t z)
{
    setChooserState(zuord, "*app0", int(z & GroupMask));
    setChooserState(zuord, "*app1", getChooserSense(zuord, "*app1") ? int(z >> Group1Shift & GroupMask) : 0);
    setChooserState(zuord, "*app2", getChooserSense(zuord, "*app2") ? int(z >> Group2Shift & GroupMask) : 0);
}

void doMsns(Widget, XtPointer, XtPointer)
{
    int p = chosenPort();
    unsigned char *slots = msnSlot(p, 0);
    std::memcpy(portmsns, slots, MsnBufSize);
    if (XmtDialogDo(msns, portmsns)) {
        std::memcpy(slots, portmsns, MsnBufSize);
        incRecInt(rec::CfgChanges);
    }
}

void doZuord(Widget, XtPointer, XtPointer)
{
    int p = chosenPort();
    for (int k = 0; k < int(rec::MsnCount); k++) {
        const unsigned char *slot = msnSlot(p, k);
        char item[16];
        std::snprintf(item, sizeof item, "*msn.item%d", k);
        disableChooserItem(zuord, "*msn", k, slot[0] != 0);
        if (slot[0]) {
            // A slot read from the PBX need not be terminated.
            char digits[rec::MsnSize + 1] = {};
            std::memcpy(digits, slot, rec::MsnSize);
            set_labelname(zuord, item, digits);
        }
    }
    setItemLabels(zuord, "*app", "Ruf #", 0, 0, 7);
    if (hasPort(zuord, 1))
        setItemLabels(zuord, "*app", "Ruf #", 1, 0, 9);
    if (hasPort(zuord, 2))
        setItemLabels(zuord, "*app", "Ruf #", 2, 0, 9);

    getChooserState(zuord, "*msn", &lastchosen);
    lastchosen = validMsn(lastchosen);
    setTlnZuordnung(getLe32(zuordEntry(p, lastchosen)));
    XmtDialogRun(zuord);
    getTlnZuordnung(zuordEntry(p, lastchosen));
    lastchosen = 0;
    setChooserState(zuord, "*msn", 0);
    incRecInt(rec::CfgChanges);
}

// The entry shown so far is written back before the chosen one is shown.
void doMSNZuord(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs)
        return;
    int p = chosenPort();
    getTlnZuordnung(zuordEntry(p, validMsn(lastchosen)));
    lastchosen = validMsn(cbs->state);
    setTlnZuordnung(getLe32(zuordEntry(p, lastchosen)));
}
