#include "mp3workoutwriter.h"

#include "mp3filebuilder.h"

#include "model/machine.h"

namespace kntr {

Mp3WorkoutWriter::Mp3WorkoutWriter(QString clipDir)
    : mClipDir(std::move(clipDir))
{
}

WaveBuildResult Mp3WorkoutWriter::write(const Job& job, const Progress& progress,
                                        const std::atomic_bool& cancel) const
{
    const Mp3FileBuilder builder(job.workout, job.machine, job.preferences.mp3Options(job.machine.units()),
                                 job.music, mClipDir);
    return builder.build(job.path, progress, &cancel);
}

} // namespace kntr
