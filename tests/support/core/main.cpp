// The main of the core's test programs: gtest's, with the core as a fresh
// program has it before each test.  There is no display: DISPLAY is taken away,
// so that nothing here can lean on one.
#include <gtest/gtest.h>

#include "config/cfgtransfer.h"
#include "config/record.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "link/serial.h"
#include "link/trace.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

unsigned char record[rec::RecordSize];

struct FreshCore : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        static const std::string startTrace = debugFilePath();
        setLockDir(nullptr);
        setFramePause(nullptr);
        setByteTimeoutMs(0);
        closeTrace();
        setDebugFilePath(startTrace.c_str());
        all = record;
        std::memset(all, 0, rec::RecordSize);
        forgetClean();
        anl_vers[0] = '\0';
        setDevicePath(nullptr);
    }
};

} // namespace

int main(int argc, char **argv)
{
    unsetenv("DISPLAY");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshCore);
    return RUN_ALL_TESTS();
}
