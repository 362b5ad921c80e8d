// kelvoractl check over planted faults, and the overview page of the
// simulator's PBX as a real browser shows and prints it.
#include "ctl_env.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

constexpr std::size_t Head = 36; // the file's identification before the record's bytes

std::string word(std::uint32_t v)
{
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

struct Planted {
    const char *name;
    std::vector<std::pair<std::size_t, std::string>> bytes; // record offset, bytes put there
    std::vector<std::string> lines;                         // what check prints
};

TEST(CtlCheck, PlantedFaultsAreFoundAndNamed)
{
    TempDir dir;
    const std::string clean = configFile(pbxsim::defaultState());
    const Planted cases[] = {
        {"Clean", {}, {}},
        // MSN 2 of port 1 rings only at SO #3, which has no internal number.
        {"MsnAtAnAbsentTerminal", {{1 + 115 + 16, word(1u << 13)}},
         {"MSN 4711003 (Port 1) klingelt nur bei Teilnehmern, die es nicht gibt: SO  #3 (ohne interne Rufnummer)"}},
        // MSN 1 assigned to nobody, and nobody set for "Rufweiterschaltung".
        {"MsnToNobody", {{1 + 115 + 8, word(0)}},
         {"MSN 4711002 (Port 1) ist niemandem zugeordnet, und bei \"Rufweiterschaltung\" steht kein vorhandener "
          "Teilnehmer"}},
        {"SameInternalNumber", {{1181 + 3, "11"}}, {"Interne Rufnummer 11 ist mehrfach vergeben: AB  #1, AB  #2"}},
        // Extra bell 2 at AB 8 once its number is gone; the bus of port 2 taken away.
        {"TwoAtOnce", {{1181 + 21, std::string(3, '\0')}, {1472 + 44, word(1u << 7)}},
         {"\"Zweitwecker 2\" nennt Teilnehmer, die es nicht gibt: AB  #8 (ohne interne Rufnummer)"}},
        {"TerminalsWithoutTheirBus", {{1 + 195, "\x82"}},
         {"MSN 4711003 (Port 1) klingelt nur bei Teilnehmern, die es nicht gibt: SO  #0 (Port ohne internen S0-Bus)"}},
    };
    for (const Planted &c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = clean;
        for (const auto &[at, bytes] : c.bytes)
            file.replace(Head + at, bytes.size(), bytes);
        writeFile(dir.file("pbx.cfg"), file);
        CtlRun run = runCtl({"check", dir.file("pbx.cfg")}, {{"LC_ALL=C.UTF-8"}});
        std::string expected;
        for (const std::string &line : c.lines)
            expected += line + "\n";
        // The program's texts are ISO 8859-1: these have no umlaut to convert.
        EXPECT_EQ(run.out, expected);
        EXPECT_EQ(run.status, c.lines.empty() ? 0 : 1) << run.err;
        EXPECT_EQ(run.err, "");
    }

    // File trouble: 3, and nothing on standard output.
    writeFile(dir.file("short.cfg"), clean.substr(0, 1000));
    writeFile(dir.file("names.kwz"), "KwDaten" + std::string(13053, '\0'));
    for (const std::string &path : {dir.file("missing.cfg"), dir.file("short.cfg"), dir.file("names.kwz"), dir.path()}) {
        CtlRun run = runCtl({"check", path});
        EXPECT_EQ(run.status, 3) << path;
        EXPECT_EQ(run.out, "") << path;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    }
    EXPECT_EQ(runCtl({"check"}).status, 1) << "usage";
}

TEST(CtlOverview, RefusesFilesOfTheWrongKind)
{
    TempDir dir;
    writeFile(dir.file("pbx.cfg"), configFile(pbxsim::defaultState()));
    writeFile(dir.file("calls.cvs"), "Name,Telefon\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char *said;
    };
    const Case cases[] = {
        {{"overview", "--speeddial", "@/pbx.cfg", "@/pbx.cfg", "@/o.html"}, 3, "keine Kurzwahl-Datei"},
        {{"overview", "--calls-out", "@/calls.cvs", "@/pbx.cfg", "@/o.html"}, 3, "Zeile 1"},
        {{"overview", "--calls-in", "@/nothing.cvs", "@/pbx.cfg", "@/o.html"}, 3, "nothing.cvs"},
        {{"overview", "@/calls.cvs", "@/o.html"}, 3, "calls.cvs"},
        {{"overview", "--colour", "red", "@/pbx.cfg", "@/o.html"}, 1, "unknown option"},
    };
    for (const Case &c : cases) {
        CtlRun run = runCtl(inDir(c.args, dir.path()));
        EXPECT_EQ(run.status, c.status) << c.said << ": " << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("o.html"))) << c.said;
    }
    CtlRun run = runCtl(inDir({"overview", "@/pbx.cfg", "-"}, dir.path()));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("<!DOCTYPE html>", 0), 0u);
}

