#include "config/atomicfile.h"

#include "link/interrupt.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a path names: a link's target, so that renaming replaces the file
// and not the user's link to it.
std::string targetOf(const char *path)
{
    struct stat st;
    char resolved[PATH_MAX];
    if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode) && realpath(path, resolved))
        return resolved;
    return path;
}

mode_t newFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
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

} // namespace

FileWrite writeFileAtomically(const char *path, const std::function<bool(FILE *)> &write)
{
    std::string target = targetOf(path);
    struct stat st;
    mode_t mode = newFileMode();
    if (stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return FileWrite::NotRegular;
        mode = st.st_mode & 07777;
    }
    std::size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = dir + "/." + base + ".XXXXXX";

    int fd = mkstempRemovedOnInterrupt(temp.data()); // a signal takes it away
    if (fd < 0)
        return FileWrite::Failed;
    if (fchmod(fd, mode) != 0)
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
    int dirfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirfd >= 0) {
        fsync(dirfd);
        close(dirfd);
    }
    return FileWrite::Written;
}
