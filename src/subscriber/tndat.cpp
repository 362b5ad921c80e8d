#include "subscriber/tndat.h"

#include "config/record.h"
#include "config/tlntransfer.h"
#include "fields/fields.h"
#include "subscriber/tndfile.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/transferwindow.h"

#include <Xm/List.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t TargetDigits = rec::TlnTargetSize - 1;

Widget userdlg = nullptr;
int lastTln = 0;
// The subscriber of each list position: the S0 groups are there only for an
// internal bus, so positions 10-19 can be subscribers 20-29.
int listTln[rec::TlnCount];
int listCount = 0;
// The forwarding targets as the fields showed them: a target whose field was
// not edited keeps its bytes.
std::string shownBusy, shownTarget;

// The function check boxes, as the field descriptions bind them.
std::span<const Binding> tlnBindings() { return describedTable("tndat_dlg"); }

// The widgets that are usable only while subscriber data are present.
const char *const editingWidgets[] = {"*whichone", "*settings1", "*settings2", "*weckz", "*nbb", "*numl",
                                      "*nnz",      "*rufz",      "*save",      "*load",  "*write"};

unsigned char *tlnRecord(int i) { return recAt(rec::TlnData + rec::TlnDataSize * std::size_t(i)); }

bool dataPresent() { return recInt(rec::TlnPresent) != 0; }

std::string recordText(const unsigned char *p)
{
    const char *text = reinterpret_cast<const char *>(p);
    return std::string(text, strnlen(text, rec::TlnTargetSize));
}

std::string fieldText(const char *name)
{
    const char *text = GetField(userdlg, name);
    return text ? text : "";
}

// A field's text into a 25-byte target, unless it is what the field was shown with.
void storeTarget(unsigned char *p, const std::string &text, const std::string &shown)
{
    if (text == shown)
        return;
    std::size_t n = std::min(text.size(), TargetDigits);
    std::memcpy(p, text.data(), n);
    p[n] = 0;
}

void senseEditing(int sensitive)
{
    for (const char *name : editingWidgets)
        set_active(userdlg, name, sensitive);
}

void addEntry(Widget list, int i)
{
    const char *num = getAppNumStr(i);
    char entry[32];
    // A slot without its zero byte must not run into the next one.
    std::snprintf(entry, sizeof entry, "%s (%.*s)", getAppName(i), int(rec::IntNumSize), num ? num : "");
    XmString s = XmtCreateXmString(entry);
    XmListAddItemUnselected(list, s, 0);
    XmStringFree(s);
    listTln[listCount++] = i;
}

void addAB(Widget list)
{
    for (int i = 0; i < 10; i++)
        addEntry(list, i);
}

void addS0(Widget list, int group)
{
    for (int i = 0; i < 10; i++)
        addEntry(list, 10 + 10 * group + i);
}

void rebuildList(bool port1, bool port2)
{
    Widget list = XmtNameToWidget(userdlg, "*whichone.listSW.list");
    if (!list)
        endForMissingResources("tndat_dlg has no list", "*whichone.listSW.list");
    XmListDeleteAllItems(list);
    listCount = 0;
    addAB(list);
    if (port1)
        addS0(list, 0);
    if (port2)
        addS0(list, 1);
}

// The fields into subscriber lastTln's record.
void storeUser()
{
    unsigned char *r = tlnRecord(lastTln);
    storeBindings(userdlg, tlnBindings(), r);
    // "----" stands for no wake-up time, which cannot be given one here.
    if (getLe16(r + rec::TlnWake) != NoTimeOfDay) {
        unsigned value = 0;
        if (std::sscanf(fieldText("*weckz").c_str(), "%4X", &value) == 1)
            putLe16(r + rec::TlnWake, static_cast<std::uint16_t>(value));
    }
    r[rec::TlnRingTime] = static_cast<unsigned char>(GetNumField(userdlg, "*rufz", -1));
    // The ring time decides which field holds the target.
    storeTarget(r + rec::TlnTarget, fieldText(r[rec::TlnRingTime] ? "*nnz" : "*numl"), shownTarget);
    storeTarget(r + rec::TlnBusyTarget, fieldText("*nbb"), shownBusy);
}

Widget dialogOf(Widget w)
{
    while (w && !XtIsShell(w))
        w = XtParent(w);
    return w;
}

