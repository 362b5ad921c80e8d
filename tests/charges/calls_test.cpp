// The call lists: how records read as lines (a table), the reads against the
// simulator on a pty, the erase, and what reaches files and the printer.
#include <gtest/gtest.h>

#include "../config/program.h"
#include "../settings/fixture.h"

#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "phonebook/latin1.h"
#include "support/answers.h"
#include "support/tempdir.h"
#include "toolkit/internal.h"

#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <array>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<unsigned char>;
using Number = std::array<unsigned char, 12>;

// Digits two to a byte, high nibble first, 0xF after the last.
Number packed(const char *digits)
{
    Number out;
    out.fill(0xFF);
    for (std::size_t i = 0; digits[i] && i < 24; i++) {
        unsigned char nibble = static_cast<unsigned char>(digits[i] - '0');
        unsigned char &b = out[i / 2];
        b = i % 2 == 0 ? static_cast<unsigned char>(nibble << 4 | 0x0F) : static_cast<unsigned char>((b & 0xF0) | nibble);
    }
    return out;
}

Number raw(std::initializer_list<unsigned char> bytes)
{
    Number out;
    out.fill(0xFF);
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return out;
}

struct When {
    unsigned char month, day, hour, minute;
};

Bytes inRecord(unsigned char who, When t, const Number &number)
{
    Bytes r(17);
    r[0] = who;
    r[1] = t.month;
    r[2] = t.day;
    r[3] = t.hour;
    r[4] = t.minute;
    std::copy(number.begin(), number.end(), r.begin() + 5);
    return r;
}

Bytes outRecord(std::uint32_t charge, std::uint16_t seconds, unsigned char who, When t, const Number &number)
{
    Bytes r(23);
    for (int i = 0; i < 4; i++)
        r[std::size_t(i)] = static_cast<unsigned char>(charge >> (8 * i));
    r[4] = static_cast<unsigned char>(seconds);
    r[5] = static_cast<unsigned char>(seconds >> 8);
    Bytes tail = inRecord(who, t, number);
    std::copy(tail.begin(), tail.end(), r.begin() + 6);
    return r;
}

// Where the time column of a line ends: its first ':' is the time's.
std::size_t afterTime(const std::string &line)
{
    return std::min(line.find(' ', line.find(':')), line.size());
}

std::string name38(const std::string &name) { return name + std::string(name.size() < 38 ? 38 - name.size() : 0, ' '); }

// The speed-dial directory the names come from.
void directory()
{
    const struct {
        int slot;
        const char *number, *name;
    } entries[] = {
        {0, "0301234567", "Praxis"},
        {5, "4711", "Müller, \"Hans\""},
        {7, "", "Ohne Nummer"},
        {9, "4711", "Zweiter mit 4711"},
        {12, "123456789012345678901234", "Langer Name mit genau achtunddreißig Z"},
    };
    for (const auto &e : entries) {
        std::strncpy(recText(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(e.slot)), e.number, rec::KwzNumberSize);
        std::strncpy(recText(rec::KwzNames + rec::KwzNameSize * std::size_t(e.slot)), e.name, rec::KwzNameSize);
    }
    setRecInt(rec::KwzPresent, 1);
}

const When xmas{12, 24, 13, 5};

struct OutCase {
    const char *what;
    Bytes record;
    bool names;
    const char *text; // without the name column
    const char *name;
    const char *csv;
};

