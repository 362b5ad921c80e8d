#include "support/pbx_line.h"

#include "config/record.h"
#include "support/program.h"

PbxLine::PbxLine(const pbxsim::State &state) : SimLine(state)
{
    programTop();
    setDevicePath(device.c_str());
    scaleValues().clear();
}
