#include "charges/gebzahl.h"

#include "config/record.h"
#include "link/protocol.h"
#include "link/trace.h"
#include "link/transfer.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"

#include <Xm/List.h>
#include <cstdio>
#include <vector>

namespace {

constexpr int ResetPayload = 124;

Widget zaehlerdlg; // built on first use; its list keeps the last counters shown

// Single precision on purpose: 123456789 pfennig shows as "1234567.88 DM".
void formatAmount(char *text, std::size_t size, std::int32_t pfennig)
{
    float amount = static_cast<float>(pfennig / 100.0);
    std::snprintf(text, size, "%04.2f DM", static_cast<double>(amount));
}

} // namespace

void showGebuehren(const std::int32_t *counters)
{
    Widget list = zaehlerdlg ? XmtNameToWidget(zaehlerdlg, "*zaehler") : nullptr;
    if (!list)
        return;
    XmListDeleteAllItems(list);
    std::vector<XmString> items;
    std::uint32_t total = 0; // wraps like the 32-bit sum it is
    for (int i = 0; i < ChargeCounters; i++) {
        const char *num = getAppNumStr(i);
        if (counters[i] == NoChargeCounter || !num)
            continue;
        char amount[64], line[128];
        formatAmount(amount, sizeof amount, counters[i]);
        // The number slot need not be terminated within its 3 bytes.
        std::snprintf(line, sizeof line, " %-10s (#%-.*s)    %s", getAppName(i), int(rec::IntNumSize), num, amount);
        items.push_back(XmStringCreate(line, const_cast<char *>(XmFONTLIST_DEFAULT_TAG)));
        total += static_cast<std::uint32_t>(counters[i]);
    }
    XmListAddItems(list, items.data(), int(items.size()), 0);
    for (XmString s : items)
        XmStringFree(s);
    char amount[64];
    formatAmount(amount, sizeof amount, static_cast<std::int32_t>(total));
    set_labelname(zaehlerdlg, "*summe", amount);
}

void doGebGet(Widget, XtPointer, XtPointer)
{
    std::int32_t counters[ChargeCounters] = {};
    TransferPlan transfer{devicePath(), zaehlerdlg, "gebreaddlg", "Gebührenzähler lesen...", true, 1, {}, false};
    TransferResult result = runTransfer(transfer, [&counters](TransferContext &t) {
        int length = t.request(K_READ_TLN_GEB_LIST, 0);
        if (length == 0)
            return;
        if (traceErrors())
            dumppacket("K_READ_TLN_GEB_LIST", t.answer() + 4, length - 4);
        // Counters the answer lacks read as 0.
        decodeCounters(counters, t.answer(), length);
    });
    if (result == TransferResult::Done)
        showGebuehren(counters);
}

// No way back from a reset: the question's default is "Nein".
void doGebDel(Widget, XtPointer, XtPointer)
{
    if (!XmtDisplayWarningAndAsk(zaehlerdlg, "gebuehrdel", "Wollen Sie wirklich alle Gebührendaten\nauf 0.00 DM setzten?",
                                 "Ja", "Nein", False, "No Help!"))
        return;
    TransferPlan transfer{devicePath(), zaehlerdlg, "gebwritedlg", "Gebührenzähler löschen...", false, 1, {}, false};
    TransferResult result = runTransfer(transfer, [](TransferContext &t) {
        static const unsigned char zeros[ResetPayload] = {};
        t.send(K_CLEAR_TLN_GEB_LIST, NoSubCode, zeros, ResetPayload);
    });
    // The PBX is not asked again: a reset it acknowledged is all zeros.
    if (result == TransferResult::Done) {
        const std::int32_t zeros[ChargeCounters] = {};
        showGebuehren(zeros);
    }
}

void doGebZaehler(Widget parent)
{
    buildDialogOnce(zaehlerdlg, parent, "gebzahl_dlg");
    XmtDialogRun(zaehlerdlg);
}

void doSetupZaehler()
{
    XmtRegisterProcedures({{"doGebGet", doGebGet}, {"doGebDel", doGebDel}});
}
