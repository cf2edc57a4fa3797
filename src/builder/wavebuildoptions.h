#pragma once

#include "model/units.h"

namespace kntr {

/// How a workout WAV file is assembled.
struct WaveBuildOptions {
    /// Two channels; a file with music is stereo whatever this says.
    bool stereo = true;
    /// The get-ready clip before each tone, the spoken targets after it and the
    /// end-of-workout clip.
    bool voiceCues = true;
    /// The control tone once or twice at each boundary.
    int beeps = 1;
    /// Music file i belongs to segment i + 1 alone, instead of all files playing
    /// one after another through the workout.
    bool oneFilePerSegment = false;
    /// Speeds are spoken in km/h.
    Units units = Units::Miles;
    /// A chapter mark at each segment's start: a `cue ` chunk and its labels
    /// after the sample data.
    bool chapters = false;
};

} // namespace kntr
