#pragma once

#include "workoutfilewriter.h"

namespace kntr {

/// Writes MP3 workout files with Mp3FileBuilder.
class Mp3WorkoutWriter : public WorkoutFileWriter {
public:
    /// Voice clips come from clipDir; encoded tones and cues are kept in
    /// pieceCacheDir for the next build (none when empty).
    explicit Mp3WorkoutWriter(QString clipDir, QString pieceCacheDir = {});

    WorkoutFileType type() const override { return WorkoutFileType::Mp3; }
    WaveBuildResult write(const Job& job, const Progress& progress,
                          const std::atomic_bool& cancel) const override;

private:
    QString mClipDir;
    QString mPieceCacheDir;
};

} // namespace kntr
