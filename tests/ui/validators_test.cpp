#include <gtest/gtest.h>

#include "config/record.h"
#include "fields/assign.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <string>
#include <vector>

namespace {

struct Verdict {
    const char *check;
    XtCallbackProc proc;
    const char *text; // nullptr: a field that hands over no text
    bool accepted;
};

#define CHECK(proc) #proc, proc
const Verdict verdicts[] = {
    {CHECK(Check_11_97), "10", false},      {CHECK(Check_11_97), "11", true},
    {CHECK(Check_11_97), "97", true},       {CHECK(Check_11_97), "98", false},
    {CHECK(Check_11_97), "", false},        {CHECK(Check_11_97), nullptr, false},
    {CHECK(Check_11_97), "011", true}, // leading zeros are only digits
    {CHECK(Check_0_255), "0", true},        {CHECK(Check_0_255), "255", true},
    {CHECK(Check_0_255), "256", false},     {CHECK(Check_0_255), "-1", false},
    {CHECK(Check_0_255), "", true}, // an empty field counts as 0
    {CHECK(Check_0_255), "4294967296", false}, // not 0, as atoi made it
    {CHECK(Check_0_999), "999", true},      {CHECK(Check_0_999), "1000", false},
    {CHECK(Check_0_999), "12x", false}, // the whole text or nothing
    {CHECK(Check_0_999), " 12", false},
    // A packed time hhmm, compared as a whole: minutes are not checked.
    {CHECK(Check_0_2359), "0000", true},    {CHECK(Check_0_2359), "2359", true},
    {CHECK(Check_0_2359), "2360", false},   {CHECK(Check_0_2359), "2400", false},
    {CHECK(Check_0_2359), "1275", true},    {CHECK(Check_0_2359), "9999", false},
    {CHECK(Check_0_2359), "", false},       {CHECK(Check_0_2359), nullptr, false},
    {CHECK(CheckLeadZero), "0", false},     {CHECK(CheckLeadZero), "0711", false},
    {CHECK(CheckLeadZero), "711", true},    {CHECK(CheckLeadZero), "7011", true},
    {CHECK(CheckLeadZero), "", true},       {CHECK(CheckLeadZero), nullptr, true},
};
#undef CHECK

} // namespace

// Each validator runs as an input field runs it, once with the flag at True
// and once at False, so one that leaves the flag alone cannot pass.
TEST(Validators, VerdictsOnTheEdges)
{
    for (const Verdict &v : verdicts) {
        for (Boolean start : {False, True}) {
            std::string buf = v.text ? v.text : "";
            XmtInputFieldCallbackStruct data{v.text ? buf.data() : nullptr, start};
            v.proc(nullptr, nullptr, &data);
            EXPECT_EQ(bool(data.okay), v.accepted) << v.check << "(\"" << (v.text ? v.text : "(null)") << "\")";
        }
    }
    EXPECT_EQ(hasLeadingZero("0"), 1);
    EXPECT_EQ(hasLeadingZero("10"), 0);
    EXPECT_EQ(hasLeadingZero(""), 0);
    EXPECT_EQ(hasLeadingZero(nullptr), 0);
}

namespace {

// What the window's input field takes: the pattern's characters and length,
// then the verify procedure the resource lines call by name.
bool dialogTakes(const Field &f, const std::string &text)
{
    const FieldRule &r = f.rule;
    if (!r.pattern.empty()) {
        if (text.size() > r.pattern.size() || (r.wholePattern && text.size() != r.pattern.size()))
            return false;
        for (std::size_t i = 0; i < text.size(); i++) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            bool fits = r.pattern[i] == 'd' ? c >= '0' && c <= '9' : r.pattern[i] == 'a' ? std::isalpha(c) != 0 : c >= 0x20;
            if (!fits)
                return false;
        }
    }
    if (!r.check)
        return true;
    std::string buf = text;
    XmtInputFieldCallbackStruct data{buf.data(), True};
    XmtCallCallbackString(nullptr, (std::string(r.check->procedure) + "()").c_str(), &data);
    return data.okay;
}

