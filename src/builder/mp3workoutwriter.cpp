#include "mp3workoutwriter.h"

#include "mp3filebuilder.h"

#include "model/machine.h"

#include <QFileInfo>

namespace kntr {

Mp3WorkoutWriter::Mp3WorkoutWriter(QString clipDir)
    : mClipDir(std::move(clipDir))
{
}

WaveBuildResult Mp3WorkoutWriter::write(const Job& job, const Progress& progress,
                                        const std::atomic_bool& cancel) const
{
    Mp3BuildOptions options = job.preferences.mp3Options(job.machine.units());
    options.title = job.title.isEmpty() ? QFileInfo(job.path).completeBaseName() : job.title;
    const Mp3FileBuilder builder(job.workout, job.machine, options, job.music, mClipDir);
    return builder.build(job.path, progress, &cancel);
}

} // namespace kntr
