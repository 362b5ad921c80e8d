// What the main window says after each file and transfer step, and what its
// title shows: the file the configuration is in, and a mark while changes are
// neither saved nor programmed.  Against the simulator, through the buttons.
#include <gtest/gtest.h>

#include "app/app.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "support/answers.h"
#include "support/dialogs.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/sim_line.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"

#include <functional>
#include <string>

namespace {

const std::string Base = "Ostrale 18x/Dorvan ISx Konfigurator";

std::string title()
{
    char *t = nullptr;
    XtVaGetValues(toplevel, XmNtitle, &t, nullptr);
    return t ? t : "";
}

std::string line() { return XmtMsgLineGetString(mainWidget("*theline")); }

// A change as the user makes it: the area code in "Globale Einstellungen".
void editAreaCode(const char *code)
{
    runModal([] { guiPress(mainWidget("*global")); },
             [code](Widget d) { typeInto(guiFind(d, "*okz"), code); }, "*okay");
}

struct Step {
    const char *what;
    std::function<void()> act;
    std::string line;  // "%t": the time of the step, "%r": the ROM version read
    std::string title; // "" for the base title alone
};

class Feedback : public ::testing::Test {
protected:
    SimLine sim;
    TempDir dir;
    std::string file = dir.file("anlage.cfg"), other = dir.file("kaputt.cfg");
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        setDevicePath(sim.device.c_str());
        writeFile(other, "keine Konfiguration");
    }
    void press(const char *button) { guiPress(mainWidget(button)); }
    void program() { press("*schreiben"); }
    // Runs one step; the line must read as said with the time from before
    // or after it (the minute may turn meanwhile).
    void check(const Step &s)
    {
        SCOPED_TRACE(s.what);
        std::string before = clockTime();
        s.act();
        guiPump(20);
        std::string after = clockTime();
        auto at = [&s](const std::string &time) {
            std::string l = s.line;
            for (auto [mark, text] : {std::pair<const char *, std::string>{"%t", time}, {"%r", anl_vers}})
                if (size_t p = l.find(mark); p != std::string::npos)
                    l.replace(p, 2, text);
            return l;
        };
        std::string shown = line();
        EXPECT_TRUE(shown == at(before) || shown == at(after)) << shown << "\nexpected " << at(after);
        EXPECT_EQ(title(), s.title.empty() ? Base : s.title);
    }
};

TEST_F(Feedback, EveryFileAndTransferStepIsToldAndTheTitleFollows)
{
    pbxsim::Faults silent;
    silent.answers.push_back({pbxsim::AnswerFault::Silent, 3, 0});
    const std::string named = "anlage.cfg - " + Base;
    const std::string read = "ROM-Version: %r";
    const Step steps[] = {
        {"read", [this] { press("*lesen"); }, read, ""},
        {"edited", [] { editAreaCode("89"); }, read, "*" + Base},
        {"saved", [this] { answerFile(file); press("*sichern"); }, "Gespeichert: anlage.cfg", named},
        {"edited again", [] { editAreaCode("711"); }, "Gespeichert: anlage.cfg", "*" + named},
        {"programming fails",
         [this, &silent] {
             sim.sim.setFaults(silent);
             program();
             takeMessage("tranfer_err");
             sim.sim.setFaults({});
         },
         "Programmieren fehlgeschlagen um %t: die Änderungen bleiben erhalten", "*" + named},
        {"programmed", [this] { program(); }, "Programmiert um %t", named},
        {"edited, then the saved file loaded", [this] { editAreaCode("30"); answerFile(file); press("*laden"); },
         "Geladen: anlage.cfg", named},
        {"a file that is none refused",
         [this] {
             answerFile(other);
             press("*laden");
             takeMessage("wrongFile");
         },
         "Nicht geladen: kaputt.cfg", named},
        {"load cancelled", [] { answerFile(""); guiPress(mainWidget("*laden")); }, "Nicht geladen: kaputt.cfg",
         named},
        {"read again: the window holds no file's content", [this] { press("*lesen"); }, read, ""},
        {"saved under a name typed in UTF-8",
         [this] { answerFile(dir.file("B\xc3\xbcro 100%s.cfg")); press("*sichern"); },
         "Gespeichert: B\xfcro 100%s.cfg", "B\xfcro 100%s.cfg - " + Base},
    };
    for (const Step &s : steps)
        check(s);
}

} // namespace
