#pragma once

#include "musiccheckresult.h"
#include "musicentry.h"
#include "workoutfiletype.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QIODevice;

namespace kntr {

class Mp3StreamEncoder;

/// The form a converted copy takes: a 16-bit 44.1 kHz stereo WAV file, or a
/// constant-bit-rate MP3 file at bitRate kbit/s.
struct MusicTarget {
    WorkoutFileType type = WorkoutFileType::Wav;
    int bitRate = 0; ///< MP3 only

    /// "wav" or "mp3-128": part of a copy's cache key.
    QString key() const;
};

/// The music check of a workout file of type: the WAV check or the MP3 check.
MusicCheckResult checkMusicFor(WorkoutFileType type, const QString& path);

/// Writes left/right float samples at 44,100 Hz to out as a music file of the
/// target's form: a WAV file (its header's sizes set by finish, so out must be
/// able to seek) or MP3 frames that LAME encodes with its bit reservoir off, so
/// that every frame holds its own main data and splices cleanly anywhere.
class MusicCopyWriter {
public:
    MusicCopyWriter(QIODevice& out, const MusicTarget& target);
    ~MusicCopyWriter();
    MusicCopyWriter(const MusicCopyWriter&) = delete;
    MusicCopyWriter& operator=(const MusicCopyWriter&) = delete;

    /// Takes frames left/right pairs (full scale ±1; louder samples are clipped,
    /// NaN is silence). False with the reason in error when they cannot be written.
    bool add(const float* pairs, qsizetype frames, QString* error);
    /// Ends the file. False with the reason in error when it cannot be finished.
    bool finish(QString* error);
    /// Sample pairs taken so far.
    qint64 frames() const { return mFrames; }

private:
    bool put(const char* data, qint64 size, QString* error);

    QIODevice& mOut;
    MusicTarget mTarget;
    std::unique_ptr<Mp3StreamEncoder> mEncoder;
    qint64 mFrames = 0;
    bool mStarted = false;
};

/// Makes a copy that the builder's music check admits of a music file it turns
/// down: the file is decoded by the system's decoders (in the decoding helper,
/// after our own header check), as 44.1 kHz stereo, and written in the target's
/// form to the cache folder.
///
/// A copy is named by the source's absolute path, size and modification time
/// and by the target, so a later build finds it and converts nothing. It is
/// written under a temporary name and renamed into place when whole; a copy
/// that the check no longer admits is made again. A failed or cancelled
/// conversion leaves nothing in the cache. trim() keeps the folder to its limit.
class MusicConversion {
public:
    /// Left/right float pairs at 44,100 Hz; returns false to stop.
    using Sink = std::function<bool(const float* pairs, qsizetype frames)>;
    using Progress = std::function<void(int percent)>;
    /// Decodes path into sink; false with the reason in error when it cannot.
    using Decoder =
        std::function<bool(const QString& path, const Sink& sink, QString* error, const Progress& progress)>;

    enum class Outcome { Converted, Cancelled, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        MusicEntry entry; ///< the copy, admitted by the check, with source set
        QString message; ///< Failed: "FILE could not be read as audio: REASON"
        bool fromCache = false; ///< the copy was there already
    };

    /// cacheDir holds the copies (created on demand); decoder decodes the
    /// files, by default the decoding helper (DecodeProcess).
    explicit MusicConversion(QString cacheDir, Decoder decoder = {}, qint64 limitBytes = kLimitBytes);

    /// The most the cache folder holds after trim().
    static constexpr qint64 kLimitBytes = qint64{2} * 1024 * 1024 * 1024;

    /// The question asked before a file the check turned down is converted.
    static const QString kQuestion;
    /// The files the add-music dialogs offer when conversion is at hand.
    static const QString kFilter;
    /// Whether path's name is one of kFilter's.
    static bool isAudioFileName(const QString& path);
    /// "FILE could not be read as audio: REASON".
    static QString unreadableMessage(const QString& path, const QString& reason);

    /// The copy of path for target in the cache folder.
    QString copyPath(const QString& path, const MusicTarget& target) const;

    /// The admitted copy of path for target: the cache's, or a new one. Progress
    /// runs 0 to 100 while a file is decoded (also while the decoder is quiet,
    /// so a window can keep responding); cancel stops it.
    Result convert(const QString& path, const MusicTarget& target, const Progress& progress,
                   const std::atomic_bool& cancel) const;

    /// Removes the copies made longest ago while the folder holds more than its
    /// limit, never one of inUse (the copies a workout file about to be built, or
    /// a window's list, plays), and what an interrupted conversion left behind.
    void trim(const QStringList& inUse) const;

private:
    QString mCacheDir;
    Decoder mDecoder;
    qint64 mLimitBytes;
};

} // namespace kntr
