#pragma once

#include "workoutfilewriter.h"

namespace kntr {

/// Writes MP3 workout files with Mp3FileBuilder.
class Mp3WorkoutWriter : public WorkoutFileWriter {
public:
    /// Voice clips come from clipDir.
    explicit Mp3WorkoutWriter(QString clipDir);

    WorkoutFileType type() const override { return WorkoutFileType::Mp3; }
    WaveBuildResult write(const Job& job, const Progress& progress,
                          const std::atomic_bool& cancel) const override;

private:
    QString mClipDir;
};

} // namespace kntr
