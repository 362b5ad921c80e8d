#include "program.h"

#include "config/record.h"

PbxLine::PbxLine(const pbxsim::State &state) : SimLine(state)
{
    programTop();
    setDevicePath(device.c_str());
    scaleValues().clear();
}
