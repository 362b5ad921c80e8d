// The writer every file goes through names its temporary file with its
// process's id, and removes those of a run killed with -9 beside the same file.
#include <gtest/gtest.h>

#include "config/atomicfile.h"
#include "support/tempdir.h"

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string gonePid()
{
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return std::to_string(child);
}

TEST(AtomicWrite, TemporariesOfRunsThatAreGoneAreRemoved)
{
    TempDir dir;
    std::string gone = gonePid(), alive = std::to_string(getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".a.cfg." + gone + ".Ab12Cd", true},
        {".a.cfg." + alive + ".Ab12Cd", false}, // that run still writes
        {".a.cfg.Ab12Cd", false},               // an older form, or another program's
        {".b.cfg." + gone + ".Ab12Cd", false},  // beside another file
        {".a.cfg." + gone + ".Ab12C!", false},
        {"a.cfg." + gone + ".Ab12Cd", false},
    };
    for (const auto &c : cases)
        writeFile(dir.file(c.name), "x");
    ASSERT_EQ(writeFileAtomically(dir.file("a.cfg").c_str(), [](FILE *fp) { return std::fputs("neu", fp) >= 0; }),
              FileWrite::Written);
    EXPECT_EQ(readFile(dir.file("a.cfg")), "neu");
    for (const auto &c : cases)
        EXPECT_EQ(access(dir.file(c.name).c_str(), F_OK) != 0, c.removed) << c.name;

    // Its own temporary file carries its pid while it is written.
    std::string prefix = ".c.cfg." + std::to_string(getpid()) + ".";
    bool named = false;
    ASSERT_EQ(writeFileAtomically(dir.file("c.cfg").c_str(),
                                  [&](FILE *) {
                                      for (const auto &e : std::filesystem::directory_iterator(dir.path())) {
                                          std::string n = e.path().filename();
                                          named = named || (n.rfind(prefix, 0) == 0 && n.size() == prefix.size() + 6);
                                      }
                                      return true;
                                  }),
              FileWrite::Written);
    EXPECT_TRUE(named);
}

} // namespace
