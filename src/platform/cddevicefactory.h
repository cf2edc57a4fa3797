#pragma once

#include "cddevice.h"

#include <QString>

#include <memory>

namespace kntr {

class MasterGain;

/// The CD device a live run plays its music from. device names a drive (for
/// example /dev/sr0) or a disc image; empty means the system's default drive.
/// The gain, which may be null, is the level the music is heard at.
std::unique_ptr<CdDevice> makeCdDevice(const QString& device, const MasterGain* gain);

} // namespace kntr
