// The main window's "Übersicht": the page of the record as it is now, in the
// user's own folder, opened with the browse command; a command that cannot be
// started is told.
#include <gtest/gtest.h>

#include "app/overview.h"
#include "config/record.h"
#include "support/bounded.h"
#include "support/dialogs.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/tempdir.h"

#include <X11/Xresource.h>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <thread>

namespace {

class OverviewButton : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        freshRecord();
        for (const char *v : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"})
            if (const char *was = std::getenv(v))
                saved.emplace_back(v, was);
        mkdir(dir.file("run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.file("run").c_str(), 1);
        // A line that loses calls: MSN 4711 rings only at AB 3, which has no number.
        all[1] = 0x92;
        std::memcpy(recText(1 + 25), "4711", 4);
        putLe32(recAt(1 + 115), 1u << 2);
        std::memcpy(recText(1181), "11", 2);
    }
    void TearDown() override
    {
        browse("xdg-open %s");
        for (const char *v : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"})
            unsetenv(v);
        for (const auto &[v, was] : saved)
            setenv(v.c_str(), was.c_str(), 1);
    }
    void browse(const std::string &command)
    {
        XrmDatabase db = XtDatabase(XtDisplay(programTop()));
        XrmPutStringResource(&db, "Kelvora.browseCommand", command.c_str());
    }
    std::string page() const { return readFile(dir.file("run/kelvora/uebersicht.html")); }
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(OverviewButton, WritesThePageAndOpensItWithTheBrowseCommand)
{
    writeFile(dir.file("browser"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
    chmod(dir.file("browser").c_str(), 0755);
    browse(dir.file("browser") + " --new-window %s");
    guiPress(mainWidget("*uebersicht"));
    EXPECT_EQ(takeMessage("browseError"), "");
    for (int i = 0; i < 100 && readFile(dir.file("browser.args")).empty(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readFile(dir.file("browser.args")), "--new-window\n" + dir.file("run/kelvora/uebersicht.html") + "\n");
    EXPECT_EQ(page().rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page().find("<strong>4711</strong>"), std::string::npos);
    EXPECT_NE(page().find("MSN 4711 (Port 1) klingelt nur bei"), std::string::npos) << "the finding at the top";
    struct stat st;
    ASSERT_EQ(stat(dir.file("run/kelvora").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(OverviewButton, ACommandThatCannotStartIsTold)
{
    browse(dir.file("no-such-browser") + " %s");
    guiPress(mainWidget("*uebersicht"));
    std::string told = takeMessage("browseError");
    EXPECT_NE(told.find("ließ sich nicht starten"), std::string::npos) << told;
    EXPECT_NE(told.find(dir.file("run/kelvora/uebersicht.html")), std::string::npos) << told;
    EXPECT_NE(page().find("4711"), std::string::npos) << "the page is written all the same";
}

TEST_F(OverviewButton, TheFolderIsTheUsersOwn)
{
    // Runtime folder first; one others may enter is passed over for the cache.
    EXPECT_EQ(overviewFolder(), dir.file("run/kelvora"));
    chmod(dir.file("run/kelvora").c_str(), 0755);
    setenv("XDG_CACHE_HOME", dir.file("cache").c_str(), 1);
    mkdir(dir.file("cache").c_str(), 0700);
    EXPECT_EQ(overviewFolder(), dir.file("cache/kelvora"));
    unsetenv("XDG_RUNTIME_DIR");
    unsetenv("XDG_CACHE_HOME");
    setenv("HOME", dir.file("home").c_str(), 1);
    mkdir(dir.file("home").c_str(), 0755);
    EXPECT_EQ(overviewFolder(), dir.file("home/.cache/kelvora"));
    setenv("HOME", "relative", 1);
    EXPECT_EQ(overviewFolder(), "");
}

TEST(OverviewBrowse, CommandLines)
{
    const std::string page = "/run/user/1000/kelvora/a b.html";
    struct Case {
        const char *command;
        std::vector<std::string> args;
    } cases[] = {
        {"xdg-open %s", {"xdg-open", page}},
        {"  firefox   --new-window  %s ", {"firefox", "--new-window", page}},
        {"sensible-browser", {"sensible-browser", page}},
        {"chromium --app=file://%s", {"chromium", "--app=file://" + page}},
        {"sh -c 'rm -rf ~' %s", {"sh", "-c", "'rm", "-rf", "~'", page}}, // quotes are kept: no shell reads the line
    };
    for (const Case &c : cases)
        EXPECT_EQ(browseArguments(c.command, page), c.args) << c.command;
    // A folder named with "%s" (from $HOME or $XDG_CACHE_HOME) stays as it is.
    const std::string odd = "/home/%s/.cache/kelvora/uebersicht.html";
    Bounded r = runBounded(5, [&] {
        return browseArguments("xdg-open %s", odd) == std::vector<std::string>{"xdg-open", odd} ? 0 : 1;
    });
    EXPECT_TRUE(r.finished) << "still splitting after " << r.seconds << " s";
    EXPECT_EQ(r.result, 0);
}

} // namespace