const OutCase outCases[] = {
    {"the worked example", outRecord(123, 3725, 0x21, xmas, packed("0301234567")), true,
     "0007 21 24.12 13:05   1.23 01:02:05          0301234567 ", "Praxis", "21,24.12,13:05,3725,1.23,#0301234567,Praxis"},
    {"no directory, no names", outRecord(123, 3725, 0x21, xmas, packed("0301234567")), false,
     "0007 21 24.12 13:05   1.23 01:02:05          0301234567 ", "", "21,24.12,13:05,3725,1.23,#0301234567,"},
    {"analogue", outRecord(0, 0, 0x05, xmas, raw({0xFF})), true,
     "0007  5 24.12 13:05   0.00 00:00:00               ----- ", "Analoger Teilnehmer",
     " 5,24.12,13:05,0,0.00,#-----,Analoger Teilnehmer"},
    {"analogue without directory", outRecord(0, 0, 0x05, xmas, raw({0xFF})), false,
     "0007  5 24.12 13:05   0.00 00:00:00               ----- ", "", " 5,24.12,13:05,0,0.00,#-----,"},
    {"private call whatever came before", outRecord(5, 61, 0xAA, xmas, raw({0x01, 0x23, 0xBB, 0x45})), true,
     "0007 -- 24.12 13:05   0.05 00:01:01                  #9 ", "Privatgespräch", "--,24.12,13:05,61,0.05,##9,Privatgespräch"},
    {"longest call, dearest charge", outRecord(4294967295u, 65535, 0x11, xmas, packed("4711")), true,
     "0007 11 24.12 13:05 42949672.95 18:12:15                4711 ", "Müller, \"Hans\"",
     "11,24.12,13:05,65535,42949672.95,#4711,\"Müller, \"\"Hans\"\"\""},
    {"unset date bytes", outRecord(100, 59, 0x12, {0xFF, 0xFF, 0xFF, 0xFF}, packed("99")), true,
     "0007 12 00.00 00:255   1.00 00:00:59                  99 ", "", "12,00.00,00:255,59,1.00,#99,"},
    {"24 digits without an end", outRecord(1, 3600, 0x12, xmas, packed("123456789012345678901234")), true,
     "0007 12 24.12 13:05   0.01 01:00:00 123456789012345678901234 ", "Langer Name mit genau achtunddreißig Z",
     "12,24.12,13:05,3600,0.01,#123456789012345678901234,Langer Name mit genau achtunddreißig Z"},
    {"nibbles past 9, a low end nibble", outRecord(1, 1, 0x12, xmas, raw({0xAC, 0xDE, 0x7F, 0x12})), true,
     "0007 12 24.12 13:05   0.01 00:00:01               :<=>7 ", "", "12,24.12,13:05,1,0.01,#:<=>7,"},
    {"no digits matches no unused slot", outRecord(1, 1, 0x12, xmas, raw({0xF0})), true,
     "0007 12 24.12 13:05   0.01 00:00:01                     ", "", "12,24.12,13:05,1,0.01,#,"},
};

class CallLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        programTop();
        freshRecord();
        // A fresh program has read nothing yet.
        for (CallList *list : {&outCallList(), &inCallList()}) {
            list->store.clear();
            if (Widget shown = list->dialog ? XmtNameToWidget(list->dialog, list->listName) : nullptr)
                XmListDeleteAllItems(shown);
        }
    }

    static void withOut(const std::function<void(Widget)> &drive)
    {
        runModal([] { doKitOut(programTop()); }, drive, "*okay");
    }
    static void withIn(const std::function<void(Widget)> &drive)
    {
        runModal([] { doKitIn(programTop()); }, drive, "*okay");
    }
    // "Auslesen", with the offer of a speed-dial file declined should it come.
    static bool read(Widget dialog)
    {
        auto offered = std::make_shared<bool>(false);
        AnswerTicket answer = whenUp(
            isFileBox,
            [offered](Widget fsb) {
                *offered = true;
                guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
            },
            offered.get());
        guiPress(guiFind(dialog, "*getgeb"));
        *answer = true; // the read is over: a later file dialog is not its
        return *offered;
    }
    static std::vector<std::string> lines(Widget dialog, const char *list) { return listItems(guiFind(dialog, list)); }
    TempDir dir;
};

