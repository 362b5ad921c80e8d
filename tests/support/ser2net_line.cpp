#include "support/ser2net_line.h"

#include "support/e2e_process.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

std::string ser2netBinary()
{
    for (const char *path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"})
        if (access(path, X_OK) == 0)
            return path;
    return "";
}

int freeLocalPort()
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

namespace {

// Whether something listens on 127.0.0.1:port, from the kernel's table: a
// connection to find out would make ser2net open the line.
bool listening(int port)
{
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", unsigned(port));
    std::ifstream tcp("/proc/net/tcp");
    std::string line;
    while (std::getline(tcp, line))
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos)
            return true;
    return false;
}

} // namespace

Ser2netLine::Ser2netLine(const pbxsim::State &state) : SimLine(state)
{
    mkdir(dir.file("run").c_str(), 0700);
    if (const char *old = std::getenv("XDG_RUNTIME_DIR")) {
        hadRuntime = true;
        oldRuntime = old;
    }
    setenv("XDG_RUNTIME_DIR", dir.file("run").c_str(), 1);
    sim.setLineWatch(true);
    std::string error;
    sim.setLogFile(dir.file("pbx.log"), &error);
}

Ser2netLine::~Ser2netLine()
{
    killServer();
    if (hadRuntime)
        setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

bool Ser2netLine::serve(std::string *why)
{
    std::string binary = ser2netBinary();
    if (binary.empty()) {
        *why = "ser2net is not installed";
        return false;
    }
    port = freeLocalPort();
    std::string config = dir.file("ser2net.yaml");
    writeFile(config, "%YAML 1.1\n---\n"
                      "connection: &pbx\n"
                      "  accepter: telnet(rfc2217),tcp,127.0.0.1," +
                          std::to_string(port) +
                          "\n"
                          "  connector: serialdev," +
                          device + ",9600n81,local\n");
    std::string log = dir.file("ser2net.log");
    server = fork();
    if (server == 0) {
        int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        // -u: no UUCP lock of its own in /var/lock, which other tests watch.
        execl(binary.c_str(), binary.c_str(), "-n", "-u", "-c", config.c_str(), "-P",
              dir.file("ser2net.pid").c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    if (!waitUntil([&] { return listening(port); }, 5000, 10)) {
        *why = "ser2net did not listen on port " + std::to_string(port) + ": " + readFile(log);
        killServer();
        return false;
    }
    return true;
}

void Ser2netLine::killServer()
{
    if (server > 0) {
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
    }
    server = -1;
}
