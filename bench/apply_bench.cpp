// kelvoractl apply on 10 MB of hostile text, each kind of text once: the time
// it takes (budget 2 s each) and how much it says on standard error.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::size_t Size = 10 * 1024 * 1024;
constexpr double BudgetSeconds = 2.0;

std::string repeated(const std::string &piece)
{
    std::string out;
    out.reserve(Size + piece.size());
    while (out.size() < Size)
        out += piece;
    out.resize(Size);
    return out;
}

bool writeAll(const std::string &path, const std::string &bytes)
{
    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    return std::fclose(fp) == 0 && ok;
}

long sizeOf(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

} // namespace

int main()
{
    char dir[] = "/tmp/kelvora-apply-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        std::perror("mkdtemp");
        return 1;
    }
    std::string base = dir;
    std::string cfg = base + "/a.cfg", text = base + "/text", err = base + "/err";
    std::string file = "Daten Konfigurator DORVAN IS-x V1.4";
    file.resize(2134, '\0');
    const std::string label = "Globale Anlagendaten: Ortsvorwahl: ";
    const struct {
        const char *what;
        std::string text;
    } cases[] = {
        {"one line naming no field", repeated("x")},
        {"\": \" separators", repeated(": ")},
        {"one value of 10 MB", label + repeated("7")},
        {"short lines naming nothing", repeated("kein Feld: 1\n")},
        {"one field over and over", repeated(label + "6357\r\n")},
        {"NUL bytes", repeated(std::string(1, '\0'))},
        {"escape sequences", repeated(label + "\x1B[2J\n")},
    };
    std::printf("kelvoractl apply on %zu MB of text (budget %.1f s each)\n\n%-30s %10s %14s\n", Size >> 20,
                BudgetSeconds, "text", "wall", "stderr bytes");
    bool within = true;
    for (const auto &c : cases) {
        if (!writeAll(cfg, file) || !writeAll(text, c.text)) {
            std::perror(base.c_str());
            return 1;
        }
        auto started = std::chrono::steady_clock::now();
        pid_t child = fork();
        if (child == 0) {
            int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, STDERR_FILENO);
            execl(KELVORACTL_BINARY, "kelvoractl", "apply", text.c_str(), cfg.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        within = within && seconds <= BudgetSeconds;
        std::printf("%-30s %8.3f s %14ld%s\n", c.what, seconds, sizeOf(err),
                    seconds <= BudgetSeconds ? "" : "  over budget");
    }
    for (const std::string &path : {cfg, text, err})
        unlink(path.c_str());
    rmdir(dir);
    return within ? 0 : 1;
}
