// What a configuration means to its owner: small configurations built byte by
// byte, each with the MSN rows, the present subscribers and the findings it
// must give.  The expectations are written out here from the bytes set, not
// asked of the code under test.
#include <gtest/gtest.h>

#include "overview/facts.h"
#include "overview/page.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// A configuration record built from the bytes the PBX keeps: the offsets are
// those of the lists themselves.
struct Config {
    std::vector<unsigned char> r = std::vector<unsigned char>(19696, 0);

    Config &type(int highestPort) { return r[0] = static_cast<unsigned char>(highestPort), *this; }
    Config &mode(int port, unsigned char mode) { return r[1 + 195 * std::size_t(port)] = mode, *this; }
    Config &msn(int port, int k, const char *digits, std::uint32_t mask)
    {
        std::size_t block = 1 + 195 * std::size_t(port);
        std::memcpy(&r[block + 25 + 9 * std::size_t(k)], digits, std::strlen(digits));
        putWord(block + 115 + 8 * std::size_t(k), mask);
        return *this;
    }
    Config &number(int subscriber, const char *n)
    {
        std::memcpy(&r[1181 + 3 * std::size_t(subscriber)], n, std::strlen(n));
        return *this;
    }
    // Call distribution: 0 day, 1 night, 2/3 door units, 4 forwarding, 5/6 extra bells.
    Config &function(int k, std::uint32_t mask)
    {
        const std::size_t at[] = {0, 8, 16, 24, 32, 40, 44};
        putWord(1472 + at[k], mask);
        return *this;
    }
    void putWord(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; i++)
            r[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
    }
};

constexpr std::uint32_t bit(int i) { return 1u << i; }

// Port 1 an external multi-device line, AB 1 and AB 2 with 11 and 12.
Config basic() { return Config().type(0).mode(0, 0x92).number(0, "11").number(1, "12"); }

struct Expected {
    std::string digits;
    int port;
    std::vector<int> rings;
};

struct Case {
    const char *name;
    Config config;
    std::vector<Expected> msns;
    std::map<int, std::string> present; // subscriber -> internal number
    std::vector<std::string> findings;  // ids, in the check's order
    std::vector<std::string> named;     // each must appear in some finding's text
};

std::vector<Case> cases()
{
    return {
        {"EveryMsnReachesSomeone", basic().msn(0, 0, "4711001", bit(0) | bit(1)).msn(0, 1, "4711002", 0).function(4, bit(1)),
         {{"4711001", 1, {0, 1}}, {"4711002", 1, {}}}, {{0, "11"}, {1, "12"}}, {}, {}},
        {"MsnOnlyAtAbsent", basic().msn(0, 3, "4711", bit(2)),
         {{"4711", 1, {2}}}, {{0, "11"}, {1, "12"}}, {"msnUnreachable"}, {"4711", "AB  #3"}},
        {"PresentAndAbsentStillRings", basic().msn(0, 0, "4711", bit(0) | bit(2)),
         {{"4711", 1, {0, 2}}}, {{0, "11"}, {1, "12"}}, {}, {}},
        {"UnassignedWithoutForwarding", basic().msn(0, 9, "4719", 0),
         {{"4719", 1, {}}}, {{0, "11"}, {1, "12"}}, {"msnNobody"}, {"4719", "Rufweiterschaltung"}},
        {"ForwardingOnlyToAbsent", basic().msn(0, 0, "4710", 0).function(4, bit(5)),
         {{"4710", 1, {}}}, {{0, "11"}, {1, "12"}}, {"msnNobody", "functionAbsent"}, {"4710", "AB  #6"}},
        {"SameNumberTwice", basic().number(8, "11").msn(0, 0, "4711", bit(8)),
         {{"4711", 1, {8}}}, {{0, "11"}, {1, "12"}, {8, "11"}}, {"numberTwice"}, {"AB  #1", "TFE #1"}},
        {"TerminalOnAnInternalBus", basic().type(1).mode(1, 0x42).number(13, "24").msn(0, 0, "4711", bit(13)),
         {{"4711", 1, {13}}}, {{0, "11"}, {1, "12"}, {13, "24"}}, {}, {}},
        {"TerminalOnABusThatIsNotThere", basic().type(1).mode(1, 0x82).number(13, "24").msn(0, 0, "4711", bit(13)),
         {{"4711", 1, {13}}}, {{0, "11"}, {1, "12"}}, {"msnUnreachable"}, {"SO  #3"}},
        {"BusBeyondTheType", basic().mode(1, 0x42).number(10, "21").msn(0, 0, "4711", bit(10)),
         {{"4711", 1, {10}}}, {{0, "11"}, {1, "12"}}, {"msnUnreachable"}, {"SO  #0"}},
        {"SecondBusTerminal", basic().type(2).mode(2, 0x42).number(20, "41").msn(0, 0, "4711", bit(20)),
         {{"4711", 1, {20}}}, {{0, "11"}, {1, "12"}, {20, "41"}}, {}, {}},
        {"BellAtAbsent", basic().function(5, bit(4)).function(0, bit(0)),
         {}, {{0, "11"}, {1, "12"}}, {"functionAbsent"}, {"Zweitwecker 1", "AB  #5"}},
        {"NumbersTheDialogRefuses", basic().number(2, "05").number(3, "9").number(4, "98").number(5, "97"),
         {}, {{0, "11"}, {1, "12"}, {2, "05"}, {3, "9"}, {4, "98"}, {5, "97"}},
         {"numberInvalid", "numberInvalid", "numberInvalid"}, {"AB  #3", "AB  #4", "AB  #5"}},
        {"FirstPortNotExternal", Config().mode(0, 0x42).number(0, "11").msn(0, 0, "4711", bit(0)),
         {}, {{0, "11"}}, {"firstPortNotExternal"}, {"Port 1"}},
        {"PbxConnectionHasNoMsns", Config().mode(0, 0x82).number(0, "11").msn(0, 0, "4711", bit(3)),
         {}, {{0, "11"}}, {}, {}},
        {"MsnsOfAPortBeyondTheType", basic().mode(1, 0x92).msn(1, 0, "5555", bit(3)),
         {}, {{0, "11"}, {1, "12"}}, {}, {}},
        {"SecondPortLine", basic().type(1).mode(1, 0x92).msn(1, 4, "5555", bit(1)).msn(0, 0, "4711", bit(0)),
         {{"4711", 1, {0}}, {"5555", 2, {1}}}, {{0, "11"}, {1, "12"}}, {}, {}},
        {"TypeByteNoItemNames", basic().type(7).mode(1, 0x92).msn(1, 0, "5555", bit(0)).msn(0, 0, "4711", bit(0)),
         {{"4711", 1, {0}}}, {{0, "11"}, {1, "12"}}, {}, {}},
        {"EmptyMsnSlotsAssignedAreHarmless", basic().msn(0, 2, "", bit(7)),
         {}, {{0, "11"}, {1, "12"}}, {}, {}},
    };
}

