// The binding tables are the field descriptions': every widget they name is
// one of its dialog's, and each is described once.  And each dialog's "Hilfe"
// shows its own lines of the resource table, not the common ones.
#include <gtest/gtest.h>

#include "fixture.h"

#include "basic/msns.h"
#include "fields/fields.h"
#include "settings/amtsperm.h"
#include "settings/gebdat.h"
#include "settings/globdat.h"
#include "settings/calldist.h"
#include "settings/steuer.h"
#include "settings/teltyp.h"
#include "settings/tlnperm.h"
#include "speeddial/nahsperr.h"
#include "speeddial/rufzuord.h"
#include "ui/bind.h"

#include <functional>
#include <set>
#include <string>

namespace {

TEST(DescribedBindings, EveryWidgetIsItsDialogsAndDescribedOnce)
{
    struct Opened {
        const char *dialog;
        std::function<void()> open;
        std::size_t widgets; // as many as the dialog's table had
    };
    const Opened dialogs[] = {
        {"globdat_dlg", [] { displayGlobDat(dialogTop()); }, 10},
        {"steuer_dlg", [] { displaySteuer(dialogTop()); }, 11},
        {"teltyp_dlg", [] { displayTeleTyp(dialogTop()); }, 8},
        {"amtsperm_dlg", [] { displayAmtsPerm(dialogTop()); }, 30},
        {"gebdat_dlg", [] { displayGebDat(dialogTop()); }, 2},
        {"rufzuord_dlg", [] { doDisplayRNZ(dialogTop()); }, 31},
        {"nahber_dlg", [] { doDisplayNahBer(dialogTop()); }, 20},
        {"sperrber_dlg", [] { doDisplaySperrBer(dialogTop()); }, 20},
        {"msns_dlg", [] { doMsns(dialogTop(), nullptr, nullptr); }, 10},
    };
    for (const Opened &d : dialogs) {
        freshRecord();
        std::span<const Binding> table = describedTable(d.dialog);
        EXPECT_EQ(table.size(), d.widgets) << d.dialog;
        std::set<std::string> widgets;
        for (const Binding &b : table)
            EXPECT_TRUE(widgets.insert(b.widget).second) << d.dialog << ": " << b.widget << " described twice";
        // A text's buffer without its input field is a problem of the build.
        int problems = XmtResourceProblems();
        runModal(d.open,
                 [&](Widget dialog) {
                     for (const Binding &b : table)
                         if (b.codec != Codec::Text)
                             guiFind(dialog, b.widget);
                 },
                 "*cancel");
        EXPECT_EQ(XmtResourceProblems(), problems) << d.dialog;
    }
    EXPECT_EQ(describedTable("tndat_dlg").size(), 2u);
}

TEST(DialogHelp, EachShowsItsOwnLinesOfTheResourceTable)
{
    struct Help {
        const char *key;
        std::function<void()> open;
        const char *inner = nullptr; // the button of this dialog that opens the one whose help it is
    };
    const Help helps[] = {
        {"*globdat*help.activateCallback", [] { displayGlobDat(dialogTop()); }},
        {"*st_btns.help.activateCallback", [] { displaySteuer(dialogTop()); }},
        {"*amtsperm*help.activateCallback", [] { displayAmtsPerm(dialogTop()); }},
        {"*tt_btns.help.activateCallback", [] { displayTeleTyp(dialogTop()); }},
        {"*tp_btns.help.activateCallback", [] { displayTlnPerm(dialogTop()); }},
        {"*calldist*help.activateCallback", [] { displayCallDist(dialogTop()); }},
        {"*gebdat*help.activateCallback", [] { displayGebDat(dialogTop()); }},
        {"*loccharge*help.activateCallback", [] { displayGebDat(dialogTop()); }, "*costs"},
        {"*ms_btns.help.activateCallback", [] { doMsns(dialogTop(), nullptr, nullptr); }},
    };
    for (const Help &h : helps) {
        freshRecord();
        runModal(h.open,
                 [&h](Widget d) {
                     takeWarning();
                     if (!h.inner)
                         return expectHelp(d, h.key);
                     runModal([&] { guiPress(guiFind(d, h.inner)); }, [&h](Widget in) { expectHelp(in, h.key); },
                              "*cancel", d);
                 },
                 "*cancel");
    }
}

} // namespace
