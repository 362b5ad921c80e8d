#include <gtest/gtest.h>

#include "support/program.h"
#include "support/gui.h"
#include "support/dialogs.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "app/app.h"
#include "app/registry.h"
#include "config/version.h"
#include "resources/lookup.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

struct ButtonRow {
    const char *label;
    bool sensitiveAtStart;
};

// The buttons of the window as the user knows them.  Labels are Latin-1 here
// as in the program: this file is compiled the same way.
const ButtonRow buttons[] = {
    {"Kurzwahlen / Nahbereichs- und Sperrnummern", true},
    {"Gespräche ausgehend", true},
    {"Gespräche eingehend", true},
    {"Grundeinstellungen", false},
    {"Globale Einstellungen", false},
    {"Interne Rufnummern", false},
    {"Berechtigungen", false},
    {"Amtsberechtigungen", false},
    {"Endgeräte", false},
    {"RWS/AVA/TFE", false},
    {"Gebühren", false},
    {"Steuerkontakte", false},
    {"Teilnehmerdaten", false},
    {"Laden", true},
    {"Sichern", false},
    {"Übersicht", false},
    {"Auslesen", true},
    {"Programmieren", false},
    {"Schnittstelle...", true},
    {"Hilfe", true},
    {"Beenden", true},
};

class MainWindow : public ::testing::Test {
protected:
    Widget top = programTop();
    Widget named(const char *name) { return mainWidget((std::string("*") + name).c_str()); }
    // Each button's sensitivity, in the order of the table.
    std::vector<bool> sensitivities()
    {
        std::vector<bool> s;
        for (const MainButton &b : mainButtons())
            s.push_back(XtIsSensitive(named(b.button)));
        return s;
    }
    // The editing buttons are those that follow the configuration-valid flag.
    static std::vector<bool> expected(bool valid)
    {
        std::vector<bool> s;
        for (const MainButton &b : mainButtons())
            s.push_back(!b.needsValidConfiguration || valid);
        return s;
    }
};

} // namespace

