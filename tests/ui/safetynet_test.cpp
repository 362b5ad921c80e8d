// The safety net in the window: each read's backup is the file "Sichern"
// writes, and the question before programming says what changes against what.
#include "../config/program.h"

#include "app/app.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzformat.h"
#include "subscriber/tndentries.h"
#include "support/answers.h"
#include "support/tempdir.h"
#include "ui/safetynet.h"

#include <Xm/MessageB.h>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> filesIn(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    return names;
}

std::string written(bool (*write)(FILE *))
{
    char *bytes = nullptr;
    std::size_t size = 0;
    FILE *fp = open_memstream(&bytes, &size);
    write(fp);
    std::fclose(fp);
    std::string s(bytes, size);
    std::free(bytes);
    return s;
}

class SafetyNet : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        setSafetySettings({backups.path(), 5, true});
    }
    TempDir backups;

    // Asks before programming the configuration; the question's text ("" when
    // none came) and whether its default is "Abbrechen".
    std::pair<std::string, bool> ask(bool yes, bool *go)
    {
        std::string text;
        bool defaultNo = false;
        whenUp(isQuestion, [&](Widget box) {
            text = guiText(box, XmNmessageString);
            unsigned char type = 0;
            XtVaGetValues(box, XmNdefaultButtonType, &type, nullptr);
            defaultNo = type == XmDIALOG_CANCEL_BUTTON;
            XtCallCallbacks(box, yes ? XmNokCallback : XmNcancelCallback, nullptr);
        });
        *go = confirmProgramming(programTop(), FileKind::Configuration);
        return {text, defaultNo};
    }
};

} // namespace

TEST_F(SafetyNet, EachReadLeavesTheFileSichernWrites)
{
    PbxLine line;
    const struct {
        const char *what;
        std::function<void()> read;
        bool (*save)(FILE *);
    } reads[] = {
        {"configuration", [] { readConfig(); }, [](FILE *fp) { return writeCfgStream(fp, CfgVendor::Dorvan, all); }},
        {"speed dial", [] { readSpeedDial(programTop()); }, [](FILE *fp) { return writeKwzStream(fp, all); }},
        {"subscriber data", [] { readTlnConfig(programTop(), nullptr, nullptr); },
         [](FILE *fp) { return writeTndStream(fp, all); }},
    };
    std::size_t count = 0;
    for (const auto &r : reads) {
        r.read();
        std::vector<std::string> files = filesIn(backups.path());
        ASSERT_EQ(files.size(), ++count) << r.what;
        std::string newest;
        for (const std::string &f : files)
            if (readFile(f) == written(r.save))
                newest = f;
        EXPECT_FALSE(newest.empty()) << r.what << ": no backup holds what Sichern writes";
    }

    // Where others may write, no backup: the message line names the folder and the fix.
    chmod(backups.path().c_str(), 0777);
    readConfig();
    EXPECT_EQ(filesIn(backups.path()).size(), count);
    EXPECT_STREQ(XmtMsgLineGetString(XmtNameToWidget(programTop(), "*theline")),
                 ("Keine Sicherungskopie in " + backups.path() +
                  ": andere dürfen in diesem Ordner schreiben; abhelfen: chmod go-w " + backups.path())
                     .c_str());
}

TEST_F(SafetyNet, QuestionSaysWhatChangesAgainstWhat)
{
    PbxLine line;
    bool go = false;
    auto [unknown, defaultNo] = ask(true, &go);
    EXPECT_NE(unknown.find("nicht bekannt"), std::string::npos) << unknown;
    EXPECT_TRUE(defaultNo) << "Abbrechen is the default";
    EXPECT_TRUE(go) << "Programmieren";

    readConfig();
    EXPECT_EQ(ask(false, &go).first, "Gegenüber dem letzten Auslesen ändert sich in der Anlage nichts.");
    EXPECT_FALSE(go) << "Abbrechen";

    std::string was(recText(rec::AnlDatList + 47));
    std::strcpy(recText(rec::AnlDatList + 47), "7251");
    EXPECT_EQ(ask(false, &go).first, "Gegenüber dem letzten Auslesen ändert sich in der Anlage (alt -> neu):\n"
                                     "Globale Anlagendaten: Ortsvorwahl: " + was + " -> 7251");

    // In a new session the newest backup of the device stands for the last read.
    forgetPbxHolds();
    std::string text = ask(false, &go).first;
    EXPECT_EQ(text.rfind("Gegenüber der Sicherung konfiguration-", 0), 0u) << text;
    EXPECT_NE(text.find("Ortsvorwahl: " + was + " -> 7251"), std::string::npos) << text;

    setSafetySettings({backups.path(), 5, false});
    bool asked = false;
    answerQuestion(false, &asked);
    EXPECT_TRUE(confirmProgramming(programTop(), FileKind::Configuration));
    EXPECT_FALSE(asked) << "confirmProgramming False asks nothing";
}

// What the check finds comes first in the question, and "Abbrechen" stays the default.
TEST_F(SafetyNet, FindingsComeFirstInTheQuestion)
{
    PbxLine line;
    readConfig();
    bool go = false;
    EXPECT_EQ(ask(false, &go).first.find("Achtung"), std::string::npos) << "the simulator's PBX loses no call";
    putLe32(recAt(rec::PortBlock0 + rec::MsnZuordInBlock + rec::MsnZuordSize), 0); // MSN 1 to nobody
    std::memcpy(recText(rec::RufnrList + rec::IntNumInShare + rec::IntNumSize), "11", 2); // AB 2 as AB 1
    auto [text, defaultNo] = ask(true, &go);
    EXPECT_EQ(text.rfind("Achtung: MSN 4711002 (Port 1) ist niemandem zugeordnet, und bei \"Rufweiterschaltung\" "
                         "steht kein vorhandener Teilnehmer\n"
                         "Achtung: Interne Rufnummer 11 ist mehrfach vergeben: AB  #1, AB  #2\n\n"
                         "Gegenüber dem letzten Auslesen ändert sich",
                         0),
              0u)
        << text;
    EXPECT_TRUE(defaultNo) << "Abbrechen is still the default";
    EXPECT_TRUE(go);
}