// n outgoing records, each telling its position apart (charge, minute, digits).
std::vector<Bytes> outRecords(int n)
{
    std::vector<Bytes> records;
    for (int k = 0; k < n; k++) {
        std::string digits = "0" + std::to_string(300000 + k);
        records.push_back(outRecord(std::uint32_t(k), std::uint16_t(k), std::uint8_t(0x11 + k % 3),
                                    {std::uint8_t(1 + k % 12), std::uint8_t(1 + k % 28), std::uint8_t(k % 24),
                                     std::uint8_t(k % 60)},
                                    packed(digits.c_str())));
    }
    return records;
}

std::vector<Bytes> inRecords(int n)
{
    std::vector<Bytes> records;
    for (int k = 0; k < n; k++)
        records.push_back(inRecord(std::uint8_t(0x11 + k % 3), {1, 2, 8, std::uint8_t(k)}, packed(std::to_string(4700 + k).c_str())));
    return records;
}

pbxsim::State withCalls(const std::vector<Bytes> &out, const std::vector<Bytes> &in)
{
    pbxsim::State s = pbxsim::emptyState();
    for (const Bytes &r : out) {
        pbxsim::OutCall c;
        std::copy(r.begin(), r.end(), c.begin());
        s.outcalls.push_back(c);
    }
    for (const Bytes &r : in) {
        pbxsim::InCall c;
        std::copy(r.begin(), r.end(), c.begin());
        s.incalls.push_back(c);
    }
    return s;
}

Bytes joined(const std::vector<Bytes> &records, std::size_t capacity)
{
    Bytes all;
    for (const Bytes &r : records)
        all.insert(all.end(), r.begin(), r.end());
    all.resize(capacity, 0);
    return all;
}

// The line of inRecords' k-th record, without a name.
std::string inLine(int k)
{
    char start[32];
    std::snprintf(start, sizeof start, "%04d %X 02.01 08:%02d", k, 0x11 + k % 3, k);
    return start + std::string(16, ' ') + std::to_string(4700 + k) + std::string(39, ' ');
}

Bytes request6(int index) { return {6, 13, 0, 0, std::uint8_t(index), std::uint8_t(index >> 8)}; }
Bytes request5(int index) { return command(14, index); }
const Bytes beginRead{5, 0x62, 0, 0, 0}, beginWrite{5, 0x61, 0, 0, 0}, endOfTransmission{5, 0x63, 0, 0, 0};

} // namespace

TEST_F(CallLists, RecordsReadAsTextAndSpreadsheetLines)
{
    for (const OutCase &c : outCases) {
        SCOPED_TRACE(c.what);
        freshRecord();
        if (c.names)
            directory();
        std::string text = printOutcallbuf(7, c.record.data(), CallForm::Text);
        EXPECT_EQ(text, c.text + name38(c.name));
        EXPECT_EQ(printOutcallbuf(7, c.record.data(), CallForm::Spreadsheet), c.csv);
        // The incoming record is the outgoing one's last 17 bytes: its line
        // lacks the charge and the duration.
        std::string in = printIncallbuf(7, c.record.data() + 6);
        std::size_t inTime = afterTime(in), outTime = afterTime(text);
        EXPECT_EQ(in.substr(0, inTime), text.substr(0, outTime));
        EXPECT_EQ(in.substr(inTime), text.substr(text.size() - (in.size() - inTime)));
    }
    freshRecord();
    EXPECT_EQ(printOutcallbuf(7, outCases[0].record.data(), CallForm::Text).size(), 94u) << "a line's width";

    Bytes empty = outRecord(5, 5, 0, xmas, packed("1"));
    EXPECT_EQ(printOutcallbuf(0, empty.data(), CallForm::Text), "") << "subscriber code 0 is no record";
    EXPECT_EQ(printIncallbuf(0, empty.data() + 6), "");
    freshRecord();
    Bytes analogue = inRecord(0xAA, {2, 1, 8, 30}, raw({0xFF}));
    EXPECT_EQ(printIncallbuf(3, analogue.data()), "0003 -- 01.02 08:30               -----" + std::string(39, ' '));
}

