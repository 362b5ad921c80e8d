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
#include <cstring>
#include <tuple>
#include <vector>

namespace {

struct ButtonRow {
    const char *name;
    const char *label;
    bool sensitiveAtStart;
};

// Labels are Latin-1 here as in the program: this file is compiled the same way.
const ButtonRow buttons[] = {
    {"kurz", "Kurzwahlen / Nahbereichs- und Sperrnummern", true},
    {"outcalls", "Gespräche ausgehend", true},
    {"incalls", "Gespräche eingehend", true},
    {"grund", "Grundeinstellungen", false},
    {"appnum", "Interne Rufnummern", false},
    {"amtrecht", "Amtsberechtigungen", false},
    {"avas", "RWS/AVA/TFE", false},
    {"bsteuer", "Steuerkontakte", false},
    {"global", "Globale Einstellungen", false},
    {"einricht", "Berechtigungen", false},
    {"endgeraet", "Endgeräte", false},
    {"gebuehr", "Gebühren", false},
    {"user", "Teilnehmerdaten", false},
    {"laden", "Laden", true},
    {"sichern", "Sichern", false},
    {"uebersicht", "Übersicht", false},
    {"lesen", "Auslesen", true},
    {"schreiben", "Programmieren", false},
    {"schnittstelle", "Schnittstelle...", true},
    {"help", "Hilfe", true},
    {"quit", "Beenden", true},
};

class MainWindow : public ::testing::Test {
protected:
    Widget top = programTop();
    Widget named(const char *name) { return mainWidget((std::string("*") + name).c_str()); }
    // Each button's sensitivity, in the order of the table.
    std::vector<bool> sensitivities()
    {
        std::vector<bool> s;
        for (const ButtonRow &b : buttons)
            s.push_back(XtIsSensitive(named(b.name)));
        return s;
    }
    // The editing buttons, those that follow the configuration-valid flag, are
    // the program's own table's.
    static bool editing(const ButtonRow &b)
    {
        for (const MainButton &m : mainButtons())
            if (std::string(m.button) == b.name)
                return m.needsValidConfiguration;
        ADD_FAILURE() << b.name << " is not in the main window's table";
        return false;
    }
    std::vector<bool> expected(bool valid)
    {
        std::vector<bool> s;
        for (const ButtonRow &b : buttons)
            s.push_back(b.sensitiveAtStart || (valid && editing(b)));
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
    EXPECT_EQ(mainButtons().size(), std::size(buttons));
    for (const ButtonRow &b : buttons)
        EXPECT_EQ(guiText(named(b.name), XmNlabelString), b.label) << b.name;
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
// built: each button opens its own dialog, under its title where one is named.
TEST_F(MainWindow, ButtonsOpenTheirOwnDialogs)
{
    const struct {
        const char *button, *dialog, *close, *title = nullptr;
    } opens[] = {
        {"kurz", "kwz_dlg", "*quit"},
        {"outcalls", "gebOlist_dlg", "*okay"},
        {"incalls", "gebIlist_dlg", "*okay"},
        {"grund", "anltyp_dlg", "*okay"},
        {"appnum", "rufzuord_dlg", "*cancel"},
        {"amtrecht", "amtsperm_dlg", "*cancel", "Amtsberechtigungen"},
        {"avas", "calldist_dlg", "*cancel", "Rufverteilung"},
        {"bsteuer", "steuer_dlg", "*cancel"},
        {"global", "globdat_dlg", "*cancel"},
        {"einricht", "tlnperm_dlg", "*cancel", "Teilnehmer-Berechtigungen"},
        {"endgeraet", "teltyp_dlg", "*cancel", "Gerätetypen"},
        {"gebuehr", "gebdat_dlg", "*cancel", "Gebührendaten"},
        {"user", "tndat_dlg", "*okay"},
    };
    freshRecord();
    for (const auto &o : opens) {
        std::string opened, title;
        runModal([&] { guiPress(named(o.button)); },
                 [&](Widget d) {
                     opened = XtName(d);
                     char *t = nullptr;
                     XtVaGetValues(d, XmNtitle, &t, nullptr);
                     title = t ? t : "";
                 },
                 o.close);
        EXPECT_EQ(opened, o.dialog) << o.button;
        if (o.title) {
            EXPECT_EQ(title, o.title) << o.button;
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
    EXPECT_EQ(std::string(XmtMsgLineGetString(line)), std::string("kelvora v") + KelvoraVersion);
}

TEST_F(MainWindow, HelpShowsTheFunctionList)
{
    guiPress(named("help"));
    guiPump(50);
    std::string title;
    EXPECT_EQ(takeMessage("msg1", &title), builtinResource("*main*help.helpText"));
    EXPECT_EQ(title, "Hilfe");
}

TEST_F(MainWindow, BeendenExitsWithStatusZero)
{
    EXPECT_EXIT(guiPress(named("quit")), ::testing::ExitedWithCode(0), "");
}
