#pragma once

#include "workoutfilewriter.h"

namespace kntr {

/// Writes WAV workout files with WaveFileBuilder.
class WavWorkoutWriter : public WorkoutFileWriter {
public:
    /// Voice clips come from clipDir.
    explicit WavWorkoutWriter(QString clipDir);

    WorkoutFileType type() const override { return WorkoutFileType::Wav; }
    WaveBuildResult write(const Job& job, const Progress& progress,
                          const std::atomic_bool& cancel) const override;

private:
    QString mClipDir;
};

} // namespace kntr
