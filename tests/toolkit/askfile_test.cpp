// Asking for a file: opened in the asked mode, buffers filled, never blocking.
#include <gtest/gtest.h>

#include "support/e2e_x.h"
#include "support/gui.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"

#include <Xm/FileSB.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>

#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Buffers {
    char file[256] = "";
    char dir[256] = "";
    char pattern[256] = "";
};

// Chooses path in the active file box and presses OK.
void choose(Widget fsb, const std::string &path)
{
    XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT), const_cast<char *>(path.c_str()));
    guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
}

Boolean ask(const TempDir &dir, const char *mode, Buffers &b, FILE **f, int fileLen = 256)
{
    return XmtAskForFile(guiTop(), "*filetest_dlg", "Datei laden:", dir.path().c_str(), "*.cfg", f, mode, b.file,
                         fileLen, b.dir, sizeof b.dir, b.pattern, sizeof b.pattern, "No Help!");
}

// A blocking open would hang the test: let the alarm end it instead.
struct Watchdog {
    Watchdog() { alarm(20); }
    ~Watchdog() { alarm(0); }
};

TEST(AskForFile, OpensTheChosenFileAndFillsTheBuffers)
{
    TempDir dir;
    std::ofstream(dir.file("a.cfg")) << "Daten";
    Buffers b;
    FILE *f = nullptr;
    std::string shownDir;
    guiWhenActive([&](Widget fsb) {
        shownDir = guiText(fsb, XmNdirectory);
        choose(fsb, dir.file("a.cfg"));
    });
    ASSERT_TRUE(ask(dir, "r", b, &f));
    ASSERT_NE(f, nullptr);
    char data[16] = "";
    EXPECT_EQ(fread(data, 1, sizeof data, f), 5u);
    EXPECT_EQ(std::string(data, 5), "Daten");
    fclose(f);
    EXPECT_EQ(shownDir.rfind(dir.path(), 0), 0u) << shownDir;
    EXPECT_EQ(std::string(b.file), dir.file("a.cfg"));
    EXPECT_EQ(std::string(b.dir), dir.path());
    EXPECT_STREQ(b.pattern, "*.cfg");

    // Mode "w" creates the file and the name is cut to its buffer.
    Buffers small;
    guiWhenActive([&](Widget fsb) { choose(fsb, dir.file("neu.cfg")); });
    ASSERT_TRUE(ask(dir, "w", small, &f, 10));
    fputs("geschrieben", f);
    fclose(f);
    std::ifstream in(dir.file("neu.cfg"));
    std::string content;
    in >> content;
    EXPECT_EQ(content, "geschrieben");
    EXPECT_EQ(std::string(small.file), dir.file("neu.cfg").substr(0, 9));
}

TEST(AskForFile, CancelAnswersFalse)
{
    TempDir dir;
    Buffers b;
    strcpy(b.file, "unverändert");
    FILE *f = reinterpret_cast<FILE *>(1);
    guiWhenActive([&](Widget fsb) { guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON)); });
    EXPECT_FALSE(ask(dir, "r", b, &f));
    EXPECT_EQ(f, nullptr);
    EXPECT_STREQ(b.file, "unverändert");
    EXPECT_EQ(XmtActiveDialog(), nullptr);
}

TEST(AskForFile, UnopenableFileKeepsTheDialogOpenWithAMessage)
{
    TempDir dir;
    std::ofstream(dir.file("da.cfg")) << "x";
    Buffers b;
    FILE *f = nullptr;
    bool stayed = false;
    Widget message = nullptr;
    guiWhenActive([&](Widget fsb) {
        // A name typed in UTF-8 is told in the box's ISO 8859-1.
        choose(fsb, dir.file("f\xc3\xbcnf.cfg"));
        stayed = XmtActiveDialog() == fsb;
        message = XmtLastMessageBox("openFailed");
        if (message) {
            EXPECT_TRUE(XtIsManaged(message));
            EXPECT_NE(guiText(message, XmNmessageString).find("/f\xfcnf.cfg\""), std::string::npos)
                << guiText(message, XmNmessageString);
            guiPress(guiFind(message, "okButton"));
        }
        choose(fsb, dir.file("da.cfg"));
    });
    EXPECT_TRUE(ask(dir, "r", b, &f));
    EXPECT_TRUE(stayed);
    EXPECT_NE(message, nullptr);
    EXPECT_EQ(std::string(b.file), dir.file("da.cfg"));
    if (f)
        fclose(f);
}

