// A temporary directory that is removed with everything in it when the test
// ends, and the few file and clock helpers the tests share.
#pragma once

#include <chrono>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The whole file ("" when it cannot be read).
std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &content);

using Clock = std::chrono::steady_clock;
inline double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }
