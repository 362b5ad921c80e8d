#include "basic/anltyp.h"

#include "basic/msns.h"
#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"

namespace {

Widget anltyp;

// Bus bits of the port mode byte, in the order of the "Busanschluß" items.
constexpr unsigned char BusBits[4] = {0x00, 0x80, 0x40, 0xC0};
constexpr unsigned char BusMask = 0xC0;
constexpr unsigned char BusExtern = 0x80;
constexpr unsigned char ConnMask = 0x30;
constexpr unsigned char ConnMehrgeraet = 0x10;
constexpr unsigned char ConnAnlage = 0x00;
constexpr unsigned char ConfiguredBit = 0x02;

unsigned char &typeByte() { return *recAt(portArea() + rec::TypeByte); }
unsigned char &modeByte(int p) { return *recAt(portBlock(p)); }

int busIndex(unsigned char bus)
{
    for (int i = 0; i < 4; i++)
        if (BusBits[i] == bus)
            return i;
    return 0;
}

} // namespace

int chosenPort()
{
    int p = 0;
    getChooserState(anltyp, "*port", &p);
    return p >= 0 && p <= 2 ? p : 0;
}

void doShowConf(Widget parent)
{
    buildDialogOnce(anltyp, parent, "anltyp_dlg");
    setChooserState(anltyp, "*typ", typeByte());
    displayAnlageTyp();
    // Every chooser has written the record already; OK only closes.
    XmtDialogRun(anltyp);
}

void doAnlTyp(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs || cbs->state < 0 || cbs->state > 2)
        return;
    typeByte() = static_cast<unsigned char>(cbs->state);
    displayAnlageTyp();
}

void displayAnlageTyp()
{
    buildMsnDialogs(anltyp, chosenPort);
    unsigned typ = typeByte();
    int port = 0;
    getChooserState(anltyp, "*port", &port);
    if (port < 0 || unsigned(port) > typ)
        setChooserState(anltyp, "*port", 0);

    // Only a single PBX is supported.
    setChooserItemSensitive(anltyp, "*art", 1, false);
    setChooserItemSensitive(anltyp, "*art", 2, false);

    setChooserItemSensitive(anltyp, "*port", 1, typ != 0);
    setChooserItemSensitive(anltyp, "*port", 2, typ > 1);
    displayPortMode();
}

// The first port always faces the exchange.
void checkPort(Widget, XtPointer, XtPointer)
{
    int first = chosenPort() == 0;
    setChooserItemSensitive(anltyp, "*s0bus", 0, !first);
    setChooserItemSensitive(anltyp, "*s0bus", 1, true);
    setChooserItemSensitive(anltyp, "*s0bus", 2, !first);
    setChooserItemSensitive(anltyp, "*s0bus", 3, !first);
}

void displayPortMode(Widget, XtPointer, XtPointer)
{
    checkPort();
    int p = chosenPort();
    unsigned char bus = modeByte(p) & BusMask;
    unsigned char conn = modeByte(p) & ConnMask;
    setChooserState(anltyp, "*s0bus", busIndex(bus));
    setChooserState(anltyp, "*anschl", conn == ConnMehrgeraet ? 0 : 1);

    bool ext = bus == BusExtern;
    set_active(anltyp, "*number", ext && conn == ConnAnlage);
    setChooserSensitive(anltyp, "*anschl", ext);
    set_active(anltyp, "*msns_b", ext && conn == ConnMehrgeraet);
    set_active(anltyp, "*zuord_b", ext && conn == ConnMehrgeraet);
    senseMsnAssignment();
}

void setPortMode(Widget, XtPointer, XtPointer)
{
    int p = chosenPort();
    int conn = 0;
    int bus = 0;
    getChooserState(anltyp, "*anschl", &conn);
    getChooserState(anltyp, "*s0bus", &bus);
    if (bus < 0 || bus > 3)
        bus = 0;
    unsigned char busBits = BusBits[bus];
    // An insensitive "Anschlußart" still supplies the value it shows.
    unsigned char connBits = conn == 0 ? ConnMehrgeraet : ConnAnlage;
    modeByte(p) = busBits == 0 ? 0 : static_cast<unsigned char>(connBits | ConfiguredBit | busBits);
    displayPortMode();
}

void doSetupConf()
{
    XmtRegisterProcedures({
        {"doZuord", doZuord},
        {"doMsns", doMsns},
        {"doAnlTyp", doAnlTyp},
        {"doMSNZuord", doMSNZuord},
        {"checkPort", checkPort},
        {"displayPortMode", displayPortMode},
        {"setPortMode", setPortMode},
    });
}
