#pragma once

#include "musicentry.h"
#include "wavebuildoptions.h"
#include "wavepiece.h"

#include <QString>

#include <functional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// Where everything goes in a workout WAV file, worked out before a byte is
/// written.
///
/// The skeleton: the 44-byte header, a 5-second lead-in, and at every segment
/// boundary the get-ready clip ending at the boundary, the control tone once or
/// twice from the boundary, the ten spoken-cue clips after it and the segment's
/// silence after them; then the end-of-workout clip ending at the workout's end,
/// the end tone and 5 seconds of silence. What a segment writes past the next
/// boundary is covered by the next segment, whose tone is placed by position.
///
/// The music, when there is any (the file is then stereo), is laid over the
/// skeleton one second at a time from half a second after each boundary: the
/// first 6 seconds (1 without cues) and the last second and a half of a segment
/// keep the skeleton; music files are consumed one after another through the
/// workout, the dropped seconds included, or one file per segment; past the
/// end of a file's sample data (its data chunk) is silence.
///
/// A moment t seconds into the audio lies at byte 44 + t × bytes per second,
/// taken on the grid of whole sample frames.
class WaveLayout {
public:
    static constexpr int kHeaderSize = 44;
    static constexpr int kSampleRate = 44100;
    static constexpr int kMusicBytesPerSecond = 176400;
    static constexpr int kLeadInSeconds = 5;
    static constexpr int kTailSeconds = 5;

    /// Reads the music entry's file: count bytes from offset into to; returns
    /// the bytes read (fewer at the end of its sample data).
    using MusicReader = std::function<qint64(int entry, qint64 offset, char* to, qint64 count)>;

    /// Clips come from clipDir (missing clips say nothing).
    static WaveLayout plan(const Workout& workout, const Machine& machine, const WaveBuildOptions& options,
                           const std::vector<MusicEntry>& music, const QString& clipDir);

    bool stereo() const { return mStereo; }
    int bytesPerSecond() const { return mStereo ? 176400 : 88200; }
    /// The file's length in bytes, header included.
    qint64 length() const { return mLength; }
    /// The music ran out (or a segment had no file of its own) before the last segment's end.
    bool musicRanOut() const { return mMusicRanOut; }
    /// What each byte of the file is, front to back: pieces that do not overlap
    /// and leave no gap, each the part of a placement that stays uncovered.
    const std::vector<WavePiece>& spans() const { return mSpans; }
    /// The index of the span holding the byte at offset.
    size_t spanAt(qint64 offset) const;
    /// The header with the file's true sizes.
    QByteArray header() const;

    /// Fills out with the file's bytes from offset on.
    void compose(qint64 offset, char* out, qint64 count, const MusicReader& read) const;

    /// The byte offset of a moment t seconds into the audio.
    qint64 offsetAt(double seconds) const;
    /// Where each segment's sounds begin, by byte offset: its get-ready clip, or
    /// without cues its control tone. Segment k at index k − 1.
    const std::vector<qint64>& segmentStarts() const { return mSegmentStarts; }

private:
    void planSkeleton(const Workout& workout, const Machine& machine, const WaveBuildOptions& options,
                      const QString& clipDir);
    void planMusic(const Workout& workout, const WaveBuildOptions& options,
                   const std::vector<MusicEntry>& music);
    void addZeros(qint64 start, qint64 length);
    void addBytes(qint64 start, const QByteArray& bytes);
    void flatten();

    bool mStereo = true;
    qint64 mLength = 0;
    bool mMusicRanOut = false;
    std::vector<WavePiece> mPieces; // placements in the order they are made
    std::vector<WavePiece> mSpans;
    std::vector<qint64> mSegmentStarts;
};

} // namespace kntr
