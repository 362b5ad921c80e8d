#include "charges/callrecords.h"

#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"
#include "link/transfer.h"
#include "speeddial/kwz.h"
#include "toolkit/toolkit.h"
#include "ui/bind.h"
#include "ui/output.h"

#include <Xm/List.h>

void runCallList(CallList &list, Widget parent)
{
    buildDialogOnce(list.dialog, parent, list.dialogName);
    XmtDialogRun(list.dialog);
}

bool readCallList(CallList &list)
{
    // Read into a store of its own: one that fails half-way must not mix into
    // the records the list shows and the files and printouts are made of.
    std::vector<unsigned char> fresh(std::size_t(list.recordSize) * std::size_t(list.capacity), 0);
    TransferPlan transfer{devicePath(), list.dialog, "gebreaddlg", list.readMessage, true, 0};
    TransferResult result = runTransfer(transfer, [&list, &fresh](TransferContext &t) {
        int received = 0;
        while (received < list.capacity) {
            int length = list.wideIndex ? t.requestWide(list.command, received) : t.request(list.command, received);
            if (length == 0)
                return;
            if (traceErrors())
                dumppacket(list.traceLabel, t.answer(), length);
            int records = storeCallAnswer(fresh.data(), list.capacity, list.recordSize, received, t.answer(), length);
            if (records == 0)
                break;
            received += records;
            showPercent(t.workingBox(), list.capacity, received);
        }
    });
    if (result != TransferResult::Done)
        return false;
    list.store = std::move(fresh);
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
        items.push_back(XmStringCreate(line.data(), const_cast<char *>(XmFONTLIST_DEFAULT_TAG)));
    }
    XmListAddItems(shown, items.data(), int(items.size()), 0);
    for (XmString item : items)
        XmStringFree(item);
}

// Every non-empty record of the store, one line each ("%80.80s" when printing);
// false when the stream did not take them.
static bool writeCalls(const CallList &list, FILE *fp, bool printing, CallForm form)
{
    for (int i = 0; std::size_t(i + 1) * std::size_t(list.recordSize) <= list.store.size(); i++) {
        std::string line = list.line(i, list.store.data() + std::size_t(i) * std::size_t(list.recordSize), form);
        if (line.empty())
            continue;
        if (printing && form == CallForm::Text)
            std::fprintf(fp, "%80.80s\n", line.c_str());
        else
            std::fprintf(fp, "%s\n", line.c_str());
    }
    return !std::ferror(fp);
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
