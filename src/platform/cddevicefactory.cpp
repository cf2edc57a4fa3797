#include "cddevicefactory.h"

#include "libcdiocddevice.h"

namespace kntr {

std::unique_ptr<CdDevice> makeCdDevice(const QString&, const MasterGain*)
{
    return std::make_unique<LibcdioCdDevice>();
}

} // namespace kntr
