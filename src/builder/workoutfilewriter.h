#pragma once

#include "musicentry.h"
#include "recordingpreferences.h"
#include "wavebuildresult.h"
#include "workoutfiletype.h"

#include <QString>

#include <atomic>
#include <functional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// Writes one kind of workout audio file for the builder window. The window
/// owns the choice of file, the free-space check, progress and cancel; a writer
/// only builds the file, reporting as it goes, and leaves no partial file behind
/// when it stops early.
class WorkoutFileWriter {
public:
    /// What to build.
    struct Job {
        const Workout& workout;
        const Machine& machine; ///< its type for the tones, its units for the spoken speeds
        RecordingPreferences preferences;
        std::vector<MusicEntry> music;
        QString path;
        /// The workout's file name without extension, the title of the chapter
        /// marks; empty: the written file's.
        QString title = {};
    };

    /// Called often (at least every few seconds of audio): the percentage done
    /// and the status line.
    using Progress = std::function<void(int percent, const QString& status)>;

    virtual ~WorkoutFileWriter() = default;

    virtual WorkoutFileType type() const = 0;
    /// Builds the file. The cancel flag is tested after every progress report.
    /// The result's outcomes mean the same for every kind of file.
    virtual WaveBuildResult write(const Job& job, const Progress& progress,
                                  const std::atomic_bool& cancel) const = 0;
};

} // namespace kntr
