#include "program.h"

#include "config/record.h"

#include <algorithm>

PbxLine::PbxLine(const pbxsim::State &state) : SimLine(state)
{
    programTop();
    setDevicePath(device.c_str());
    scaleValues().clear();
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
