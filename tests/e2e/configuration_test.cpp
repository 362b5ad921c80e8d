// The whole configuration round as a user does it: the real kelvora under the
// test's X server, clicked through xdotool, against the real pbxsim.
#include "support/e2e_pbxlog.h"
#include "support/e2e_session.h"
#include "support/sim_line.h"

#include <algorithm>
#include <csignal>
#include <cctype>
#include <iostream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every list gets bytes of its own, so a region copied to the wrong place shows.
template <std::size_t N> void fill(std::array<std::uint8_t, N> &list, int seed)
{
    for (std::size_t i = 0; i < N; i++)
        list[i] = std::uint8_t(seed * 37 + i * 11 + 1);
}

// A PBX with two S0 ports, so that programming clears the third port block.
pbxsim::State twoPortPbx()
{
    pbxsim::State s = pbxsim::emptyState();
    s.port_count = 2;
    for (int p = 0; p < pbxsim::PortCount; p++)
        fill(s.ports[std::size_t(p)], 1 + p);
    fill(s.rufnr, 4);
    fill(s.ber, 5);
    fill(s.rufvert, 6);
    fill(s.gebkonf, 7);
    fill(s.stkon, 8);
    fill(s.anldat, 9);
    s.version = "E2E-ROM 2.07 Test";
    return s;
}

// What the program sends, zero runs written as "00*N".
std::vector<std::string> sentByProgram(const std::vector<PbxLogEntry> &log)
{
    std::vector<std::string> out;
    for (const PbxLogEntry &e : log)
        if (e.dir == '<')
            out.push_back(e.bytes.empty() ? "00*" + std::to_string(e.zeros) : hexString(e.bytes));
    return out;
}

