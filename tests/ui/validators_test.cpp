#include <gtest/gtest.h>

#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <string>

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
