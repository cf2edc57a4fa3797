#pragma once

#include <QByteArray>

namespace kntr {

class ControlTones;
class Segment;

/// The control-tone samples a workout file carries, without the WAV header:
/// a segment's command (speed and incline in tenths) and the stop command.
class SegmentTone {
public:
    static QByteArray samples(ControlTones& tones, const Segment& segment, bool stereo);
    /// The stop command (252, 252) that ends a workout.
    static QByteArray endSamples(ControlTones& tones, bool stereo);
};

} // namespace kntr