TEST_F(CallLists, OutgoingReadTakesEveryRecordAndShowsThem)
{
    directory();
    std::vector<Bytes> records = outRecords(1000);
    PbxLine line(withCalls(records, {}));
    scaleValues().clear();
    withOut([&](Widget dialog) {
        EXPECT_EQ(shellTitle(dialog), "Ausgehende Gespräche");
        EXPECT_EQ(caption(dialog, "*gebOtext"), "Satz Tl Datum Uhrz.     DM Dauer                 Nummer Name");
        EXPECT_FALSE(read(dialog)) << "a directory is there: no file offered";
        std::vector<std::string> shown = lines(dialog, "*gebOtext");
        ASSERT_EQ(shown.size(), 1000u);
        EXPECT_EQ(shown[0], printOutcallbuf(0, records[0].data(), CallForm::Text));
        EXPECT_EQ(shown[999].substr(0, 5), "0999 ");
        Widget wbox = XmtNameToWidget(dialog, "*gebreaddlg");
        ASSERT_NE(wbox, nullptr);
        EXPECT_EQ(guiText(wbox, XmNmessageString), "Ausgehende Gespräche lesen...");
    });
    EXPECT_EQ(outCallList().store, joined(records, 23000));
    std::vector<Bytes> expected{beginRead};
    for (int n = 0; n < 1000; n += 10)
        expected.push_back(request6(n));
    expected.push_back(endOfTransmission);
    EXPECT_EQ(sentByProgram(line.sim), expected) << "100 requests, none past the last record";
    std::vector<int> percents{0};
    for (int p = 1; p <= 100; p++)
        percents.push_back(p);
    EXPECT_EQ(scaleValues(), percents) << "the scale moves with every answer";
    EXPECT_EQ(takeMessage("tranfer_err"), "");
}

