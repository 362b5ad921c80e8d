#include "app/registry.h"

#include "app/app.h"
#include "app/overview.h"
#include "app/portchooser.h"
#include "basic/anltyp.h"
#include "charges/gebzahl.h"
#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "resources/lookup.h"
#include "resources/resources.h"
#include "settings/amtsperm.h"
#include "settings/calldist.h"
#include "settings/gebdat.h"
#include "settings/globdat.h"
#include "settings/steuer.h"
#include "settings/teltyp.h"
#include "settings/tlnperm.h"
#include "speeddial/kwz.h"
#include "speeddial/rufzuord.h"
#include "subscriber/tndat.h"

#include <string>
#include <vector>

namespace {

// An opener ignores what the button passes: the dialog always sits over toplevel.
template <void (*Open)(Widget)>
void openOverToplevel(Widget, XtPointer, XtPointer)
{
    Open(toplevel);
}

// Not "Always": Xlib defines that.
constexpr bool AnyTime = false, WhenValid = true;

const MainButton buttons[] = {
    {"kurz", "dokwz", openOverToplevel<doKurzwahlen>, AnyTime, "kwz_dlg", "kurzbox"},
    {"outcalls", "doOutKit", openOverToplevel<doKitOut>, AnyTime, "gebOlist_dlg", "kitrow"},
    {"incalls", "doInKit", openOverToplevel<doKitIn>, AnyTime, "gebIlist_dlg", "kitrow"},
    // The settings, read across the two columns.
    {"grund", "showConf", openOverToplevel<doShowConf>, WhenValid, "anltyp_dlg", "cfgleft"},
    {"global", "doglob", openOverToplevel<displayGlobDat>, WhenValid, "globdat_dlg", "cfgright"},
    {"appnum", "dornz", openOverToplevel<doDisplayRNZ>, WhenValid, "rufzuord_dlg", "cfgleft"},
    {"einricht", "dotlnperm", openOverToplevel<displayTlnPerm>, WhenValid, "tlnperm_dlg", "cfgright"},
    {"amtrecht", "doamtperm", openOverToplevel<displayAmtsPerm>, WhenValid, "amtsperm_dlg", "cfgleft"},
    {"endgeraet", "dotlntyp", openOverToplevel<displayTeleTyp>, WhenValid, "teltyp_dlg", "cfgright"},
    {"avas", "docalldist", openOverToplevel<displayCallDist>, WhenValid, "calldist_dlg", "cfgleft"},
    {"gebuehr", "dogebdat", openOverToplevel<displayGebDat>, WhenValid, "gebdat_dlg", "cfgright"},
    {"bsteuer", "dosteuerk", openOverToplevel<displaySteuer>, WhenValid, "steuer_dlg", "cfgleft"},
    {"user", "douserfkt", openOverToplevel<displayUserFkt>, WhenValid, "tndat_dlg", "cfgright"},
    // The configuration itself: its files and transfers.
    {"laden", "loadCFGFile", loadCFGFile, AnyTime},
    {"sichern", "saveCFGFileAs", saveCFGFileAs, WhenValid},
    {"uebersicht", "showOverview", showOverview, WhenValid},
    {"lesen", "readConfig", readConfig, AnyTime},
    {"schreiben", "writeConfig", writeConfig, WhenValid},
    {"schnittstelle", "choosePort", choosePortButton, AnyTime},
    {"help", "showHelp", showHelp, AnyTime},
    {"quit", "quitting", quitting, AnyTime},
};

// In this order; the counters open from the charge settings, and one set-up
// serves both call lists.
void (*const setUps[])() = {doSetupKwz,    doSetupConf,    doSetupRNZ,  doSetupPerm, doSetupCallDist,
                            doSetupGebDat, doSetupZaehler, doSetupUser, doSetupKit};

// A value as a resource line writes it: line feeds as "\n", backslashes doubled.
std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::vector<std::string> rowLines()
{
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, std::string>> columns; // container, its children
    std::string help;
    for (const MainButton &b : mainButtons()) {
        std::string at = std::string("*main*") + b.button;
        lines.push_back(at + ".activateCallback: " + b.procedure + "()");
        if (b.needsValidConfiguration)
            lines.push_back(at + ".sensitive: False");
        if (!b.dialog)
            continue;
        help += builtinResource(at + ".helpLine") + "\n";
        auto column = columns.begin();
        while (column != columns.end() && column->first != b.column)
            ++column;
        if (column == columns.end())
            column = columns.insert(column, {b.column, ""});
        column->second += (column->second.empty() ? "Button " : "; Button ") + std::string(b.button);
    }
    for (const auto &[column, children] : columns)
        lines.push_back("*main*" + column + ".children: " + children);
    lines.push_back("*main*help.helpText: " + escaped(help + builtinResource("*main*help.otherLines")));
    return lines;
}

} // namespace

std::span<const MainButton> mainButtons()
{
    return buttons;
}

void setUpDialogFamilies()
{
    for (void (*setUp)() : setUps)
        setUp();
}

const char **mainWindowResources()
{
    static std::vector<std::string> made;
    static std::vector<const char *> table;
    if (!table.empty())
        return table.data();
    made = rowLines();
    for (const char **line = kelvoraFallbackResources(); *line; ++line)
        table.push_back(*line);
    for (const std::string &line : made)
        table.push_back(line.c_str());
    table.push_back(nullptr);
    return table.data();
}
