#include "speeddial/kwz.h"

#include "config/record.h"
#include "speeddial/kwzfile.h"
#include "speeddial/kwzformat.h"
#include "speeddial/kwzphonebook.h"
#include "speeddial/kwztransfer.h"
#include "speeddial/nahsperr.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/safetynet.h"
#include "ui/transferwindow.h"

#include <Xm/List.h>
#include <cstdio>
#include <cstring>

Widget kwzdlg = nullptr;

namespace {

// "%4d %-38.38s %-25.25s": code, name, number of entry i.
void formatLine(int i, char *line, int size)
{
    std::snprintf(line, std::size_t(size), "%4d %-38.38s %-25.25s", 100 + i, nameOf(i).c_str(), numberOf(i).c_str());
}

constexpr int EditNameSize = KwzNameMax + 1;
constexpr int EditNumberSize = KwzNumberMax + 1;

Widget editor = nullptr;
char edit_data[EditNameSize + EditNumberSize]; // name, then number
XtResource edit_resources[] = {
    {const_cast<char *>("name"), const_cast<char *>("name"), const_cast<char *>("Buffer"), EditNameSize, 0,
     nullptr, nullptr},
    {const_cast<char *>("number"), const_cast<char *>("number"), const_cast<char *>("Buffer"), EditNumberSize,
     EditNameSize, nullptr, nullptr},
};

// Usable only with a directory (present); "Sichern" also needs a loaded file and a change.
const char *const directoryButtons[] = {"*saveas",  "*savetxt", "*print",      "*progcfg",  "*delcfg",
                                        "*editcfg", "*movecfg", "*mergenames", "*importab", "*exportab"};

Widget theList() { return kwzdlg ? XmtNameToWidget(kwzdlg, "*ziele") : nullptr; }

// Lines are shown as they are: a name is no place for line breaks.
XmString lineString(int i)
{
    char line[80];
    formatLine(i, line, sizeof line);
    return XmtCreateXmString(line);
}

int getSelPos()
{
    Widget list = theList();
    int *positions = nullptr;
    int count = 0;
    if (!list || !XmListGetSelectedPos(list, &positions, &count))
        return 0;
    int position = count > 0 ? positions[0] : 0;
    XtFree(reinterpret_cast<char *>(positions));
    return position;
}

void replaceLine(int i, const char *name, const char *number)
{
    Widget list = theList();
    if (!list)
        return;
    putEntry(i, name, number);
    XmString item = lineString(i);
    XmListReplaceItemsPos(list, &item, 1, i + 1);
    XmStringFree(item);
}

void editLine(int i)
{
    if (!theList())
        return;
    std::memset(edit_data, 0, sizeof edit_data);
    std::string name = nameOf(i), number = numberOf(i);
    std::snprintf(edit_data, EditNameSize, "%s", name.c_str());
    std::snprintf(edit_data + EditNameSize, EditNumberSize, "%s", number.c_str());
    buildDialogOnce(editor, kwzdlg, "editentry_dlg", edit_resources, XtNumber(edit_resources));
    if (XmtDialogDo(editor, edit_data))
        replaceLine(i, edit_data, edit_data + EditNameSize);
    checkButtons();
}

void moveLine(int i)
{
    if (!theList())
        return;
    int code = 100 + i;
    if (!XmtAskForInteger(kwzdlg, "mover", "Neue Kurzwahl: (100-299)", &code, 100, 100 + rec::KwzCount - 1,
                          "No Help!")) {
        checkButtons();
        return;
    }
    int target = code - 100;
    if (target == i)
        return;
    // A number without a name is overwritten without asking.
    if (kwzName(target)[0] != '\0' &&
        !XmtAskIrreversible(kwzdlg, "overwrite", "Alten Eintrag ueberschreiben?", "No Help!")) {
        checkButtons();
        return;
    }
    std::string name = nameOf(i), number = numberOf(i);
    replaceLine(target, name.c_str(), number.c_str());
    replaceLine(i, "", "");
    checkButtons();
}

void editselct(Widget, XtPointer, XtPointer call)
{
    if (auto *cbs = static_cast<XmListCallbackStruct *>(call); cbs && cbs->item_position > 0)
        editLine(cbs->item_position - 1);
}

void get4edit(Widget, XtPointer, XtPointer)
{
    if (int position = getSelPos())
        editLine(position - 1);
}

void get4delete(Widget, XtPointer, XtPointer)
{
    if (int position = getSelPos()) {
        replaceLine(position - 1, "", "");
        checkButtons();
    }
}

void get4move(Widget, XtPointer, XtPointer)
{
    if (int position = getSelPos())
        moveLine(position - 1);
}

void loadFile(Widget, XtPointer, XtPointer) { loadNshowFile(kwzdlg, 1); }

void saveFile(Widget, XtPointer, XtPointer)
{
    saveKwzFile(kwzdlg);
    checkButtons();
}

void saveFileas(Widget, XtPointer, XtPointer)
{
    saveKwzFileAs(kwzdlg);
    checkButtons();
}

void saveText(Widget, XtPointer, XtPointer)
{
    saveKwzText(kwzdlg);
    checkButtons();
}

void printText(Widget, XtPointer, XtPointer)
{
    printKwzText(kwzdlg);
    checkButtons();
}

void importFile(Widget, XtPointer, XtPointer)
{
    if (importSpeedDial(kwzdlg))
        showkwz();
}

void exportFile(Widget, XtPointer, XtPointer) { exportSpeedDial(kwzdlg); }

void mergeFile(Widget, XtPointer, XtPointer)
{
    if (mergeKwzNames(kwzdlg))
        showkwz();
}

// "OK".  Asks only when the directory differs from what was last read, loaded,
// saved or programmed.  "Ja" saves into the file it came from, else asks for
// one; a save that failed or was cancelled keeps the dialog and its edits.
void closekwz(Widget w, XtPointer, XtPointer)
{
    if (unsavedChanges(FileKind::SpeedDial) &&
        XmtDisplayWarningAndAsk(kwzdlg, "dosave", "Wollen Sie die Aenderungen sichern?", "Ja", "Nein", True,
                                "No Help!") &&
        !(kwzFromFile() ? saveKwzFile(kwzdlg) : saveKwzFileAs(kwzdlg))) {
        checkButtons();
        return;
    }
    XmtDialogOkayCallback(w, nullptr, nullptr);
}

void showNahBer(Widget, XtPointer, XtPointer) { doDisplayNahBer(kwzdlg); }
void showSperrBer(Widget, XtPointer, XtPointer) { doDisplaySperrBer(kwzdlg); }

} // namespace