TEST_F(MainWindow, StartsWithTitleVersionAndRecordDefaults)
{
    char *title = nullptr;
    XtVaGetValues(top, XmNtitle, &title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Ostrale 18x/Dorvan ISx Konfigurator");

    Widget main = XmtNameToWidget(top, "main");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(XtParent(main), top);
    EXPECT_TRUE(XtIsRealized(top));

    Widget line = named("theline");
    EXPECT_EQ(std::string(XmtMsgLineGetString(line)), std::string("kelvora v") + KelvoraVersion);
    Dimension shadow = 1, highlight = 1;
    XtVaGetValues(line, XmNshadowThickness, &shadow, XmNhighlightThickness, &highlight, nullptr);
    EXPECT_EQ(shadow, 0);
    EXPECT_EQ(highlight, 0);

    EXPECT_STREQ(recText(rec::CfgFilePath), "/usr/local/kelvora/etc/standard.cfg");
    EXPECT_EQ(curPbx(), 0);
}

TEST_F(MainWindow, ButtonsLabelsAndStartSensitivity)
{
    // Every button of the program's table is one of these, and the other way round.
    std::vector<std::string> shown;
    for (const MainButton &b : mainButtons())
        shown.push_back(guiText(named(b.button), XmNlabelString));
    for (const ButtonRow &b : buttons) {
        auto at = std::find(shown.begin(), shown.end(), b.label);
        ASSERT_NE(at, shown.end()) << b.label;
        EXPECT_EQ(bool(XtIsSensitive(named(mainButtons()[at - shown.begin()].button))), b.sensitiveAtStart) << b.label;
    }
    EXPECT_EQ(sensitivities(), expected(false));
    Widget absel = named("absel");
    Widget whsel = named("whsel");
    EXPECT_FALSE(XtIsSensitive(absel));
    EXPECT_TRUE(XtIsSensitive(whsel));
    EXPECT_EQ(XmtChooserGetState(whsel), 0);
    for (auto [chooser, caption, items] : {std::tuple{whsel, "Dateikennung:", "Hembel|Wendholt"},
                                           std::tuple{absel, "Anlagen-Auswahl:", "Anlage A|Anlage B"}}) {
        std::string labels;
        for (int i = 0; i < XmtChooserGetNumItems(chooser); i++)
            labels += (i ? "|" : "") + guiText(XmtChooserGetItem(chooser, i), XmNlabelString);
        EXPECT_EQ(labels, items);
        EXPECT_EQ(guiText(XmtCaptionOf(chooser), XmNlabelString), caption);
    }
}

TEST_F(MainWindow, ValidFlagMakesEditingButtonsSensitive)
{
    Widget absel = named("absel");
    // Any non-zero flag counts as valid; "Anlage B" is never selectable.
    for (int flag : {1, 0, 5}) {
        setRecInt(rec::CfgValid, flag);
        activateMainButtons();
        EXPECT_EQ(sensitivities(), expected(flag != 0)) << flag;
        EXPECT_EQ(bool(XtIsSensitive(absel)), flag != 0) << flag;
        if (flag) {
            EXPECT_TRUE(XmtChooserGetSensitive(absel, 0));
        }
        EXPECT_FALSE(XmtChooserGetSensitive(absel, 1)) << flag;
    }
}

// The procedures named in the resource lines are bound when the window is
// built: each button of a dialog opens its own, under the dialog's title.
TEST_F(MainWindow, ButtonsOpenTheirOwnDialogs)
{
    freshRecord();
    int dialogs = 0;
    for (const MainButton &b : mainButtons()) {
        if (!b.dialog)
            continue;
        ++dialogs;
        std::string opened, title;
        runModal([&] { guiPress(named(b.button)); },
                 [&](Widget d) {
                     opened = XtName(d);
                     char *t = nullptr;
                     XtVaGetValues(d, XmNtitle, &t, nullptr);
                     title = t ? t : "";
                 },
                 nullptr);
        EXPECT_EQ(opened, b.dialog) << b.button;
        EXPECT_EQ(title, builtinResource(std::string("*") + b.dialog + ".title")) << b.button;
    }
    EXPECT_GE(dialogs, 13);
}

TEST_F(MainWindow, RomVersionReplacesVersionLine)
{
    Widget line = named("theline");
    std::strcpy(anl_vers, "V2.13 12/98");
    show_anl_vers();
    EXPECT_STREQ(XmtMsgLineGetString(line), "ROM-Version: V2.13 12/98");
    kelvora_vers();
    EXPECT_EQ(std::string(XmtMsgLineGetString(line)), std::string("kelvora v") + KelvoraVersion);
}

TEST_F(MainWindow, HelpShowsTheFunctionList)
{
    guiPress(named("help"));
    guiPump(50);
    std::string title;
    // The dialogs' lines come from their own sections, in the order of the
    // table; a new dialog adds its line among them.
    std::string shown = takeMessage("msg1", &title);
    std::size_t from = 0;
    for (const char *line : {
             "Kurzwahlen/Nah-/Sperrber.: Kurzwahlverzeichniss/Nah- und Sperrbereiche editieren\n",
             "Gespräche ausgehend: Liste der ausgehenden Gespräche (Zusatzmodul nötig)\n",
             "Gespräche eingehend: Liste der eingegangenen Gespräche (Zusatzmodul nötig)\n",
             "Grundeinstellung: MSN Eingabe/Zuweisung und generelles Anlagen-Setup\n",
             "Globales: Globale Anlagenparameter (Autom.Amtsholung/Landes-/Ortsvorwahl...)\n",
             "Nebenstellen-Nr.: Vergabe der Nebenstellen-Nummern\n",
             "Berechtigungen: Master-/Aufschalte-/Aufschaltschutzberechtigungen\n",
             "Amtsberechtigungen: Vergabe der Amtsberechtigungen der Nebenstellen\n",
             "Endgeräte: Endgerätetypen der Nebenstellen festlegen (Telefon/Fax/Modem...)\n",
             "RWS/AVA/TFE: Zuordnung der Rufweiterleitung/Zweitwecker/Türfreisprechgeräte...\n",
             "Gebührenausdruck: Gebührenübertragung und -erfassung an Drucker/Nebenstellen\n",
             "Steuerkontakte: Konfiguration der Steuerkontakte\n",
             "Teilnehmerdaten: Teilnehmerspezifische Einstellungen\n",
         }) {
        std::size_t at = shown.find(line, from);
        ASSERT_NE(at, std::string::npos) << line;
        from = at + std::strlen(line);
    }
    const std::string rest = "Dateikennung: Auswahl der Dateikennung zwecks Kompatibilität zum Original-\n"
                                  "              Programm beim Sichern einer Datei\n"
                                  "Anlagen-Auswahl: z. Z. ohne Funktion (fuer vernetzte oder Unteranlagen)\n"
                                  "Sichern: Konfigurationsdatei sichern\n"
                                  "Übersicht: die Anlage auf einer Seite im Browser, zum Ansehen und Drucken\n"
                                  "Laden: Konfigurationsdatei laden\n"
                                  "Auslesen: Konfigurationsdaten aus der Anlage lesen\n"
                                  "Programmieren: Konfigurationsdaten zur Anlage senden\n"
                                  "Schnittstelle: die serielle Schnittstelle der Anlage wählen\n"
                                  "Beenden: \"kelvora\" beenden";
    ASSERT_GE(shown.size(), from + rest.size());
    EXPECT_EQ(shown.substr(shown.size() - rest.size()), rest);
    EXPECT_EQ(title, "Hilfe");
}

TEST_F(MainWindow, BeendenExitsWithStatusZero)
{
    EXPECT_EXIT(guiPress(named("quit")), ::testing::ExitedWithCode(0), "");
}