const char *enteredText(XtPointer call)
{
    auto *cbs = static_cast<XmtInputFieldCallbackStruct *>(call);
    return cbs && cbs->input ? cbs->input : "";
}

} // namespace

void doUser(int i)
{
    unsigned char *r = tlnRecord(i);
    char text[16];
    std::uint16_t wake = getLe16(r + rec::TlnWake);
    if (wake == NoTimeOfDay)
        std::snprintf(text, sizeof text, "----");
    else
        std::snprintf(text, sizeof text, "%04X", unsigned(wake));
    SetField(userdlg, "*weckz", text);
    SetField(userdlg, "*nbb", recordText(r + rec::TlnBusyTarget).c_str());
    std::string target = recordText(r + rec::TlnTarget);
    int ring = r[rec::TlnRingTime];
    if (ring == 0) {
        SetField(userdlg, "*numl", target.c_str());
        SetField(userdlg, "*nnz", "");
        SetField(userdlg, "*rufz", "");
    } else {
        SetField(userdlg, "*nnz", target.c_str());
        SetField(userdlg, "*numl", "");
        // Shown whatever the target holds, so that storing it keeps it.
        SetNumField(userdlg, "*rufz", -1, ring);
    }
    fillBindings(userdlg, tlnBindings(), r);
    shownBusy = fieldText("*nbb");
    shownTarget = fieldText(ring ? "*nnz" : "*numl");
    lastTln = i;
}

void getNsetUser(int j)
{
    storeUser();
    doUser(j);
}

void activateTndButtons()
{
    senseEditing(dataPresent());
    setChooserState(userdlg, "*whichone", 0);
}

void displayUserFkt(Widget parent)
{
    bool port1 = hasPort(parent, 1), port2 = hasPort(parent, 2);
    buildDialogOnce(userdlg, parent, "tndat_dlg");
    rebuildList(port1, port2);
    senseEditing(dataPresent());
    lastTln = 0;
    doUser(0);
    if (!XmtDialogRun(userdlg))
        return;
    // "OK" keeps what the fields of the subscriber shown say.
    if (dataPresent())
        storeUser();
    incRecInt(rec::TlnChanges);
}

void selectTDat(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    if (!cbs || cbs->state < 0 || cbs->state >= listCount)
        return;
    getNsetUser(listTln[cbs->state]);
}

void readTlnDat(Widget, XtPointer, XtPointer)
{
    WindowObserver observer(userdlg);
    readTlnConfiguration(observer, all);
    if (!dataPresent())
        return;
    activateTndButtons();
    lastTln = 0;
    doUser(0);
}

void writeTlnDat(Widget, XtPointer, XtPointer)
{
    getNsetUser(lastTln);
    if (dataPresent()) {
        WindowObserver observer(userdlg);
        writeTlnConfiguration(observer, all);
    }
}

void saveTlnDat(Widget, XtPointer, XtPointer)
{
    getNsetUser(lastTln);
    saveTlnFile(userdlg);
}

void loadTlnDat(Widget, XtPointer, XtPointer)
{
    if (!loadTlnFile(userdlg))
        return;
    activateTndButtons();
    lastTln = 0;
    doUser(0);
}

void Check_NUML(Widget w, XtPointer, XtPointer call)
{
    if (!*enteredText(call))
        return;
    Widget dialog = dialogOf(w);
    SetField(dialog, "*nnz", "");
    SetField(dialog, "*rufz", "");
}

void Check_NNZ(Widget w, XtPointer, XtPointer call)
{
    if (!*enteredText(call))
        return;
    Widget dialog = dialogOf(w);
    SetField(dialog, "*numl", "");
    const char *ring = GetField(dialog, "*rufz");
    if (ring && !*ring)
        SetNumField(dialog, "*rufz", -1, recAt(rec::RwsTime)[0]);
}

void doSetupUser()
{
    XmtRegisterProcedures({
        {"selectTDat", selectTDat},
        {"writeTlnDat", writeTlnDat},
        {"readTlnDat", readTlnDat},
        {"loadTlnDat", loadTlnDat},
        {"saveTlnDat", saveTlnDat},
        {"Check_NNZ", Check_NNZ},
        {"Check_NUML", Check_NUML},
    });
    std::snprintf(recText(rec::TlnFilePath), rec::PathSize, "%s/%s", DefaultFilesDir, "standard.tnd");
    std::snprintf(tlndirname, sizeof tlndirname, "%s", DefaultFilesDir);
}
