#include "support/ser2net_line.h"

#include <cstdlib>
#include <sys/stat.h>

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
    port = freeLocalPort();
    server = startSer2net(device, port, dir.file("ser2net.yaml"), dir.file("ser2net.log"), why);
    return server > 0;
}

void Ser2netLine::killServer()
{
    killSer2net(server);
    server = -1;
}
