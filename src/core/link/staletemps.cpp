#include "link/staletemps.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t RandomPart = 6;

bool alnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// "<pid>.XXXXXX" at the end of name, from 'at': the pid, or 0 when not so.
long pidPart(const std::string &name, std::size_t at)
{
    if (name.size() < at + 2 + RandomPart || name[name.size() - RandomPart - 1] != '.')
        return 0;
    for (std::size_t i = name.size() - RandomPart; i < name.size(); i++)
        if (!alnum(name[i]))
            return 0;
    std::string digits = name.substr(at, name.size() - RandomPart - 1 - at);
    if (digits.empty() || digits.size() > 10 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::strtol(digits.c_str(), nullptr, 10);
}

bool processGone(long pid) { return pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH; }

// Removes the entries pidOf gives a pid for whose process is gone, where they
// are regular files of this user.
void removeStale(int dirfd, const std::function<long(const std::string &name)> &pidOf)
{
    // A descriptor of its own: a copy would share the caller's place in the directory.
    int fd = openat(dirfd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *d = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!d) {
        if (fd >= 0)
            close(fd);
        return;
    }
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        long pid = pidOf(name);
        struct stat st;
        if (pid > 0 && processGone(pid) && fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == geteuid())
            unlinkat(dirfd, name.c_str(), 0);
    }
    closedir(d);
}

} // namespace

void removeStaleTemporaries(int dirfd, const std::function<bool(const std::string &stem)> &ours)
{
    removeStale(dirfd, [&ours](const std::string &name) -> long {
        if (name.size() < 4 + RandomPart || name[0] != '.')
            return 0;
        // ".<stem>.<pid>.XXXXXX": the stem ends at the dot before the pid.
        std::size_t end = name.rfind('.', name.size() - RandomPart - 2);
        if (end == std::string::npos || end == 0 || !ours(name.substr(1, end - 1)))
            return 0;
        return pidPart(name, end + 1);
    });
}

void removeStaleNamed(int dirfd, const std::string &prefix)
{
    removeStale(dirfd, [&prefix](const std::string &name) -> long {
        return name.compare(0, prefix.size(), prefix) == 0 ? pidPart(name, prefix.size()) : 0;
    });
}
