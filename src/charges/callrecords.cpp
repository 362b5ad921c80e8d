#include "charges/callrecords.h"

#include "charges/calltransfer.h"
#include "config/record.h"
#include "speeddial/kwz.h"
#include "toolkit/toolkit.h"
#include "ui/bind.h"
#include "ui/output.h"
#include "ui/transferwindow.h"

#include <Xm/List.h>

void runCallList(CallList &list, Widget parent)
{
    buildDialogOnce(list.dialog, parent, list.dialogName);
    XmtDialogRun(list.dialog);
}

bool readCallList(CallList &list)
{
    WindowObserver observer(list.dialog);
    if (readCalls(list.read, list.store, observer) != TransferResult::Done)
        return false;
    showCallList(list);
    return true;
}

void showCallList(CallList &list)
{
    Widget shown = list.dialog ? XmtNameToWidget(list.dialog, list.listName) : nullptr;
    if (!shown)
        return;
    XmListDeleteAllItems(shown);
    if (recInt(rec::KwzPresent) == 0)
        loadNshowFile(list.dialog, 0);
    std::vector<XmString> items;
    const CallRead &calls = list.read;
    std::size_t size = std::size_t(calls.recordSize);
    for (int i = 0; i < calls.capacity && std::size_t(i + 1) * size <= list.store.size(); i++) {
        std::string line = calls.line(i, list.store.data() + std::size_t(i) * size, CallForm::Text, all);
        if (line.empty())
            break;
        items.push_back(XmtCreateXmString(line.data()));
    }
    XmListAddItems(shown, items.data(), int(items.size()), 0);
    for (XmString item : items)
        XmStringFree(item);
}

// Every non-empty record of the store, one line each ("%80.80s" when printing);
// false when the stream did not take them.
static bool writeCalls(const CallList &list, FILE *fp, bool printing, CallForm form)
{
    return writeCallLines(list.read, list.store, fp, printing, form, all);
}

bool saveCallList(const CallList &list, const char *query, const char *prompt, const char *pattern, CallForm form)
{
    return saveLinesAs(list.dialog, query, prompt, pattern,
                       [&list, form](FILE *fp) { return writeCalls(list, fp, false, form); });
}

bool printCallList(const CallList &list)
{
    if (list.store.empty())
        return false;
    return printLines(list.dialog, [&list](FILE *fp) { return writeCalls(list, fp, true, CallForm::Text); });
}
