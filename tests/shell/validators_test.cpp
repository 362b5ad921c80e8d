#include <gtest/gtest.h>

#include "shell/access.h"
#include "toolkit/toolkit.h"

#include <string>

namespace {

// Runs a validator the way an input field does and returns its verdict.  The
// flag starts at the opposite of what a lazy validator would leave behind.
bool verdict(XtCallbackProc check, const char *text, Boolean start)
{
    std::string buf = text ? text : "";
    XmtInputFieldCallbackStruct data{text ? buf.data() : nullptr, start};
    check(nullptr, nullptr, &data);
    return data.okay;
}

bool accepts(XtCallbackProc check, const char *text)
{
    bool a = verdict(check, text, False);
    bool b = verdict(check, text, True);
    EXPECT_EQ(a, b) << "verdict depends on the flag's old value for \"" << (text ? text : "(null)") << "\"";
    return a;
}

} // namespace

TEST(Validators, Check_11_97Bounds)
{
    EXPECT_FALSE(accepts(Check_11_97, "10"));
    EXPECT_TRUE(accepts(Check_11_97, "11"));
    EXPECT_TRUE(accepts(Check_11_97, "97"));
    EXPECT_FALSE(accepts(Check_11_97, "98"));
    EXPECT_FALSE(accepts(Check_11_97, ""));
    EXPECT_FALSE(accepts(Check_11_97, nullptr));
    EXPECT_TRUE(accepts(Check_11_97, "011")); // leading zeros are only digits
}

TEST(Validators, Check_0_255Bounds)
{
    EXPECT_TRUE(accepts(Check_0_255, "0"));
    EXPECT_TRUE(accepts(Check_0_255, "255"));
    EXPECT_FALSE(accepts(Check_0_255, "256"));
    EXPECT_FALSE(accepts(Check_0_255, "-1"));
    EXPECT_TRUE(accepts(Check_0_255, "")); // no digits counts as 0
}

TEST(Validators, Check_0_999Bounds)
{
    EXPECT_TRUE(accepts(Check_0_999, "0"));
    EXPECT_TRUE(accepts(Check_0_999, "999"));
    EXPECT_FALSE(accepts(Check_0_999, "1000"));
    EXPECT_TRUE(accepts(Check_0_999, ""));
    EXPECT_TRUE(accepts(Check_0_999, "12x")); // leading digits only
}

TEST(Validators, Check_0_2359ComparesPackedTime)
{
    EXPECT_TRUE(accepts(Check_0_2359, "0000"));
    EXPECT_TRUE(accepts(Check_0_2359, "2359"));
    EXPECT_FALSE(accepts(Check_0_2359, "2360"));
    EXPECT_FALSE(accepts(Check_0_2359, "2400"));
    EXPECT_TRUE(accepts(Check_0_2359, "1275")); // minutes are not checked
    EXPECT_FALSE(accepts(Check_0_2359, "9999"));
    EXPECT_FALSE(accepts(Check_0_2359, ""));
    EXPECT_FALSE(accepts(Check_0_2359, nullptr));
}

TEST(Validators, CheckLeadZero)
{
    EXPECT_FALSE(accepts(CheckLeadZero, "0"));
    EXPECT_FALSE(accepts(CheckLeadZero, "0711"));
    EXPECT_TRUE(accepts(CheckLeadZero, "711"));
    EXPECT_TRUE(accepts(CheckLeadZero, "7011"));
    EXPECT_TRUE(accepts(CheckLeadZero, ""));
    EXPECT_TRUE(accepts(CheckLeadZero, nullptr));

    EXPECT_EQ(hasLeadingZero("0"), 1);
    EXPECT_EQ(hasLeadingZero("10"), 0);
    EXPECT_EQ(hasLeadingZero(""), 0);
    EXPECT_EQ(hasLeadingZero(nullptr), 0);
}