// The header names the file by its characters: a name the page's text
// cannot hold whole comes as near as it can, not as its bytes one by one.
TEST(CtlOverview, TheFileIsNamedByItsCharacters)
{
    TempDir dir;
    writeFile(dir.file("B\xC3\xBCro \xE2\x82\xAC.cfg"), configFile(pbxsim::defaultState()));
    CtlRun run = runCtl(inDir({"overview", "@/B\xC3\xBCro \xE2\x82\xAC.cfg", "-"}, dir.path()), {{"LC_ALL=C.UTF-8"}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("<title>\xC3\x9C" "bersicht der Anlage: B\xC3\xBCro EUR.cfg</title>"), std::string::npos)
        << run.out.substr(0, 400);
}

// A tool of the test; a missing one skips.
bool have(const char *program) { return access(program, X_OK) == 0; }

int runTool(const std::vector<std::string> &argv, const std::string &log, int timeout_ms = 120000)
{
    ChildProcess tool;
    std::string error;
    if (!tool.start(argv, log, &error)) {
        ADD_FAILURE() << argv[0] << ": " << error;
        return -1;
    }
    int status = tool.waitExit(timeout_ms);
    if (status == -1)
        tool.terminate();
    return status;
}

// The page of the simulator's PBX as kelvoractl writes it from the files of
// its reads, shown and printed by Chromium and read back from the PDF: every
// MSN and every present subscriber's internal number is there.
TEST_F(CtlLine, OverviewOfTheSimulatorsPbxInChromium)
{
    const char *chromium = "/usr/bin/chromium";
    if (!have(chromium))
        GTEST_SKIP() << "no " << chromium << " (Debian package chromium)";
    ASSERT_TRUE(have("/usr/bin/pdftotext") && have("/usr/bin/pdfinfo")) << "poppler-utils (scripts/deps.sh)";
    pbxsim::State state = pbxsim::defaultState();
    start(state);
    ASSERT_EQ(ctl(inDir({"read-config", "@/pbx.cfg"}, dir.path())).status, 0);
    ASSERT_EQ(ctl(inDir({"read-speeddial", "@/pbx.kwz"}, dir.path())).status, 0);
    ASSERT_EQ(ctl(inDir({"read-subscribers", "@/pbx.tnd"}, dir.path())).status, 0);
    CtlRun calls = ctl(inDir({"calls", "out", "--csv", "--names", "@/pbx.kwz"}, dir.path()));
    ASSERT_EQ(calls.status, 0) << calls.err;
    writeFile(dir.file("out.cvs"), calls.out);
    calls = ctl(inDir({"calls", "in", "--sheet", "--names", "@/pbx.kwz"}, dir.path()));
    ASSERT_EQ(calls.status, 0) << calls.err;
    writeFile(dir.file("in.csv"), calls.out);
    CtlRun run = ctl(inDir({"overview", "--speeddial", "@/pbx.kwz", "--subscribers", "@/pbx.tnd", "--calls-out", "@/out.cvs",
                      "--calls-in", "@/in.csv", "@/pbx.cfg", "@/pbx.html"}, dir.path()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ctl(inDir({"check", "@/pbx.cfg"}, dir.path())).status, 0) << "the simulator's PBX loses no call";

    std::error_code ec;
    std::filesystem::create_directories(TEST_OUTPUT_DIR, ec);
    std::string shot = std::string(TEST_OUTPUT_DIR) + "/overview-default-pbx.png";
    std::string pdf = std::string(TEST_OUTPUT_DIR) + "/overview-default-pbx.pdf";
    std::filesystem::remove(shot, ec);
    std::filesystem::remove(pdf, ec);
    std::vector<std::string> browser = {chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                        "--no-first-run", "--disable-background-networking",
                                        "--disable-component-update", "--disable-sync"};
    auto render = [&](const std::vector<std::string> &what, const std::string &profile) {
        std::vector<std::string> argv = browser;
        argv.push_back("--user-data-dir=" + dir.file(profile));
        argv.insert(argv.end(), what.begin(), what.end());
        argv.push_back("file://" + dir.file("pbx.html"));
        int status = runTool(argv, dir.file(profile + ".log"));
        EXPECT_EQ(status, 0) << readFile(dir.file(profile + ".log"));
    };
    render({"--window-size=1000,1600", "--screenshot=" + shot}, "profile-shot");
    // The page's own header (file and date) and no header of the browser's.
    render({"--no-pdf-header-footer", "--print-to-pdf=" + pdf}, "profile-pdf");
    ASSERT_TRUE(std::filesystem::exists(shot)) << readFile(dir.file("profile-shot.log"));
    ASSERT_TRUE(std::filesystem::exists(pdf)) << readFile(dir.file("profile-pdf.log"));

    ASSERT_EQ(runTool({"/usr/bin/pdftotext", "-enc", "UTF-8", pdf, dir.file("pbx.txt")}, dir.file("pdftotext.log")), 0);
    ASSERT_EQ(runTool({"/usr/bin/pdfinfo", pdf}, dir.file("pdfinfo.log")), 0);
    std::string text = readFile(dir.file("pbx.txt")), info = readFile(dir.file("pdfinfo.log"));
    std::size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    int count = std::atoi(info.c_str() + pages + 6);
    std::cout << "overview: " << shot << ", " << pdf << ": " << count << " pages\n";
    RecordProperty("pdf_pages", count);
    // One page per part at least: findings and PBX, subscribers, MSNs, picture,
    // speed dial, the two call lists.
    EXPECT_GE(count, 7);
    // The printed header on every page: the file's name.
    std::size_t headers = 0;
    for (std::size_t at = 0; (at = text.find("kelvora: pbx.cfg", at)) != std::string::npos; at++)
        headers++;
    EXPECT_EQ(headers, std::size_t(count)) << text;
    EXPECT_NE(text.find("\xC3\x9C" "bersicht der Anlage"), std::string::npos) << "the umlaut survives";

    // Expectations from the state's own bytes.
    for (std::size_t p = 0; p < state.ports.size(); p++) {
        auto &port = state.ports[p];
        if (int(p) >= state.port_count || (port[0] & 0xC0) != 0x80 || (port[0] & 0x30) != 0x10)
            continue;
        for (std::size_t k = 0; k < 10; k++) {
            std::string msn(reinterpret_cast<const char *>(&port[25 + 9 * k]));
            if (!msn.empty()) {
                EXPECT_NE(text.find(msn), std::string::npos) << "MSN " << msn;
            }
        }
    }
    int present = 0;
    for (std::size_t i = 0; i < 30; i++) {
        std::string number(reinterpret_cast<const char *>(&state.rufnr[9 + 3 * i]), 2);
        bool bus = i < 10 || (int(i / 10) < state.port_count && (state.ports[i / 10][0] & 0xC0) == 0x40);
        if (number[0] == 0 || !bus)
            continue;
        present++;
        EXPECT_NE(text.find("Ruf #" + number), std::string::npos) << "subscriber " << i;
    }
    EXPECT_EQ(present, 13);
}

} // namespace

namespace {

// set --pbx asks as the window does: the findings of the configuration as it
// would be programmed come first.
TEST_F(CtlLine, SetPbxSaysTheFindingsFirst)
{
    start();
    CtlRun run = ctl({"set", "--pbx", "--dry-run", "--no-backup", "Rufnummernzuordnung: AB  #2=11"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Achtung: Interne Rufnummer 11 ist mehrfach vergeben: AB  #1, AB  #2\n"
                            "Gegen",
                            0),
              0u)
        << run.out;
    run = ctl({"set", "--pbx", "--dry-run", "--no-backup", "Rufnummernzuordnung: AB  #2=19"});
    EXPECT_EQ(run.out.find("Achtung"), std::string::npos) << run.out;
}

} // namespace
