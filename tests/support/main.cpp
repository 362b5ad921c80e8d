// The main of every test program: gtest's, with a fresh start before each test.
#include <gtest/gtest.h>

#include "support/fresh.h"

#include <cstdlib>
#include <string>

namespace {

struct FreshStart : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { freshStart(); }
};

// Under scripts/test.sh ctest hands each test an X server of its own: a
// resource "xserver" whose id is the display number.
void useTheXServerCtestGave()
{
    const char *given = std::getenv("CTEST_RESOURCE_GROUP_0_XSERVER");
    if (!given)
        return;
    std::string group = given; // "id:91,slots:1"
    std::size_t at = group.find("id:");
    if (at == std::string::npos)
        return;
    std::string display = ":" + group.substr(at + 3, group.find(',', at) - at - 3);
    setenv("DISPLAY", display.c_str(), 1);
}

} // namespace

int main(int argc, char **argv)
{
    useTheXServerCtestGave();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    return RUN_ALL_TESTS();
}
