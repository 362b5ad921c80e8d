#include "basic/msns.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <cstdio>
#include <cstring>

namespace {

int (*portOfParent)() = [] { return 0; };
Widget zuord;
int lastchosen; // the MSN whose assignment "MSN-Zuordnung" shows

// msn0..msn9 as the field descriptions bind them, on the chosen port's block.
RecordDialog msns{"msns_dlg", {}, [] { return portBlock(portOfParent()) + rec::MsnInBlock; }};

unsigned char *msnSlot(int p, int k) { return recAt(portBlock(p) + rec::MsnInBlock + rec::MsnSize * std::size_t(k)); }
unsigned char *zuordEntry(int p, int k)
{
    return recAt(portBlock(p) + rec::MsnZuordInBlock + rec::MsnZuordSize * std::size_t(k));
}

int validMsn(int k) { return k >= 0 && k < int(rec::MsnCount) ? k : 0; }

} // namespace

void buildMsnDialogs(Widget parent, int (*chosenPort)())
{
    portOfParent = chosenPort;
    buildDialogOnce(zuord, parent, "zuord_dlg");
    buildRecordDialog(msns, parent);
}

void senseMsnAssignment() { senseSubscriberGroups(zuord, "*app"); }

// Bits 30-31 belong to no subscriber and are written as 0.
std::uint32_t getTlnZuordnung(unsigned char *entry)
{
    std::uint32_t z = readSubscriberMask(zuord, "*app");
    putLe32(entry, z);
    return z;
}

// An insensitive bus shows no terminals, so leaving the entry clears them.
void setTlnZuordnung(std::uint32_t z)
{
    if (!getChooserSense(zuord, "*app1"))
        z &= ~(0x3FFu << 10);
    if (!getChooserSense(zuord, "*app2"))
        z &= ~(0x3FFu << 20);
    showSubscriberMask(zuord, "*app", z);
}

void doMsns(Widget w, XtPointer, XtPointer)
{
    runRecordDialog(msns, w);
}

void doZuord(Widget, XtPointer, XtPointer)
{
    int p = portOfParent();
    for (int k = 0; k < int(rec::MsnCount); k++) {
        const unsigned char *slot = msnSlot(p, k);
        setChooserItemSensitive(zuord, "*msn", k, slot[0] != 0);
        if (slot[0]) {
            // A slot read from the PBX need not be terminated.
            char digits[rec::MsnSize + 1] = {};
            std::memcpy(digits, slot, rec::MsnSize);
            char item[16];
            std::snprintf(item, sizeof item, "*msn.item%d", k);
            set_labelname(zuord, item, digits);
        }
    }
    labelSubscriberItems(zuord, "*app");

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
    int p = portOfParent();
    getTlnZuordnung(zuordEntry(p, validMsn(lastchosen)));
    lastchosen = validMsn(cbs->state);
    setTlnZuordnung(getLe32(zuordEntry(p, lastchosen)));
}
