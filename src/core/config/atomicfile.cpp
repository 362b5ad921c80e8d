#include "config/atomicfile.h"

#include "link/interrupt.h"
#include "link/staletemps.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a path names: links followed, the last one also when its file is
// not there yet, so that renaming replaces or makes that file and not the
// user's link to it.  False (errno ELOOP) for links that go round.
bool targetOf(std::string path, std::string &target)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = path;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n <= 0) {
            target = path;
            return true;
        }
        link.resize(std::size_t(n));
        std::size_t slash = path.rfind('/');
        path = link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    errno = ELOOP;
    return false;
}

FileWrite fail(const std::string &temp, int fd, FILE *fp)
{
    int error = errno;
    if (fp)
        std::fclose(fp);
    else if (fd >= 0)
        close(fd);
    forgetOnInterrupt(temp.c_str());
    unlink(temp.c_str());
    errno = error;
    return FileWrite::Failed;
}

// What the user may do to the file that is there.  Renaming needs only the
// directory, but a file '>' could not write must not be replaced either, nor
// an ordinary user take over another user's file.
FileWrite mayReplace(const std::string &target, const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return FileWrite::NotRegular;
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno == EACCES || errno == EPERM ? FileWrite::ReadOnly : FileWrite::Failed;
    if (geteuid() != 0 && st.st_uid != geteuid()) {
        errno = EPERM;
        return FileWrite::OtherOwner;
    }
    return FileWrite::Written;
}

// The replaced file's owner, group and mode on the new one.  Only root can
// give a file away; an ordinary user keeps the group where he may.
bool takeOver(int fd, const struct stat &st)
{
    if (st.st_uid != geteuid() || st.st_gid != getegid())
        if (fchown(fd, st.st_uid, st.st_gid) != 0 && geteuid() == 0)
            return false;
    return fchmod(fd, st.st_mode & 07777) == 0;
}

} // namespace

namespace {

std::string cutStem(const std::string &stem) { return stem.substr(0, NAME_MAX - 1 - TemporarySuffix); }

} // namespace

int createTemporaryFile(int dirfd, const std::string &dir, const std::string &stem, mode_t mode, std::string *path)
{
    std::string name = "." + cutStem(stem) + "." + std::to_string(getpid()) + ".XXXXXX";
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 draw{std::random_device{}()};
    for (int tries = 0; tries < 100; ++tries) {
        for (std::size_t i = name.size() - 6; i < name.size(); ++i)
            name[i] = letters[draw() % (sizeof letters - 1)];
        *path = dir.empty() ? name : dir + "/" + name;
        int fd = openat(dirfd, path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

FileWrite writeFileAtomically(const char *path, const std::function<bool(FILE *)> &write)
{
    std::string target;
    if (!targetOf(path, target))
        return FileWrite::Failed;
    struct stat st;
    bool replacing = stat(target.c_str(), &st) == 0;
    if (replacing)
        if (FileWrite may = mayReplace(target, st); may != FileWrite::Written)
            return may;
    std::size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    // What runs killed with -9 left beside this file goes.
    if (int dirfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirfd >= 0) {
        removeStaleTemporaries(dirfd, [&base](const std::string &stem) { return stem == cutStem(base); });
        close(dirfd);
    }
    std::string temp;
    int fd;
    {
        InterruptsDeferred deferred; // a signal takes the file away once it is known
        // A new file gets what the umask leaves of 0666; a replaced one is made
        // private until it has the old file's owner and mode.
        fd = createTemporaryFile(AT_FDCWD, dir, base, replacing ? 0600 : 0666, &temp);
        if (fd >= 0)
            removeOnInterrupt(temp.c_str());
    }
    if (fd < 0)
        return FileWrite::Failed;
    if (replacing && !takeOver(fd, st))
        return fail(temp, fd, nullptr);
    FILE *fp = fdopen(fd, "w");
    if (!fp)
        return fail(temp, fd, nullptr);
    errno = EIO; // a writer that fails without saying why
    if (!write(fp) || std::fflush(fp) != 0 || std::ferror(fp))
        return fail(temp, fd, fp);
    if (fsync(fd) != 0)
        return fail(temp, fd, fp);
    if (std::fclose(fp) != 0)
        return fail(temp, -1, nullptr);
    if (rename(temp.c_str(), target.c_str()) != 0)
        return fail(temp, -1, nullptr);
    forgetOnInterrupt(temp.c_str());
    // The rename itself reaches the disk with the directory.
    int dirfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd >= 0) {
        fsync(dirfd);
        close(dirfd);
    }
    return FileWrite::Written;
}