// How a read ends, for both lists: the records stored, the requests made.
TEST_F(CallLists, ReadsEndAtAnEmptyOrShortAnswerAndStoreNothingPastTheEnd)
{
    struct Case {
        const char *what;
        bool outgoing;
        int records;              // in the simulator
        pbxsim::AnswerFaultAt fault; // answer 1 is the begin's acknowledgement
        int stored;
        int requests;
    };
    const Case cases[] = {
        {"outgoing, empty memory", true, 0, {pbxsim::AnswerFault::OverLong, 0, 0}, 0, 1},
        {"outgoing, 18 bytes end the list", true, 40, {pbxsim::AnswerFault::OverLong, 3, 18}, 10, 2},
        {"outgoing, 1 byte ends the list", true, 40, {pbxsim::AnswerFault::OverLong, 4, 1}, 20, 3},
        {"outgoing, 26 bytes hold no whole record", true, 40, {pbxsim::AnswerFault::OverLong, 3, 22}, 10, 2},
        {"outgoing, bytes to spare after ten records", true, 40, {pbxsim::AnswerFault::OverLong, 2, 251}, 40, 5},
        {"outgoing, the last answer with bytes to spare", true, 1000, {pbxsim::AnswerFault::OverLong, 101, 251}, 1000, 100},
        {"incoming, empty memory", false, 0, {pbxsim::AnswerFault::OverLong, 0, 0}, 0, 1},
        {"incoming, 12 bytes end the list", false, 75, {pbxsim::AnswerFault::OverLong, 3, 12}, 14, 2},
        {"incoming, fourteen records in the last answer", false, 75, {pbxsim::AnswerFault::OverLong, 7, 251}, 75, 6},
        {"incoming, no more than 75", false, 75, {pbxsim::AnswerFault::OverLong, 0, 0}, 75, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Bytes> out = outRecords(c.outgoing ? c.records : 0), in = inRecords(c.outgoing ? 0 : c.records);
        PbxLine line(withCalls(out, in));
        pbxsim::Faults faults;
        if (c.fault.answer)
            faults.answers.push_back(c.fault);
        line.sim.setFaults(faults);
        directory();
        auto drive = [&](Widget dialog) {
            read(dialog);
            EXPECT_EQ(lines(dialog, c.outgoing ? "*gebOtext" : "*gebItext").size(), std::size_t(c.stored));
        };
        c.outgoing ? withOut(drive) : withIn(drive);
        EXPECT_EQ(takeMessage("tranfer_err"), "");
        std::vector<Bytes> &records = c.outgoing ? out : in;
        records.resize(std::size_t(c.stored));
        const CallList &list = c.outgoing ? outCallList() : inCallList();
        EXPECT_EQ(list.store, joined(records, std::size_t(list.read.capacity * list.read.recordSize)));
        std::vector<Bytes> sent = sentByProgram(line.sim);
        EXPECT_EQ(sent.size(), std::size_t(c.requests + 2));
        if (!c.outgoing && sent.size() == 8) {
            EXPECT_EQ(sent[6], request5(70));
        }
    }
}

// A shorter read leaves nothing of a longer one (what a failed read leaves:
// the fault matrix's call-list rows).
TEST_F(CallLists, AShorterReadReplacesTheList)
{
    directory();
    std::vector<Bytes> records = outRecords(25);
    PbxLine line(withCalls(records, {}));
    withOut([&](Widget dialog) {
        read(dialog);
        ASSERT_EQ(lines(dialog, "*gebOtext").size(), 25u);
        line.sim.modifyState([](pbxsim::State &s) { s.outcalls.resize(3); });
        read(dialog);
        EXPECT_EQ(lines(dialog, "*gebOtext").size(), 3u);
    });
    records.resize(3);
    EXPECT_EQ(outCallList().store, joined(records, 23000)) << "no record of the longer read left";
}

TEST_F(CallLists, WithoutADirectoryTheReadOffersASpeedDialFile)
{
    PbxLine line(withCalls({}, inRecords(3)));
    withIn([&](Widget dialog) {
        EXPECT_EQ(shellTitle(dialog), "Eingehende Gespräche");
        EXPECT_EQ(caption(dialog, "*gebItext"), "Satz Tl Datum Uhrz.              Nummer Name");
        EXPECT_EQ(XmtNameToWidget(dialog, "*clear"), nullptr) << "no erase button";
        EXPECT_TRUE(read(dialog));
        EXPECT_EQ(lines(dialog, "*gebItext"), (std::vector<std::string>{inLine(0), inLine(1), inLine(2)}));
        guiPress(guiFind(dialog, "*help"));
        EXPECT_EQ(takeWarning(), "ACHTUNG:\nFuer diese Funktion ist eine ROM-Version 1.1x und eine Speichererweiterung "
                                 "nötig.\n\nAuslesen:     Die Daten der letzten 75 Anrufe werden gelesen und angezeigt.\n"
                                 "Text sichern: Die angezeigten Daten werden als Textdatei gesichert.\n"
                                 "Drucken:      Die angezeigten Daten werden ausgedruckt\n");
    });
    EXPECT_EQ(sentByProgram(line.sim), (std::vector<Bytes>{beginRead, request5(0), request5(3), endOfTransmission}));
}

TEST_F(CallLists, EraseAsksThenClearsThePbxButNotTheList)
{
    directory();
    PbxLine line(withCalls(outRecords(4), {}));
    withOut([&](Widget dialog) {
        read(dialog);
        line.sim.clearLogs();
        bool asked = false;
        std::string question;
        whenUp(isQuestion, [&](Widget box) {
            asked = true;
            question = guiText(box, XmNmessageString);
            guiPress(guiFind(box, "cancelButton"));
        }, &asked);
        guiPress(guiFind(dialog, "*clear"));
        EXPECT_TRUE(asked);
        EXPECT_EQ(question, "Wollen Sie wirklich den Gebührenspeicher löschen?");
        EXPECT_TRUE(line.sim.frames().empty()) << "\"Nein\" makes no connection";

        answerQuestion(true);
        guiPress(guiFind(dialog, "*clear"));
        EXPECT_EQ(lines(dialog, "*gebOtext").size(), 4u);
        guiPress(guiFind(dialog, "*help"));
        EXPECT_NE(takeWarning().find("Löschen:      Der Gebührenspeicher der Anlage wird gelöscht.\n"), std::string::npos);
    });
    EXPECT_EQ(sentByProgram(line.sim), (std::vector<Bytes>{beginWrite, {5, 0x2D, 0, 0, 0}, endOfTransmission}));
    EXPECT_TRUE(line.sim.state().outcalls.empty());
    EXPECT_EQ(takeMessage("tranfer_err"), "");
}

// Text, CSV and print of both lists, and the same before any read.
TEST_F(CallLists, FilesAndPrintHoldEveryRecordLine)
{
    mkdir(dir.file("bin").c_str(), 0755);
    writeFile(dir.file("bin/lpr"), "#!/bin/sh\ncat > \"$LPR_OUT\"\nexit ${LPR_EXIT:-0}\n");
    chmod(dir.file("bin/lpr").c_str(), 0755);
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir.file("bin") + ":" + path).c_str(), 1);
    setenv("LPR_OUT", dir.file("printed").c_str(), 1);

    // Before any read: empty files, nothing printed.
    withOut([&](Widget dialog) {
        answerFile(dir.file("none.tab"));
        guiPress(guiFind(dialog, "*save"));
        guiPress(guiFind(dialog, "*print"));
    });
    EXPECT_EQ(readFile(dir.file("none.tab")), "");
    EXPECT_FALSE(std::ifstream(dir.file("printed")).good()) << "lpr not run before a read";

    directory();
    std::vector<Bytes> out{outCases[0].record, outCases[5].record, outCases[2].record};
    PbxLine line(withCalls(out, inRecords(2)));
    std::string text, csv, printed;
    for (std::size_t i = 0; i < out.size(); i++) {
        std::string l = printOutcallbuf(int(i), out[i].data(), CallForm::Text);
        ASSERT_GT(l.size(), 80u);
        text += l + "\n";
        printed += phonebook::latin1ToUtf8(l.substr(0, 80)) + "\n";
        csv += printOutcallbuf(int(i), out[i].data(), CallForm::Spreadsheet) + "\n";
    }
    withOut([&](Widget dialog) {
        read(dialog);
        answerFile(dir.file("calls.tab"));
        guiPress(guiFind(dialog, "*save"));
        answerFile(dir.file("calls.cvs"));
        guiPress(guiFind(dialog, "*spread"));
        guiPress(guiFind(dialog, "*print"));
        EXPECT_EQ(takeMessage("printError"), "");
        EXPECT_EQ(readFile(dir.file("printed")), printed);
        setenv("LPR_EXIT", "3", 1);
        guiPress(guiFind(dialog, "*print"));
        EXPECT_NE(takeMessage("printError").find("(Status 3)"), std::string::npos) << "a failing lpr is told";
        unsetenv("LPR_EXIT");
    });
    EXPECT_EQ(readFile(dir.file("calls.tab")), text);
    EXPECT_EQ(readFile(dir.file("calls.cvs")), csv);
    EXPECT_NE(csv.find(",\"Müller, \"\"Hans\"\"\"\n"), std::string::npos) << "a name with a comma stays one field";

    withIn([&](Widget dialog) {
        read(dialog);
        answerFile(dir.file("in.txt"));
        guiPress(guiFind(dialog, "*save"));
        guiPress(guiFind(dialog, "*print"));
    });
    std::string in0 = inLine(0), in1 = inLine(1);
    EXPECT_EQ(readFile(dir.file("in.txt")), in0 + "\n" + in1 + "\n");
    EXPECT_EQ(readFile(dir.file("printed")), phonebook::latin1ToUtf8("  " + in0 + "\n  " + in1 + "\n"))
        << "78 characters, right-aligned in 80";
    setenv("PATH", path.c_str(), 1);
}