std::vector<std::string> expectedRead()
{
    std::vector<std::string> out = {"00*255", hexString(command(98, 0))};
    for (auto [code, index] : std::vector<std::pair<int, int>>{
             {0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {3, 0}, {4, 0}, {6, 0}, {5, 0}, {10, 0}, {64, 0}})
        out.push_back(hexString(command(code, index)));
    // A good end is also synchronised first.
    out.insert(out.end(), {"00*255", hexString(command(99, 0))});
    return out;
}

std::vector<std::string> expectedProgram(const Bytes &image)
{
    struct Piece {
        int code, subcode;
        std::size_t from, count;
    };
    const Piece pieces[] = {{32, 0, 1, 186},      {32, 1, 196, 186},  {32, 2, 391, 186},  {42, -1, 1986, 112},
                            {34, -1, 1172, 100},  {33, 0, 116, 79},   {33, 1, 311, 79},   {33, 2, 506, 79},
                            {35, -1, 1372, 50},   {36, -1, 1472, 50}, {37, -1, 1572, 88}, {38, -1, 1748, 119}};
    std::vector<std::string> out = {"00*255", hexString(command(97, 0))};
    for (const Piece &p : pieces) {
        out.push_back(hexString(dataFrame(p.code, p.subcode, Bytes(&image[p.from], &image[p.from + p.count]), false)));
        out.push_back("00*10"); // padding
    }
    // The last padding runs into the synchronisation before the end.
    out.back() = "00*265";
    out.push_back(hexString(command(99, 0)));
    return out;
}

// The bytes of the trace's dump under title: rows of hex, then the same bytes
// as characters (single letters, so never taken for hex).
Bytes traceDump(const std::string &trace, const std::string &title)
{
    std::size_t at = trace.find("\n\n" + title + "\n");
    if (at == std::string::npos)
        return {};
    at += title.size() + 3;
    std::size_t end = trace.find("\n\n", at);
    std::istringstream words(trace.substr(at, end == std::string::npos ? std::string::npos : end - at));
    Bytes bytes;
    std::string w;
    while (words >> w)
        if (w.size() == 2 && std::isxdigit(static_cast<unsigned char>(w[0])) &&
            std::isxdigit(static_cast<unsigned char>(w[1])))
            bytes.push_back(std::uint8_t(std::stoul(w, nullptr, 16)));
    return bytes;
}

template <std::size_t N> Bytes bytesOf(const std::array<std::uint8_t, N> &a, std::size_t from = 0, std::size_t n = N)
{
    return Bytes(a.begin() + long(from), a.begin() + long(from + n));
}

using EndToEnd = E2eSession;

TEST_F(EndToEnd, ReadSaveProgramAndQuit)
{
    const pbxsim::State pbxState = twoPortPbx();
    startBoth(pbxState, 1);
    if (HasFatalFailure())
        return;

    readConfiguration();
    if (HasFatalFailure())
        return;
    const Bytes image = imageOf(pbxState);
    std::vector<PbxLogEntry> log = parsePbxLog(readFile(logPath));
    EXPECT_EQ(sentByProgram(log), expectedRead());
    std::vector<Bytes> answers = framesOf(log, '>');
    ASSERT_EQ(answers.size(), 15u);
    EXPECT_EQ(answers.front(), (Bytes{4, 96, 0, 0}));
    EXPECT_EQ(answers.back(), (Bytes{4, 96, 0, 0}));
    EXPECT_TRUE(screenshot(mainWindow, testOutputDir() + "/main-after-read.png"));

    // "Sichern": the file dialog opens only because the read made the button
    // usable; the path is typed into its selection field.
    Window fileDialog = openFileDialog(mainWindow, "sichern", "Konfiguration sichern");
    ASSERT_NE(fileDialog, None);
    std::string cfgPath = dir.file("e2e.cfg");
    chooseFile(fileDialog, cfgPath);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(waitIdle(mainWindow));
    std::string id = "Daten Konfigurator DORVAN IS-x V1.4";
    Bytes expectedFile(id.begin(), id.end());
    expectedFile.push_back(0);
    expectedFile.insert(expectedFile.end(), image.begin(), image.end());
    std::string saved = readFile(cfgPath);
    ASSERT_EQ(saved.size(), 2134u) << "in " << dir.path() << ": " << kelvora.output();
    EXPECT_EQ(Bytes(saved.begin(), saved.end()), expectedFile);

    // "Programmieren": the two-port PBX gets its third port block as zeros.
    Bytes programmed = image;
    std::fill(programmed.begin() + 391, programmed.begin() + 586, 0);
    std::size_t before = log.size();
    programConfiguration();
    if (HasFatalFailure())
        return;
    log = parsePbxLog(readFile(logPath));
    std::vector<PbxLogEntry> programLog(log.begin() + long(before), log.end());
    EXPECT_EQ(sentByProgram(programLog), expectedProgram(programmed));
    answers = framesOf(programLog, '>');
    EXPECT_EQ(answers, std::vector<Bytes>(14, Bytes{4, 96, 0, 0}));
    for (const PbxLogEntry &e : log)
        EXPECT_NE(e.dir, '#') << "pbxsim: " << e.note;

    // pbxsim now holds what was programmed: the third port block cleared up to
    // its last byte, which no frame reaches, everything else as it was.
    pbxsim::State after = quitBoth(), expected = pbxState;
    std::fill(expected.ports[2].begin(), expected.ports[2].begin() + 194, 0);
    EXPECT_TRUE(after == expected);
    EXPECT_EQ(bytesOf(after.ports[2]), bytesOf(expected.ports[2]));
    EXPECT_EQ(kelvora.output(), "");

    // What the program took from the answers, as it traced them (the trace is
    // complete once the program has closed it).
    if (kelvora.tracePath().empty()) {
        std::cout << "[ NOTE     ] no trace: " << kelvora.traceNote() << "\n";
    } else {
        std::string trace = kelvora.trace();
        EXPECT_NE(trace.find("********************* START READ ******************\n"), std::string::npos) << trace;
        EXPECT_NE(trace.find("********************* START WRITE ******************\n"), std::string::npos) << trace;
        auto dump = [&](const std::string &title) { return traceDump(trace, title); };
        for (std::size_t p = 0; p < 3; p++) {
            Bytes port = {std::uint8_t(pbxState.port_count)};
            Bytes block = bytesOf(pbxState.ports[p]);
            port.insert(port.end(), block.begin(), block.end());
            EXPECT_EQ(dump("K_READ_SO_PORT #" + std::to_string(p)), port) << p;
            EXPECT_EQ(dump("K_READ_S0_TLN #" + std::to_string(p)), bytesOf(pbxState.ports[p], 115, 79)) << p;
        }
        EXPECT_EQ(dump("K_READ_TLN_RUFNR_LIST"), bytesOf(pbxState.rufnr));
        EXPECT_EQ(dump("K_READ_TLN_BER_LIST"), bytesOf(pbxState.ber));
        EXPECT_EQ(dump("K_READ_TLN_RUF_VERT_LIST"), bytesOf(pbxState.rufvert));
        EXPECT_EQ(dump("K_READ_ST_KON_LIST"), bytesOf(pbxState.stkon));
        EXPECT_EQ(dump("K_READ_TLN_GEB_KONF_LIST"), bytesOf(pbxState.gebkonf));
        EXPECT_EQ(dump("K_READ_ANL_DAT_LIST"), bytesOf(pbxState.anldat));
        Bytes version(pbxState.version.begin(), pbxState.version.end());
        version.push_back(0);
        EXPECT_EQ(dump("K_GET_EPROM_VER"), version);
    }
}

// SIGTERM during "Auslesen" (a session ending, a kill): the window ends the
// transmission as a failed one ends, says what the PBX holds and exits with
// 128 + 15, the lock removed.
TEST_F(EndToEnd, ASignalDuringAReadEndsTheTransmissionAndTheProgram)
{
    startBoth(twoPortPbx(), -1, 4800); // the read takes seconds
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(clickWidgetUntil(mainWindow, "lesen", [&] { return logged(command(98, 0)); }));
    kill(kelvora.pid(), SIGTERM);
    int status = kelvora.waitExit(Patient);
    ASSERT_NE(status, -1) << "kelvora did not quit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << "wait status " << status;
    EXPECT_NE(kelvora.output().find("kelvora: Abgebrochen (SIGTERM): an der Anlage wurde nichts ge"), std::string::npos)
        << kelvora.output();
    EXPECT_NE(access(lockFileFor(device).c_str(), F_OK), 0) << lockFileFor(device) << " left behind";
    for (int i = 0; i < 200 && !logged(command(99, 0)); i++)
        usleep(10000);
    EXPECT_TRUE(logged(command(99, 0))) << "no end of the transmission";
}

} // namespace
