#pragma once

#include "model/units.h"

#include <QString>

namespace kntr {

/// How a workout MP3 file is assembled.
struct Mp3BuildOptions {
    /// kbit/s of a file without music (64, 96 or 128); with music the first
    /// music file's bit rate is used.
    int bitRate = 128;
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
    /// An ID3v2.4 tag in front of the frames: the title and a chapter per segment.
    bool chapters = false;
    /// The tag's title.
    QString title;
};

} // namespace kntr
