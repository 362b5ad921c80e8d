// The page as a browser and a printer get it: self-contained, UTF-8, the call
// lists of both exports read back and counted.
#include <gtest/gtest.h>

#include "overview/calls.h"
#include "overview/page.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> pbx()
{
    std::vector<unsigned char> r(19696, 0);
    r[1] = 0x92;                                         // port 1: external, multi-device
    std::memcpy(&r[1 + 25], "4711001", 7);               // MSN 0
    r[1 + 115] = 0x01;                                   // ... rings at AB 1
    std::memcpy(&r[1181 + 0], "21", 2);                  // AB 1
    std::memcpy(&r[1181 + 3], "22", 2);                  // AB 2
    std::memcpy(&r[5838 + 25 * 3], "0301234", 7);        // speed dial 103
    std::memcpy(&r[10838 + 39 * 3], "M\xFCller & <Co>", 13); // its name, ISO 8859-1
    return r;
}

struct Form {
    const char *name;
    std::string text;
    bool outgoing;
    std::vector<overview::Call> calls;
};

overview::Call call(const char *ext, CivilDate date, int hour, long seconds, long cents, const char *number,
                    const char *name)
{
    overview::Call c;
    c.extension = ext;
    c.date = date;
    c.hour = hour;
    c.seconds = seconds;
    c.cents = cents;
    c.number = number;
    c.name = name;
    return c;
}

TEST(OverviewCalls, BothExportsReadBack)
{
    CivilDate today{2026, 12, 10};
    const std::vector<Form> forms = {
        // The window's "CVS sichern": ISO 8859-1, no year (the last such day up to today).
        {"WindowCsv",
         "21,24.12,13:05,3725,1.23,#0301234567,Praxis\n 5,01.02,08:00,60,0.12,#-----,\"M\xFCller, Hans\"\n",
         true,
         {call("21", {2025, 12, 24}, 13, 3725, 123, "0301234567", "Praxis"),
          call("5", {2026, 2, 1}, 8, 60, 12, "-----", "M\xFCller, Hans")}},
        // kelvoractl calls out --sheet: UTF-8 with its mark, ";", the year, h:mm:ss, decimal commas.
        {"SheetOut",
         "\xEF\xBB\xBFNebenstelle;Datum;Uhrzeit;Dauer;Geb\xC3\xBChr;Nummer;Name\r\n"
         "21;2026-12-09;23:59;1:02:05;1,23;=\"0301234567\";M\xC3\xBCller\r\n"
         "--;;;0:00:45;0,05;=\"#9\";\"=\"\"=SUMME\"\"\"\"\"\"\"\r\n",
         true,
         {call("21", {2026, 12, 9}, 23, 3725, 123, "0301234567", "M\xFCller"),
          call("--", {}, -1, 45, 5, "#9", "=SUMME\"")}},
        {"SheetIn",
         "\xEF\xBB\xBFNebenstelle;Datum;Uhrzeit;Nummer;Name\r\n11;2026-03-02;09:05;=\"4012345\";\r\n",
         false,
         {call("11", {2026, 3, 2}, 9, -1, -1, "4012345", "")}},
    };
    for (const Form &f : forms) {
        SCOPED_TRACE(f.name);
        overview::Calls calls;
        std::string why;
        ASSERT_TRUE(overview::readCallCsv(f.text, today, calls, why)) << why;
        EXPECT_EQ(calls.outgoing, f.outgoing);
        ASSERT_EQ(calls.calls.size(), f.calls.size());
        for (std::size_t i = 0; i < f.calls.size(); i++) {
            const overview::Call &got = calls.calls[i], &want = f.calls[i];
            EXPECT_EQ(got.extension, want.extension) << i;
            EXPECT_EQ(got.date.year, want.date.year) << i;
            EXPECT_EQ(got.date.month, want.date.month) << i;
            EXPECT_EQ(got.date.day, want.date.day) << i;
            EXPECT_EQ(got.hour, want.hour) << i;
            EXPECT_EQ(got.seconds, want.seconds) << i;
            EXPECT_EQ(got.cents, want.cents) << i;
            EXPECT_EQ(got.number, want.number) << i;
            EXPECT_EQ(got.name, want.name) << i;
        }
    }
    // Numbers too long for an amount count as none; nothing overflows.
    overview::Calls calls;
    std::string why;
    ASSERT_TRUE(overview::readCallCsv("21,24.12,13:05,99999999999999999999,99999999999999999999.99,#1,x\n", today,
                                      calls, why));
    EXPECT_EQ(calls.calls[0].seconds, 0);
    EXPECT_EQ(calls.calls[0].cents, 99);
    EXPECT_FALSE(overview::readCallCsv("Name,Telefon\nHans,0301234\n", today, calls, why));
    EXPECT_NE(why.find("Zeile 1"), std::string::npos) << why;
}

TEST(OverviewPage, SelfContainedUtf8WithTheDirectoryAndCharts)
{
    std::vector<unsigned char> record = pbx();
    overview::Calls out;
    out.outgoing = true;
    out.calls = {call("21", {2026, 12, 9}, 13, 60, 123, "0301234", "x"),
                 call("21", {2026, 12, 9}, 14, 60, 200, "0301234", "x"),
                 call("22", {2026, 12, 8}, 13, 60, 5, "0301234", "x")};
    overview::PageInput in;
    in.record = record.data();
    in.fileName = "b\xFCro \"neu\".cfg";
    in.made = "10.12.2026 12:00";
    in.speedDial = true;
    in.outgoing = &out;
    std::string page = overview::overviewPage(in);

    // Nothing fetched, nothing run.
    for (const char *never : {"<script", "http:", "https:", "src=", "url(", "@import", "<link", "<iframe", "on" "load="})
        EXPECT_EQ(page.find(never), std::string::npos) << never;
    // UTF-8 throughout, the user's texts escaped.
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("\xC3\x9C" "bersicht"), std::string::npos);
    EXPECT_NE(page.find("M\xC3\xBCller &amp; &lt;Co&gt;"), std::string::npos);
    EXPECT_EQ(page.find('\xFC'), std::string::npos) << "a Latin-1 byte left";
    // The printer's page: A4 portrait, the file's name and the date at the top.
    EXPECT_NE(page.find("size: A4 portrait"), std::string::npos);
    EXPECT_NE(page.find("@top-left { content: \"kelvora: b\xC3\xBCro \\22 neu\\22 .cfg\""), std::string::npos);
    EXPECT_NE(page.find("erstellt am 10.12.2026 12:00"), std::string::npos);
    // The charges per extension add up: 21 has 1,23 + 2,00, 22 has 0,05.
    EXPECT_NE(page.find("<td><span class=\"k\">Ruf #21 (AB  #1)</span></td><td>2</td><td>3,23</td>"), std::string::npos);
    EXPECT_NE(page.find("<td><span class=\"k\">Ruf #22 (AB  #2)</span></td><td>1</td><td>0,05</td>"), std::string::npos);
    EXPECT_NE(page.find("<td>3</td><td><strong>3,28</strong>"), std::string::npos);
    // Speed dial 103 with its name.
    EXPECT_NE(page.find("<td>103</td>"), std::string::npos);
}

} // namespace
