#include "charges/gebzahl.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/transferwindow.h"

#include <Xm/List.h>
#include <cstdio>
#include <vector>

namespace {

Widget zaehlerdlg; // built on first use; its list keeps the last counters shown

} // namespace

void showGebuehren(const std::int32_t *counters)
{
    Widget list = zaehlerdlg ? XmtNameToWidget(zaehlerdlg, "*zaehler") : nullptr;
    if (!list)
        return;
    XmListDeleteAllItems(list);
    CounterList shown = counterList(counters, all);
    std::vector<XmString> items;
    for (std::string &line : shown.lines)
        items.push_back(XmtCreateXmString(line.data()));
    XmListAddItems(list, items.data(), int(items.size()), 0);
    for (XmString s : items)
        XmStringFree(s);
    set_labelname(zaehlerdlg, "*summe", shown.total.c_str());
}

void doGebGet(Widget, XtPointer, XtPointer)
{
    std::int32_t counters[ChargeCounters] = {};
    WindowObserver observer(zaehlerdlg);
    if (readChargeCounters(counters, observer) == TransferResult::Done)
        showGebuehren(counters);
}

// No way back from a reset: the question's default is "Nein".
void doGebDel(Widget, XtPointer, XtPointer)
{
    if (!XmtAskIrreversible(zaehlerdlg, "gebuehrdel", "Wollen Sie wirklich alle Gebührendaten\nauf 0.00 DM setzten?",
                            "No Help!"))
        return;
    WindowObserver observer(zaehlerdlg);
    // The PBX is not asked again: a reset it acknowledged is all zeros.
    if (resetChargeCounters(observer) == TransferResult::Done) {
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
