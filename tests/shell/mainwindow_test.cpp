#include <gtest/gtest.h>

#include "support/program.h"
#include "support/gui.h"
#include "config/record.h"
#include "shell/shell.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <cstdlib>
#include <cstring>

namespace {

struct ButtonRow {
    const char *name;
    const char *label;
    bool sensitiveAtStart;
    bool editing; // follows the configuration-valid flag
};

// Labels are Latin-1 here as in the program: this file is compiled the same way.
const ButtonRow buttons[] = {
    {"kurz", "Kurzwahlen / Nahbereichs- und Sperrnummern", true, false},
    {"outcalls", "Gespräche ausgehend", true, false},
    {"incalls", "Gespräche eingehend", true, false},
    {"grund", "Grundeinstellungen", false, true},
    {"appnum", "Interne Rufnummern", false, true},
    {"amtrecht", "Amtsberechtigungen", false, true},
    {"avas", "RWS/AVA/TFE", false, true},
    {"bsteuer", "Steuerkontakte", false, true},
    {"global", "Globale Einstellungen", false, true},
    {"einricht", "Berechtigungen", false, true},
    {"endgeraet", "Endgeräte", false, true},
    {"gebuehr", "Gebühren", false, true},
    {"user", "Teilnehmerdaten", false, true},
    {"laden", "Laden", true, false},
    {"sichern", "Sichern", false, true},
    {"lesen", "Auslesen", true, false},
    {"schreiben", "Programmieren", false, true},
    {"help", "Hilfe", true, false},
    {"quit", "Beenden", true, false},
};

class MainWindow : public ::testing::Test {
protected:
    Widget top = nullptr;
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        top = programTop();
        ASSERT_NE(top, nullptr);
    }
    Widget named(const char *name)
    {
        std::string path = std::string("*") + name;
        Widget w = XmtNameToWidget(top, path.c_str());
        EXPECT_NE(w, nullptr) << name;
        return w;
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
    EXPECT_STREQ(XmtMsgLineGetString(line), "kelvora v0.0.5");
    Dimension shadow = 1, highlight = 1;
    XtVaGetValues(line, XmNshadowThickness, &shadow, XmNhighlightThickness, &highlight, nullptr);
    EXPECT_EQ(shadow, 0);
    EXPECT_EQ(highlight, 0);

    EXPECT_STREQ(recText(rec::CfgFilePath), "/usr/local/kelvora/etc/standard.cfg");
    EXPECT_EQ(curPbx(), 0);
}

TEST_F(MainWindow, ButtonsLabelsAndStartSensitivity)
{
    // Nothing has refreshed the buttons yet: the resource lines alone decide.
    // (Tests that change the flag put the start state back.)
    for (const ButtonRow &b : buttons) {
        Widget w = named(b.name);
        if (!w)
            continue;
        EXPECT_EQ(guiText(w, XmNlabelString), b.label) << b.name;
        Boolean sensitive = !b.sensitiveAtStart;
        XtVaGetValues(w, XmNsensitive, &sensitive, nullptr);
        EXPECT_EQ(bool(sensitive), b.sensitiveAtStart) << b.name;
    }
    Widget absel = named("absel");
    Widget whsel = named("whsel");
    ASSERT_TRUE(absel && whsel);
    EXPECT_FALSE(XtIsSensitive(absel));
    EXPECT_FALSE(XmtChooserGetSensitive(absel, 1));
    EXPECT_TRUE(XtIsSensitive(whsel));
    EXPECT_EQ(XmtChooserGetState(whsel), 0);
    ASSERT_EQ(XmtChooserGetNumItems(whsel), 2);
    EXPECT_EQ(guiText(XmtChooserGetItem(whsel, 0), XmNlabelString), "Hembel");
    EXPECT_EQ(guiText(XmtChooserGetItem(whsel, 1), XmNlabelString), "Wendholt");
    ASSERT_EQ(XmtChooserGetNumItems(absel), 2);
    EXPECT_EQ(guiText(XmtChooserGetItem(absel, 0), XmNlabelString), "Anlage A");
    EXPECT_EQ(guiText(XmtChooserGetItem(absel, 1), XmNlabelString), "Anlage B");
    EXPECT_EQ(guiText(XmtCaptionOf(whsel), XmNlabelString), "Dateikennung:");
    EXPECT_EQ(guiText(XmtCaptionOf(absel), XmNlabelString), "Anlagen-Auswahl:");
}

TEST_F(MainWindow, ValidFlagMakesEditingButtonsSensitive)
{
    setFlags(1);
    activateMainButtons();
    for (const ButtonRow &b : buttons) {
        if (Widget w = named(b.name)) {
            EXPECT_EQ(bool(XtIsSensitive(w)), b.editing || b.sensitiveAtStart) << b.name;
        }
    }
    Widget absel = named("absel");
    ASSERT_NE(absel, nullptr);
    EXPECT_TRUE(XtIsSensitive(absel));
    EXPECT_TRUE(XmtChooserGetSensitive(absel, 0));
    EXPECT_FALSE(XmtChooserGetSensitive(absel, 1)) << "Anlage B must never be selectable";

    setFlags(0);
    activateMainButtons();
    for (const ButtonRow &b : buttons) {
        if (Widget w = named(b.name)) {
            EXPECT_EQ(bool(XtIsSensitive(w)), b.sensitiveAtStart) << b.name;
        }
    }
    EXPECT_FALSE(XtIsSensitive(absel));
    EXPECT_FALSE(XmtChooserGetSensitive(absel, 1));

    // Any non-zero flag counts as valid.
    setRecInt(rec::CfgValid, 5);
    activateMainButtons();
    EXPECT_TRUE(XtIsSensitive(named("grund")));
    EXPECT_FALSE(XmtChooserGetSensitive(absel, 1));

    setFlags(0);
    activateMainButtons();
}

TEST_F(MainWindow, ButtonsAreBoundToTheirProcedures)
{
    // Binding happens when a widget is created, so this fails if the
    // procedures were registered after the tree was built.
    for (const char *name : {"kurz", "outcalls", "incalls", "grund", "appnum", "amtrecht", "avas", "bsteuer",
                             "global", "einricht", "endgeraet", "gebuehr", "user", "help", "quit"}) {
        if (Widget w = named(name)) {
            EXPECT_EQ(XtHasCallbacks(w, XmNactivateCallback), XtCallbackHasSome) << name;
        }
    }
}

TEST_F(MainWindow, RomVersionReplacesVersionLine)
{
    Widget line = named("theline");
    std::strcpy(anl_vers, "V2.13 12/98");
    show_anl_vers();
    EXPECT_STREQ(XmtMsgLineGetString(line), "ROM-Version: V2.13 12/98");
    kelvora_vers();
    EXPECT_STREQ(XmtMsgLineGetString(line), "kelvora v0.0.5");
}

TEST_F(MainWindow, HelpShowsTheFunctionList)
{
    Widget help = named("help");
    ASSERT_NE(help, nullptr);
    XtCallCallbacks(help, XmNactivateCallback, nullptr);
    guiPump(50);
    Widget box = XmtLastMessageBox("msg1");
    ASSERT_NE(box, nullptr);
    const std::string expected =
        "Kurzwahlen/Nah-/Sperrber.: Kurzwahlverzeichniss/Nah- und Sperrbereiche editieren\n"
        "Gespräche ausgehend: Liste der ausgehenden Gespräche (Zusatzmodul nõtig)\n"
        "Gespräche eingehend: Liste der eingegangenen Gespräche (Zusatzmodul nõtig)\n"
        "Grundeinstellung: MSN Eingabe/Zuweisung und generelles Anlagen-Setup\n"
        "Globales: Globale Anlagenparameter (Autom.Amtsholung/Landes-/Ortsvorwahl...)\n"
        "Nebenstellen-Nr.: Vergabe der Nebenstellen-Nummern\n"
        "Berechtigungen: Master-/Aufschalte-/Aufschaltschutzberechtigungen\n"
        "Amtsberechtigungen: Vergabe der Amtsberechtigungen der Nebenstellen\n"
        "Endgeräte: Endgerätetypen der Nebenstellen festlegen (Telefon/Fax/Modem...)\n"
        "RWS/AVA/TFE: Zuordnung der Rufweiterleitung/Zweitwecker/Türfreisprechgeräte...\n"
        "Gebührenausdruck: Gebührenübertragung und -erfassung an Drucker/Nebenstellen\n"
        "Steuerkontakte: Konfiguration der Steuerkontakte\n"
        "Teilnehmerdaten: Teilnehmerspezifische Einstellungen\n"
        "Dateikennung: Auswahl der Dateikennung zwecks Kompatibilität zum Original-\n"
        "              Programm beim Sichern einer Datei\n"
        "Anlagen-Auswahl: z. Z. ohne Funktion (fuer vernetzte oder Unteranlagen)\n"
        "Sichern: Konfigurationsdatei sichern\n"
        "Laden: Konfigurationsdatei laden\n"
        "Auslesen: Konfigurationsdaten aus der Anlage lesen\n"
        "Programmieren: Konfigurationsdaten zur Anlage senden\n"
        "Beenden: \"kelvora\" beenden";
    EXPECT_EQ(guiText(box, XmNmessageString), expected);
    char *title = nullptr;
    XtVaGetValues(XtParent(box), XmNtitle, &title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Hilfe");
    XtUnmanageChild(box);
    guiPump(50);
}

TEST_F(MainWindow, BeendenExitsWithStatusZero)
{
    Widget quit = named("quit");
    ASSERT_NE(quit, nullptr);
    EXPECT_EXIT(XtCallCallbacks(quit, XmNactivateCallback, nullptr), ::testing::ExitedWithCode(0), "");
}
