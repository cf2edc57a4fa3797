#include "cddevicefactory.h"

#include "paranoiacddevice.h"

namespace kntr {

std::unique_ptr<CdDevice> makeCdDevice(const QString& device, const MasterGain* gain)
{
    return std::make_unique<ParanoiaCdDevice>(device, gain);
}

} // namespace kntr
