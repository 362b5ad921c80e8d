#include "settings/gebdat.h"

#include "charges/gebzahl.h"
#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <cstdio>
#include <string>

namespace {

// The five subscriber words, the rates and the output and pulse menus lie and
// are coded where and as the field rows say.
constexpr int Functions = 5;
constexpr int NumberRecording = 2; // "Nummernerfassung", shown on opening
constexpr int ShortNumbers = 3;    // "Gekürzte Nummern": only where numbers are recorded

std::size_t gebShare() { return dialogBlock("gebdat_dlg"); }

const Field &row(const std::string &name) { return fieldNamed(FileKind::Configuration, name); }
unsigned char &byteOf(const Field &f) { return *recAt(gebShare() + offsetInBlock(f)); }
unsigned char *word(int k) { return &byteOf(row("gebdat." + std::to_string(k))); }
unsigned char &rate(int i) { return byteOf(row("loccharge." + std::to_string(i))); }

std::uint32_t geb[Functions]; // working copy while the dialog is open
FunctionMasks charges{"*geb", geb};

// "*base" and "*zlanz" are bound as the field descriptions say.
RecordDialog gebdatdlg{"gebdat_dlg", {}, gebShare};
// The rates are not a table: the rows of absent ports are neither filled nor stored.
RecordDialog lcfdlg{"loccharge_dlg", {}, gebShare};

// Sensitivity of one subscriber item of the check boxes.
void setShortIfPrnOn(int group, int item, int on)
{
    char name[16];
    std::snprintf(name, sizeof name, "*geb%-d", group);
    setChooserItemSensitive(gebdatdlg.shell, name, item, on);
}

void senseItems(bool byRecording)
{
    for (int g = 0; g < 3; g++) {
        if (g > 0 && !hasPort(gebdatdlg.shell, g))
            continue;
        for (int item = 0; item < 10; item++)
            setShortIfPrnOn(g, item, byRecording ? int(geb[NumberRecording] >> (10 * g + item) & 1) : 1);
    }
}

// Subscriber items usable only where the working copy records numbers.
void checkShortPrnOn() { senseItems(true); }

// Every subscriber item usable (groups 1 and 2 only for internal buses).
void setAllOn() { senseItems(false); }

void showGebDat(Widget dialog)
{
    for (int k = 0; k < Functions; k++)
        geb[k] = getLe32(word(k));
    setItemLabels(dialog, "*geb", "Ruf #", 0, 0, 7);
    setChooserState(dialog, "*slct", NumberRecording);
    const Field &com = row("gebdat.com"), &calls = row("gebdat.calls"), &impuls = row("gebdat.impuls");
    setChooserState(dialog, "*com", choiceIndex(com, byteOf(com)));
    setChooserState(dialog, "*calls", int(boxesOf(calls, byteOf(calls))));
    setChooserState(dialog, "*impuls", choiceIndex(impuls, byteOf(impuls)));
    // A kept dialog may still show the sensitivity of "Gekürzte Nummern";
    // the function shown now restricts nothing.
    setAllOn();
    showFunctionMask(charges, dialog, NumberRecording);
    senseSubscriberGroups(dialog, "*geb");
    setChooserItemSensitive(dialog, "*slct", 0, false);
    setChooserItemSensitive(dialog, "*slct", 1, false);
}

void getNsetGeb() { keepFunctionMask(charges, gebdatdlg.shell); }

// The function chooser changed: keep the shown function's boxes, show the new one's.
void doGebDat(Widget, XtPointer, XtPointer call)
{
    if (!switchFunctionMask(charges, gebdatdlg.shell, call))
        return;
    if (charges.shown == ShortNumbers)
        checkShortPrnOn();
    else
        setAllOn();
}

void disableLCFnums()
{
    Widget dialog = lcfdlg.shell;
    for (int i = 0; i < 10; i++)
        SetNumField(dialog, "*lcf", i, rate(i));
    for (int g = 1; g <= 2; g++)
        if (hasPort(dialog, g))
            for (int i = 10 * g; i < 10 * g + 10; i++)
                SetNumField(dialog, "*lcf", i, rate(i));
    senseSubscriberRows(dialog, "*lcf");
    setItemCaptions(dialog, "*lcf", "Ruf #", 0, 29);
}

void readLCFnums()
{
    Widget dialog = lcfdlg.shell;
    for (int i = 0; i < 30; i++)
        if (i < 10 || hasPort(dialog, i / 10))
            rate(i) = static_cast<unsigned char>(GetNumField(dialog, "*lcf", i));
}

// "Gebührenstand" and "Interne Verrechnung" open their dialogs over this one.
void doGebStand(Widget, XtPointer, XtPointer) { doGebZaehler(gebdatdlg.shell); }

void doGebLCF(Widget, XtPointer, XtPointer) { doDisplayLCF(gebdatdlg.shell); }

} // namespace

void displayGebDat(Widget parent)
{
    if (!runRecordDialog(gebdatdlg, parent, showGebDat))
        return;
    getNsetGeb();
    for (int k = 0; k < Functions; k++)
        putLe32(word(k), geb[k]);
    int comState = 0, callsState = 0, impulsState = 0;
    getChooserState(gebdatdlg.shell, "*com", &comState);
    getChooserState(gebdatdlg.shell, "*calls", &callsState);
    getChooserState(gebdatdlg.shell, "*impuls", &impulsState);
    // The bits no chooser shows go back as they came, and so does a menu
    // that showed nothing: an unedited "OK" changes no byte.
    const Field &com = row("gebdat.com"), &calls = row("gebdat.calls"), &impuls = row("gebdat.impuls");
    byteOf(calls) = withBoxes(calls, byteOf(calls), unsigned(callsState));
    byteOf(com) = withChoice(com, byteOf(com), comState);
    byteOf(impuls) = withChoice(impuls, byteOf(impuls), impulsState);
}

void doDisplayLCF(Widget parent)
{
    if (runRecordDialog(lcfdlg, parent, [](Widget) { disableLCFnums(); }))
        readLCFnums();
}

void doSetupGebDat()
{
    XmtRegisterProcedures({{"doGebDat", doGebDat}, {"doGebLCF", doGebLCF}, {"doGebStand", doGebStand}});
}
