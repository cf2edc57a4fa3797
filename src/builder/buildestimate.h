#pragma once

#include "musicentry.h"
#include "workoutfiletype.h"

#include <QString>

#include <vector>

namespace kntr {

class Workout;

/// The builder window's figures and status lines before a build: the workout's
/// length, the expected file size, the output name and how much of the workout
/// the music list covers.
class BuildEstimate {
public:
    /// The sum of the segment times.
    static float totalSeconds(const Workout& workout);
    /// The sum of the entries' seconds.
    static float musicSeconds(const std::vector<MusicEntry>& music);

    /// A WAV workout's size: total seconds × 176,400 bytes, or × 88,200 with the
    /// mono preference and no music (music makes the file stereo).
    static qint64 wavSize(const Workout& workout, bool stereoPreference, bool hasMusic);

    /// An MP3 workout's size. Without music: total seconds × the frame length of
    /// the bit-rate preference (208, 313 or 417 bytes) / 0.026. With music: each
    /// entry in list order that is shorter than the seconds still to fill counts
    /// with its own frame length, and what remains counts at 417 bytes a frame.
    static qint64 mp3Size(const Workout& workout, int bitRatePreference,
                          const std::vector<MusicEntry>& music);

    /// The output path: an empty one becomes lastFile ("untitled." + type name when
    /// that is empty too); its last three characters then become the type name.
    static QString outputPath(const QString& current, const QString& lastFile, WorkoutFileType type);

    /// "12,345 bytes" up to 1,000,000 bytes, else whole megabytes: "53 Mbytes".
    static QString sizeText(qint64 bytes);
    /// The first status line: "File Name: " + path, then the expected size.
    static QString fileInfoText(const QString& path, qint64 bytes);
    /// The music coverage line: per segment ("3 of 5 segments assigned", with
    /// "plus n extra" for files beyond the last segment) or as a share of the workout
    /// ("Play list is 40% of workout.").
    static QString musicCoverageText(bool oneFilePerSegment, int files, int segments, float musicSeconds,
                                     float totalSeconds);
};

} // namespace kntr
