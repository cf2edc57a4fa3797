#pragma once

#include "musicentry.h"
#include "wavebuildoptions.h"
#include "wavebuildresult.h"

#include <QString>

#include <atomic>
#include <functional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// Writes a whole workout into one 44.1 kHz 16-bit PCM WAV file: control tones
/// and spoken cues at every segment boundary, the user's music beneath them and
/// silence elsewhere (see WaveLayout for where everything goes).
///
/// The file is composed and written front to back in blocks, each byte once, so
/// an hour of stereo with music never sits in memory. It is written to a
/// temporary file beside the target and renamed into place only when complete:
/// a cancelled or failed build leaves an earlier file of that name as it was.
class WaveFileBuilder {
public:
    /// Called after every block written: the percentage done and the status line.
    using Progress = std::function<void(int percent, const QString& status)>;

    /// The bytes that can be written in a folder, or -1 when that is not known.
    using FreeSpace = std::function<qint64(const QString& folder)>;

    static constexpr qint64 kBlockBytes = 1 << 20;

    WaveFileBuilder(const Workout& workout, const Machine& machine, WaveBuildOptions options,
                    std::vector<MusicEntry> music, QString clipDir);

    /// Builds the file at path. The cancel flag is tested after every block.
    /// Refuses music that is not WAV, a file that would not fit in 90 % of the
    /// free space of the target's folder, and a file past the 4 GB a WAV file
    /// can describe.
    WaveBuildResult build(const QString& path, const Progress& progress = {},
                          const std::atomic_bool* cancel = nullptr) const;

    /// Replaces the free-space query (by default the file system's figure for the
    /// user).
    void setFreeSpace(FreeSpace freeSpace) { mFreeSpace = std::move(freeSpace); }

    /// The refusal for a music file of the wrong kind, or empty when all are WAV.
    QString musicTypeProblem() const;

    static QString notEnoughSpaceMessage(const QString& location);
    /// The refusal when a file of length bytes at path would not fit in 90 % of
    /// the free space of its folder; empty when it fits or the space is unknown.
    static QString spaceProblem(const QString& path, qint64 length, const FreeSpace& freeSpace);
    /// "The workout file " + path + " could not be written." and the reason.
    static QString writeFailureMessage(const QString& path, const QString& reason);
    static QString writtenMessage(const QString& path);
    static QString writtenStatus(const QString& path);

private:
    const Workout& mWorkout;
    const Machine& mMachine;
    WaveBuildOptions mOptions;
    std::vector<MusicEntry> mMusic;
    QString mClipDir;
    FreeSpace mFreeSpace;
};

} // namespace kntr