TEST(AskForFile, FifoNeverBlocks)
{
    TempDir dir;
    std::string fifo = dir.file("pipe.cfg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Watchdog watchdog;

    // Reading: handed back at once (the caller finds it is not a regular file).
    Buffers b;
    FILE *f = nullptr;
    guiWhenActive([&](Widget fsb) { choose(fsb, fifo); });
    ASSERT_TRUE(ask(dir, "r", b, &f));
    ASSERT_NE(f, nullptr);
    struct stat st;
    ASSERT_EQ(fstat(fileno(f), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    fclose(f);

    // Writing without a reader: refused with a message, the dialog stays.
    bool stayed = false;
    Widget message = nullptr;
    guiWhenActive([&](Widget fsb) {
        choose(fsb, fifo);
        stayed = XmtActiveDialog() == fsb;
        message = XmtLastMessageBox("openFailed");
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
    });
    EXPECT_FALSE(ask(dir, "w", b, &f));
    EXPECT_TRUE(stayed);
    EXPECT_NE(message, nullptr);
}

} // namespace

// A registered place is one button away, and its files show with the dialog's pattern.
TEST(AskForFile, PlaceButtonShowsItsDirectory)
{
    TempDir start, place;
    std::ofstream(place.file("k-1.cfg")) << "1";
    std::ofstream(place.file("k-2.kwz")) << "2";
    XmtAddFileDialogPlace("placetest_dlg", "Sicherungen", [&place] { return place.path(); });
    std::string label;
    std::vector<std::string> files;
    guiWhenActive([&](Widget fsb) {
        Widget button = guiFind(fsb, "place");
        label = guiText(button, XmNlabelString);
        guiPress(button);
        files = listItems(XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST));
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
    });
    XmtFileChoice choice;
    EXPECT_FALSE(XmtChooseFile(guiTop(), "placetest_dlg", "Datei laden:", start.path().c_str(), "*.cfg", False, "",
                               "", "", "No Help!", &choice));
    EXPECT_EQ(label, "Sicherungen");
    EXPECT_EQ(files, std::vector<std::string>{"k-1.cfg"});
}

namespace {

struct FileStartCase {
    const char *what;
    bool folderThere;
    const char *filename; // "%s" stands for the folder handed in
};

// Where a dialog opens and what it proposes, read off the box.
struct Shown {
    std::string directory, text;
    Dimension filterWidth = 0, listWidth = 0;
};

Shown shownFor(const std::string &folder, const std::string &filename)
{
    Shown shown;
    guiWhenActive([&](Widget fsb) {
        shown.directory = guiText(fsb, XmNdirectory);
        Widget text = XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT);
        char *t = XmTextFieldGetString(text);
        shown.text = t;
        XtFree(t);
        XtVaGetValues(XmFileSelectionBoxGetChild(fsb, XmDIALOG_FILTER_TEXT), XmNwidth, &shown.filterWidth, nullptr);
        XtVaGetValues(XtParent(XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST)), XmNwidth, &shown.listWidth, nullptr);
        screenshot(XtWindow(XtParent(fsb)), testOutputDir() + "/file-dialog-start.png");
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
    });
    XmtFileChoice choice;
    XmtChooseFile(guiTop(), "startdir_dlg", "Datei sichern:", folder.c_str(), "*.cfg", True, filename.c_str(),
                  folder.c_str(), "", "No Help!", &choice);
    return shown;
}

} // namespace

// A folder that is not there (the installed one, run from a build tree) opens
// the home folder with the standard name; an empty file list is not a sliver.
TEST(AskForFile, StartsInTheFolderOnlyWhereItExists)
{
    TempDir folder, home;
    const char *oldHome = getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.path().c_str(), 1);
    const FileStartCase cases[] = {
        {"folder there, standard name", true, "%s/standard.cfg"},
        {"folder gone, standard name", false, "%s/standard.cfg"},
        {"folder gone, bare name", false, "standard.cfg"},
        {"folder gone, no name", false, ""},
    };
    for (const FileStartCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = c.folderThere ? folder.path() : folder.file("fehlt");
        std::string name = c.filename;
        if (size_t at = name.find("%s"); at != std::string::npos)
            name.replace(at, 2, dir);
        Shown shown = shownFor(dir, name);
        std::string expectedDir = c.folderThere ? folder.path() : home.path();
        EXPECT_EQ(shown.directory.rfind(expectedDir, 0), 0u) << shown.directory;
        std::string expectedText = name.find('/') == std::string::npos ? name : expectedDir + "/standard.cfg";
        EXPECT_EQ(shown.text, expectedText);
        EXPECT_GE(shown.listWidth * 3, shown.filterWidth * 2) << "file list a sliver";
    }
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}
