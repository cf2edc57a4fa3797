#pragma once

#include "mp3buildoptions.h"
#include "mp3layout.h"
#include "musicentry.h"
#include "wavebuildresult.h"
#include "wavefilebuilder.h"

#include <QString>

#include <atomic>
#include <functional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// Writes a whole workout into one MP3 file of MPEG-1 Layer III frames, without
/// decoding any music: silent frames, the control tones and spoken cues encoded
/// at the build's bit rate, and the user's music frames copied byte for byte
/// (see Mp3Layout for where everything goes), but for the few that cannot be
/// decoded where they land and are replaced by silent frames of their length
/// (see Mp3Splice).
///
/// Music is read a window at a time and the file is written front to back in
/// blocks, so an hour of music never sits in memory; long runs of music frames
/// that are copied as they are go from the read window to the file in one
/// piece. It is written to a
/// temporary file beside the target and renamed into place only when complete:
/// a cancelled or failed build leaves an earlier file of that name as it was.
class Mp3FileBuilder {
public:
    /// Called after every block written: the percentage done and the status line.
    using Progress = std::function<void(int percent, const QString& status)>;
    /// The bytes that can be written in a folder, or -1 when that is not known.
    using FreeSpace = WaveFileBuilder::FreeSpace;

    /// Frames are written out whenever this many bytes have been collected.
    static constexpr qint64 kBlockBytes = 64 * 1024;

    Mp3FileBuilder(const Workout& workout, const Machine& machine, Mp3BuildOptions options,
                   std::vector<MusicEntry> music, QString clipDir);

    /// Builds the file at path. The cancel flag is tested after every frame.
    /// Refuses music that is not MP3, a bit rate without a silent frame and a
    /// file that might not fit in 90 % of the free space of the target's folder;
    /// fails, writing nothing, when the encoder fails.
    WaveBuildResult build(const QString& path, const Progress& progress = {},
                          const std::atomic_bool* cancel = nullptr) const;

    /// Replaces the free-space query (by default the file system's figure for the user).
    void setFreeSpace(FreeSpace freeSpace) { mFreeSpace = std::move(freeSpace); }
    /// Replaces the encoder (by default Mp3Encoder::encode).
    void setEncoder(Mp3Layout::Encoder encoder) { mEncoder = std::move(encoder); }

    /// The refusal for a music file of the wrong kind, or empty when all are MP3.
    QString musicTypeProblem() const;

    static QString writtenStatus(const QString& path);
    /// The box that tells a finished build, as a WAV build has one.
    static QString writtenMessage(const QString& path);

private:
    const Workout& mWorkout;
    const Machine& mMachine;
    Mp3BuildOptions mOptions;
    std::vector<MusicEntry> mMusic;
    QString mClipDir;
    FreeSpace mFreeSpace;
    Mp3Layout::Encoder mEncoder;
};

} // namespace kntr
