#include <gtest/gtest.h>

#include "../basic/env.h"

#include "app/app.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "ui/access.h"

#include <cstring>
#include <string>

namespace {

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!all)
            AllocateStructs();
    }
};

} // namespace

TEST_F(RecordTest, SetFlagsStoresValidFlagAndChangeCounter)
{
    setRecInt(rec::CfgChanges, 17);
    setFlags(all, 1);
    EXPECT_EQ(getLe32(recAt(19668)), 1u);
    EXPECT_EQ(getLe32(recAt(19656)), 1u);
    setFlags(all, 0);
    EXPECT_EQ(getLe32(recAt(19668)), 0u);
    EXPECT_EQ(getLe32(recAt(19656)), 0u);
}

TEST_F(RecordTest, SetUpVarsDefaults)
{
    setRecInt(rec::CurrentPbx, 1);
    SetUpVars();
    EXPECT_EQ(recInt(19652), 0);
    EXPECT_STREQ(recText(18884), "/usr/local/kelvora/etc/standard.cfg");
    EXPECT_STREQ(cfgdirname, "/usr/local/kelvora/etc");
}

TEST_F(RecordTest, AppNames)
{
    std::string names;
    for (int i = 0; i < 30; i++) {
        EXPECT_EQ(getAppName(i), appnames[i]);
        names += std::string(appnames[i]) + "|";
    }
    EXPECT_EQ(names, "AB  #1|AB  #2|AB  #3|AB  #4|AB  #5|AB  #6|AB  #7|AB  #8|TFE #1|TFE #2|" // "SO": letter O
                     "SO  #0|SO  #1|SO  #2|SO  #3|SO  #4|SO  #5|SO  #6|SO  #7|SO  #8|SO  #9|"
                     "S1  #0|S1  #1|S1  #2|S1  #3|S1  #4|S1  #5|S1  #6|S1  #7|S1  #8|S1  #9|");
    EXPECT_EQ(appnames[30], nullptr);
}

TEST_F(RecordTest, AppNumStrPointsIntoRecord)
{
    putIntNum(0, "21");
    putIntNum(29, "97");
    EXPECT_EQ(getAppNumStr(0), recText(1181));
    EXPECT_STREQ(getAppNumStr(0), "21");
    EXPECT_STREQ(getAppNumStr(29), "97");
    EXPECT_EQ(getAppNumStr(1), nullptr);
    EXPECT_EQ(getAppNumStr(30), nullptr);
    EXPECT_EQ(getAppNumStr(-1), nullptr);
}

TEST_F(RecordTest, HasPortNeedsTypeAndInternalBus)
{
    all[0] = 1;     // two S0 ports
    all[1] = 0x40;  // port 0 internal
    all[196] = 0x7F; // port 1: top bits 01, the rest is other settings
    all[391] = 0x40; // port 2 internal, but the PBX has no port 2
    EXPECT_EQ(hasPort(nullptr, 0), 1);
    EXPECT_EQ(hasPort(nullptr, 1), 1);
    EXPECT_EQ(hasPort(nullptr, 2), 0);

    all[196] = 0x80;
    EXPECT_EQ(hasPort(nullptr, 1), 0);
    all[196] = 0xC0;
    EXPECT_EQ(hasPort(nullptr, 1), 0);

    all[0] = 2;
    EXPECT_EQ(hasPort(nullptr, 2), 1);
    all[0] = 0xFF; // a PBX that reported no port: the byte is compared unsigned
    EXPECT_EQ(hasPort(nullptr, 2), 1);
    EXPECT_EQ(hasPort(nullptr, 3), 0);
}
