// The main of every test program: gtest's, with a fresh start before each test.
#include <gtest/gtest.h>

#include "support/fresh.h"

namespace {

struct FreshStart : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { freshStart(); }
};

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    return RUN_ALL_TESTS();
}
