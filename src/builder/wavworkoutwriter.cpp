#include "wavworkoutwriter.h"

#include "wavefilebuilder.h"

#include "model/machine.h"

namespace kntr {

WavWorkoutWriter::WavWorkoutWriter(QString clipDir)
    : mClipDir(std::move(clipDir))
{
}

WaveBuildResult WavWorkoutWriter::write(const Job& job, const Progress& progress,
                                        const std::atomic_bool& cancel) const
{
    const WaveFileBuilder builder(job.workout, job.machine, job.preferences.waveOptions(job.machine.units()),
                                  job.music, mClipDir);
    return builder.build(job.path, progress, &cancel);
}

} // namespace kntr
