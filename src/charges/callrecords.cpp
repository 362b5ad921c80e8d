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

namespace {

CallRead readOf(const CallList &list)
{
    return {list.readMessage, list.traceLabel, list.command, list.wideIndex, list.recordSize, list.capacity, list.line};
}

} // namespace

bool readCallList(CallList &list)
{
    WindowObserver observer(list.dialog);
    if (readCalls(readOf(list), list.store, observer) != TransferResult::Done)
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
    for (int i = 0; i < list.capacity && std::size_t(i + 1) * std::size_t(list.recordSize) <= list.store.size(); i++) {
        std::string line = list.line(i, list.store.data() + std::size_t(i) * std::size_t(list.recordSize), CallForm::Text);
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
    return writeCallLines(readOf(list), list.store, fp, printing, form);
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
