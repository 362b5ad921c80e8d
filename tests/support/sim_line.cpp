#include "support/sim_line.h"

#include "config/record.h"
#include "link/serial.h"
#include "support/e2e_process.h"

#include <algorithm>
#include <stdexcept>
#include <sys/stat.h>

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

int SimLine::open() { return fd = openSer(device.c_str()); }

bool SimLine::waitReceived(std::size_t count, int ms)
{
    return waitUntil([&] { return sim.received().size() >= count; }, ms, 5);
}

Bytes command6(int code, int index)
{
    Bytes f = {6, std::uint8_t(code), 0, 0, std::uint8_t(index & 0xFF), std::uint8_t(index >> 8)};
    f.resize(16, 0);
    return f;
}

std::vector<Bytes> sentByProgram(const pbxsim::Simulator &sim)
{
    std::vector<Bytes> frames;
    for (const pbxsim::Frame &f : sim.frames())
        if (f.dir == '<')
            frames.push_back(f.bytes);
    return frames;
}

Bytes dataFrame(int code, int subcode, const Bytes &payload, bool padded)
{
    Bytes f = {0, std::uint8_t(code), 0, 0};
    if (subcode >= 0)
        f.push_back(std::uint8_t(subcode));
    f.insert(f.end(), payload.begin(), payload.end());
    f[0] = std::uint8_t(f.size());
    std::uint16_t sum = pbxsim::checksum(f.data() + 4, f.size() - 4);
    f[2] = std::uint8_t(sum & 0xFF);
    f[3] = std::uint8_t(sum >> 8);
    if (padded && f.size() > 5)
        f.resize(f.size() + 10, 0);
    return f;
}

bool checksumOk(const Bytes &answer)
{
    return answer.size() >= 4 && pbxsim::checksum(answer.data() + 4, answer.size() - 4) == (answer[2] | answer[3] << 8);
}

std::vector<unsigned char> imageOf(const pbxsim::State &s)
{
    std::vector<unsigned char> image(rec::PbxImageSize);
    image[0] = static_cast<unsigned char>(s.port_count - 1);
    for (int p = 0; p < pbxsim::PortCount; ++p)
        std::copy(s.ports[p].begin(), s.ports[p].end(), image.begin() + 1 + 195 * p);
    std::copy(s.rufnr.begin(), s.rufnr.end(), image.begin() + rec::RufnrList);
    std::copy(s.ber.begin(), s.ber.end(), image.begin() + rec::BerList);
    std::copy(s.rufvert.begin(), s.rufvert.end(), image.begin() + rec::RufVertList);
    std::copy(s.gebkonf.begin(), s.gebkonf.end(), image.begin() + rec::GebKonfList);
    std::copy(s.stkon.begin(), s.stkon.end(), image.begin() + rec::StKonList);
    std::copy(s.anldat.begin(), s.anldat.end(), image.begin() + rec::AnlDatList);
    return image;
}