// The same text as kelvoractl's set would give it; "" when show could not print it.
std::string asSet(const Field &f, const std::string &text)
{
    switch (f.reading) {
    case Reading::Text:
        return text.empty() ? "(leer)" : text;
    case Reading::Decimal:
        return text.size() > 1 && text[0] == '0' ? "" : text; // show prints no leading zero
    case Reading::TimeOfDay:
        return text.size() == 4 ? text.substr(0, 2) + ":" + text.substr(2) : "";
    default:
        return "";
    }
}

} // namespace

// Every field a dialog checks takes and refuses the same texts in the window
// and in kelvoractl's set; where set refuses a leading zero it says what the
// window's warning says.
TEST(Validators, TheWindowAndSetJudgeEachFieldByItsRow)
{
    registerValidators();
    const std::vector<std::string> texts = {"",    "0",    "05",   "7",    "10",   "11",   "97",  "98",
                                            "255", "256",  "999",  "1000", "0000", "2359", "2360", "1275",
                                            "12a", "0711", "6356", "63561", "635612"};
    int judged = 0, checked = 0;
    for (FileKind kind : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers}) {
        for (const Field &f : fieldsOf(kind)) {
            if (f.dialog.empty() || (f.rule.pattern.empty() && !f.rule.check))
                continue;
            checked += f.rule.check != nullptr;
            for (const std::string &text : texts) {
                std::string value = asSet(f, text);
                if (value.empty())
                    continue;
                // The bytes read as none of the texts, so that no value is taken as unchanged.
                std::vector<unsigned char> record(rec::RecordSize, 0);
                std::fill_n(record.begin() + long(f.offset), f.size, f.reading == Reading::Text ? 'Z' : 0xEE);
                std::string why = assignField({&f, 0, kind}, value, record.data(), Rules::Dialog);
                bool dialog = dialogTakes(f, text);
                // Without a check the window takes what the bytes cannot hold (the
                // ring time keeps its low byte, the wake-up time any four digits):
                // set holds such a field to what it can hold and show can print.
                if (!f.rule.check && f.reading != Reading::Text) {
                    if (!dialog) {
                        EXPECT_NE(why, "") << f.name << " \"" << text << "\"";
                    }
                } else {
                    EXPECT_EQ(why.empty(), dialog) << f.name << " \"" << text << "\": " << why;
                }
                if (f.rule.check && f.rule.check->noLeadingZero && text[0] == '0' &&
                    dialogTakes(f, "1" + text.substr(1))) {
                    EXPECT_EQ(why, f.rule.refusal) << f.name;
                }
                ++judged;
            }
        }
    }
    EXPECT_GT(checked, 40) << "the MSNs, internal numbers, rates and times have checks";
    EXPECT_GT(judged, 1000);
}

// Each check is a procedure the resource lines can call, each field that names
// one has a warning for what it refuses, and no resource line names a check
// that is not one.
TEST(Validators, EveryCheckIsRegisteredAndEveryCheckedFieldWarns)
{
    registerValidators();
    for (const FieldCheck &c : fieldChecks())
        EXPECT_TRUE(XmtProcedureRegistered(c.procedure)) << c.procedure;
    EXPECT_EQ(checkNamed("Check_0_255()"), checkNamed("Check_0_255"));
    EXPECT_EQ(checkNamed("Check_1_2()"), nullptr);
    for (FileKind kind : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers}) {
        for (const Field &f : fieldsOf(kind)) {
            if (f.rule.check) {
                EXPECT_NE(f.rule.refusal, "") << f.name;
            }
        }
    }
    EXPECT_EQ(fieldNamed(FileKind::Configuration, "globdat.okz").rule.refusal, "Bitte keine führende Null eingeben!");
    EXPECT_EQ(fieldNamed(FileKind::Configuration, "rufzuord.num0").rule.refusal,
              "Die Nummern müssen zwischen 11 und 97 liegen\nund dürfen nicht doppelt vergeben werden!");
}