void checkButtons()
{
    if (!kwzdlg)
        return;
    bool present = recInt(rec::KwzPresent) != 0;
    set_active(kwzdlg, "*save", recInt(rec::KwzChanges) != 0 && present && recInt(rec::KwzFileCount) != 0);
    for (const char *name : directoryButtons)
        set_active(kwzdlg, name, present);
    bool prefixes = recInt(rec::PrefixPresent) != 0;
    set_active(kwzdlg, "*nahber_b", prefixes);
    set_active(kwzdlg, "*sperrber_b", prefixes);
    XmUpdateDisplay(kwzdlg);
}

void showkwz()
{
    if (recInt(rec::KwzPresent) == 0 || !kwzdlg)
        return;
    Widget list = theList();
    if (!list)
        endForMissingResources("kwz_dlg has no list", "ziele");
    XmListDeleteAllItems(list);
    XmString items[rec::KwzCount];
    for (int i = 0; i < rec::KwzCount; ++i)
        items[i] = lineString(i);
    XmListAddItems(list, items, rec::KwzCount, 0);
    for (XmString item : items)
        XmStringFree(item);
    checkButtons();
}

bool loadNshowFile(Widget parent, int show)
{
    bool loaded = loadKwzFile(parent);
    if (loaded && show)
        showkwz();
    return loaded;
}

void doKurzwahlen(Widget parent)
{
    buildDialogOnce(kwzdlg, parent, "kwz_dlg");
    checkButtons();
    XmtDialogRun(kwzdlg);
}

TransferResult readSpeedDial(Widget parent)
{
    WindowObserver observer(parent);
    TransferResult result = readSpeedDial(observer, all);
    if (result == TransferResult::Done) {
        keepBackup(FileKind::SpeedDial, [](FILE *fp) { return writeKwzStream(fp, all); });
        rememberPbxHolds(FileKind::SpeedDial);
    }
    return result;
}

void readISkwz(Widget, XtPointer, XtPointer)
{
    if (readSpeedDial(kwzdlg) == TransferResult::Done)
        showkwz();
}

void writeISkwz(Widget, XtPointer, XtPointer)
{
    if (!confirmProgramming(kwzdlg, FileKind::SpeedDial))
        return;
    WindowObserver observer(kwzdlg);
    if (writeSpeedDial(observer, all) == TransferResult::Done) {
        rememberPbxHolds(FileKind::SpeedDial);
        showkwz();
    }
}

void doSetupKwz()
{
    XmtRegisterProcedures({
        {"loadFile", loadFile},
        {"saveFile", saveFile},
        {"saveFileas", saveFileas},
        {"saveText", saveText},
        {"printText", printText},
        {"mergeFile", mergeFile},
        {"importFile", importFile},
        {"exportFile", exportFile},
        {"editselct", editselct},
        {"get4delete", get4delete},
        {"get4edit", get4edit},
        {"get4move", get4move},
        {"readISkwz", readISkwz},
        {"writeISkwz", writeISkwz},
        {"closekwz", closekwz},
        {"showNahBer", showNahBer},
        {"showSperrBer", showSperrBer},
    });
    setKwzDefaults();
}