std::string joined(const std::vector<overview::Finding> &findings)
{
    std::string out;
    for (const overview::Finding &f : findings)
        out += f.id + ": " + f.text + "\n";
    return out;
}

// The page's MSN table: one row per MSN, naming every subscriber that rings
// as the window names it; the findings come first, before the PBX itself.
void expectPage(const Case &c)
{
    overview::PageInput in;
    in.record = c.config.r.data();
    in.fileName = "t.cfg";
    in.made = "01.02.2026 03:04";
    std::string page = overview::overviewPage(in);
    std::size_t from = page.find("<h2>Rufnummern (MSN)</h2>");
    ASSERT_NE(from, std::string::npos);
    std::string msnPart = page.substr(from, page.find("</section>", from) - from);
    for (const Expected &e : c.msns) {
        std::size_t at = msnPart.find("<strong>" + e.digits + "</strong>");
        ASSERT_NE(at, std::string::npos) << e.digits;
        std::string line = msnPart.substr(at, msnPart.find("</tr>", at) - at);
        EXPECT_EQ(msnPart.find("<strong>" + e.digits + "</strong>", at + 1), std::string::npos) << "one row";
        for (int i : e.rings) {
            auto p = c.present.find(i);
            const char *names[] = {"AB  #1", "AB  #2", "AB  #3", "AB  #4", "AB  #5", "AB  #6", "AB  #7",
                                   "AB  #8", "TFE #1", "TFE #2"};
            std::string name = i < 10 ? names[i] : (i < 20 ? "SO  #" : "S1  #") + std::to_string(i % 10);
            std::string shown = p != c.present.end() ? "Ruf #" + p->second + " (" + name + ")" : name;
            EXPECT_NE(line.find(shown), std::string::npos) << shown << " in " << line;
        }
    }
    if (!c.findings.empty()) {
        EXPECT_LT(page.find("class=\"finding\""), page.find("<h2>Die Anlage</h2>"));
    }
}

TEST(OverviewFacts, EachConfigurationGivesItsRowsFindingsAndPage)
{
    for (const Case &c : cases()) {
        SCOPED_TRACE(c.name);
        const unsigned char *record = c.config.r.data();
        overview::Facts facts = overview::derive(record);

        ASSERT_EQ(facts.msns.size(), c.msns.size());
        for (std::size_t i = 0; i < c.msns.size(); i++) {
            EXPECT_EQ(facts.msns[i].digits, c.msns[i].digits);
            EXPECT_EQ(facts.msns[i].port, c.msns[i].port);
            EXPECT_EQ(overview::named(facts.msns[i].mask), c.msns[i].rings);
        }
        std::map<int, std::string> present;
        for (const overview::Subscriber &s : facts.subscribers)
            if (s.present())
                present[s.index] = s.number;
        EXPECT_EQ(present, c.present);

        std::vector<overview::Finding> findings = overview::check(facts, record);
        std::vector<std::string> ids;
        for (const overview::Finding &f : findings)
            ids.push_back(f.id);
        EXPECT_EQ(ids, c.findings) << joined(findings);
        std::string texts = joined(findings);
        for (const std::string &n : c.named)
            EXPECT_NE(texts.find(n), std::string::npos) << n << " in\n" << texts;
        expectPage(c);
    }
}

// A finding is printed on a terminal (check, set --pbx): bytes of a file that
// are no characters must not reach it as they are.
TEST(OverviewFacts, FindingsShowControlBytesEscaped)
{
    Config c = basic().msn(0, 0, "\x1B]0;x\x07", bit(5)).number(6, "\x1B[").number(7, "\x1B[");
    std::string texts = joined(overview::check(overview::derive(c.r.data()), c.r.data()));
    EXPECT_EQ(texts.find('\x1B'), std::string::npos) << texts;
    EXPECT_EQ(texts.find('\x07'), std::string::npos) << texts;
    EXPECT_NE(texts.find("MSN \\x1B]0;x\\x07 (Port 1)"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Interne Rufnummer \\x1B[ ist mehrfach"), std::string::npos) << texts;
}

TEST(OverviewFacts, EveryFindingHasItsReason)
{
    for (const std::string &id : overview::findingIds()) {
        EXPECT_GT(overview::reasonOf(id).size(), 40u) << id;
    }
    EXPECT_EQ(overview::findingIds().size(), 6u);
}

} // namespace
