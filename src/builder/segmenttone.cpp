#include "segmenttone.h"

#include "model/numbers.h"
#include "model/segment.h"
#include "tones/controltones.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kntr {

namespace {

std::int16_t commandValue(double value)
{
    const int tenths = toTenths(value);
    return static_cast<std::int16_t>(std::clamp(tenths, int{std::numeric_limits<std::int16_t>::min()},
                                                int{std::numeric_limits<std::int16_t>::max()}));
}

} // namespace

QByteArray SegmentTone::samples(ControlTones& tones, const Segment& segment, bool stereo)
{
    return tones
        .MakeControlTone(commandValue(segment.SegmentSpeed()), commandValue(segment.SegmentIncline()), stereo)
        .mid(ControlTones::kHeaderSize);
}

QByteArray SegmentTone::endSamples(ControlTones& tones, bool stereo)
{
    return tones.MakeControlTone(252, 252, stereo).mid(ControlTones::kHeaderSize);
}

} // namespace kntr
