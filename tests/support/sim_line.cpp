#include "support/sim_line.h"

#include "link/serial.h"

#include <chrono>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

SimLine::SimLine(const pbxsim::State &state) : sim(state)
{
    mkdir(dir.file("lock").c_str(), 0755);
    setLockDir(dir.file("lock").c_str());
    device = dir.file("ttyPBX");
    std::string error;
    if (!sim.open(device, &error))
        throw std::runtime_error(error);
    sim.start();
}

SimLine::~SimLine()
{
    if (fd >= 0)
        closeSer(fd);
    sim.stop();
    setLockDir(nullptr);
}

int SimLine::open()
{
    fd = openSer(device.c_str());
    return fd;
}

bool SimLine::waitReceived(std::size_t count, int ms)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (sim.received().size() < count) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

