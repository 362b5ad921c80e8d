#include "basic/anltyp.h"

#include "basic/msns.h"
#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"

namespace {

Widget anltyp;

// The menus' items: the bus and connection bits of a port's mode byte are
// coded as the field rows say (one port's rows serve all three).
constexpr int BusExtern = 1;
constexpr int ConnMehrgeraet = 0;
constexpr int ConnAnlage = 1;
// Set in a port's mode byte once its bus is chosen.
constexpr unsigned char ConfiguredBit = 0x02;

const Field &busField() { return fieldNamed(FileKind::Configuration, "port1.bus"); }
const Field &connField() { return fieldNamed(FileKind::Configuration, "port1.anschl"); }

unsigned char &typeByte() { return *recAt(portArea() + rec::TypeByte); }
unsigned char &modeByte(int p) { return *recAt(portBlock(p)); }

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
    int bus = choiceIndex(busField(), modeByte(p));
    int conn = choiceIndex(connField(), modeByte(p));
    setChooserState(anltyp, "*s0bus", bus);
    setChooserState(anltyp, "*anschl", conn == ConnMehrgeraet ? ConnMehrgeraet : ConnAnlage);

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
    // An unconfigured bus clears the whole byte.  An insensitive
    // "Anschlußart" still supplies the value it shows.
    unsigned char mode = withChoice(busField(), 0, bus < 0 || bus > 3 ? 0 : bus);
    if (mode != 0)
        mode = withChoice(connField(), mode | ConfiguredBit, conn == ConnMehrgeraet ? ConnMehrgeraet : ConnAnlage);
    modeByte(p) = mode;
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
