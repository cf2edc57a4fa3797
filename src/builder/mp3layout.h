#pragma once

#include "mp3buildoptions.h"
#include "mp3encoder.h"
#include "mp3frameformat.h"
#include "mp3piece.h"
#include "musicentry.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// What goes into a workout MP3 file, frame by frame, worked out before a byte
/// is written. Time is counted in frames of 0.026 seconds.
///
/// The file: 173 silent frames (4.5 s); for each segment, the get-ready clip,
/// 10 silent frames, the control tone once or twice, 10 silent frames and the
/// spoken targets, then music until the segment has its frames (the segment
/// time rounded to whole seconds / 0.026); after the last segment the
/// end-of-workout clip, the end tone and 173 silent frames. Tones and clips are
/// encoded here, each distinct one once, all of them side by side on every
/// processor once the plan has found them (the encoder is called from several
/// threads at a time; the Step only from the planning thread). start() leaves
/// the encoding running while the file is written. The music runs
/// on under the inserted sounds: as many music frames as were inserted are
/// dropped first. A segment whose inserts exceed its frames gets no music, and
/// the file is longer than the workout by the excess.
class Mp3Layout {
public:
    static constexpr double kFrameSeconds = 0.026;
    static constexpr int kLeadInFrames = 173; ///< 4.5 s
    static constexpr int kTailFrames = 173;
    static constexpr int kSilentRunFrames = 10;

    /// Encodes 16-bit stereo 44.1 kHz samples at a bit rate (Mp3Encoder::encode).
    using Encoder = std::function<Mp3Encoder::Result(const QByteArray& pcm, int bitRate)>;
    /// Called with the status line for each tone and clip as the plan finds it and
    /// again as its encoding is done; returning false stops the plan.
    using Step = std::function<bool(const QString& status)>;

    /// Clips come from clipDir (missing clips say nothing). On an encoder failure
    /// problem() says why; a Step that returns false leaves stopped() set.
    static Mp3Layout plan(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                          const std::vector<MusicEntry>& music, const QString& clipDir,
                          const Encoder& encoder = Mp3Encoder::encode, const Step& step = {});

    /// The silent frame for a bit rate, MPEG-1 Layer III at 44,100 Hz, unpadded,
    /// joint stereo: "FFFB5060" (64 kbit/s, 208 bytes), "FFFB6060" (80, 261),
    /// "FFFB7060" (96, 313), "FFFB8060" (112, 365), "FFFB9060" (128, 417),
    /// "FFFBA060" (160, 522) or "FFFBB060" (192, 626), side information that
    /// decodes as silence and zeros. Empty for any other bit rate.
    static QByteArray QFrame(int bitRate);
    /// Plans the file as plan() does but leaves the tones and clips encoding on
    /// other threads: take() hands out the pieces in file order, each as soon as
    /// its own encoding is done, so that the file is written while the rest is
    /// encoded. A segment's music needs only the frames inserted before it in its
    /// own segment. The Step is called while planning only; pieces() stays empty.
    static Mp3Layout start(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                           const std::vector<MusicEntry>& music, const QString& clipDir,
                           const Encoder& encoder = Mp3Encoder::encode, const Step& step = {});

    Mp3Layout();
    ~Mp3Layout();
    Mp3Layout(Mp3Layout&&) noexcept;
    Mp3Layout& operator=(Mp3Layout&&) noexcept;

    /// The next piece in file order, once it is encoded; false after the last one,
    /// and on an encoder failure (problem() says why, ok() turns false).
    bool take(Mp3Piece& piece);

    static QString undefinedBitRateMessage();
    /// Frames of a span of seconds: seconds / 0.026, rounded.
    static qint64 framesOf(double seconds);
    /// The workout's frames: its time rounded to whole seconds, / 0.026, rounded.
    static qint64 workoutFrames(const Workout& workout);

    bool ok() const { return mProblem.isEmpty() && !mStopped; }
    const QString& problem() const { return mProblem; }
    bool stopped() const { return mStopped; }

    /// The first music file's bit rate, or the options' without music.
    int bitRate() const { return mBitRate; }
    /// The frame shape of the bit rate, by which encoded frames are counted.
    const Mp3FrameFormat& format() const { return mFormat; }
    const QByteArray& silentFrame() const { return mSilentFrame; }
    /// The workout's frames, as the status lines count them.
    qint64 totalFrames() const { return mTotalFrames; }
    /// Every frame of the file in order (plan() only).
    const std::vector<Mp3Piece>& pieces() const { return mPieces; }
    /// The frames of the whole file; while the encoding runs, with the most
    /// frames each tone and clip can take.
    qint64 frameCount() const;
    /// The largest the file can be: music frames counted at the largest frame of
    /// any music file; a tone or clip not yet encoded at its most frames, padded.
    /// Exact without music once everything is encoded.
    qint64 maximumLength(const std::vector<MusicEntry>& music) const;

private:
    class Encodings;
    /// The file's pieces before the music is shortened under what was inserted:
    /// an encoded piece names its job and counts its most frames until it is done.
    struct Planned {
        Mp3Piece piece;
        int job = -1;
    };
    static Mp3Layout schedule(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                              const std::vector<MusicEntry>& music, const QString& clipDir,
                              const Encoder& encoder, const Step& step);
    /// Puts the encoding of a planned piece into it; false on an encoder failure.
    bool fill(Planned& planned);
    /// Runs the music on under what was inserted before it in its segment
    /// (inserted counts those frames): false when the piece leaves nothing in the file.
    static bool place(Mp3Piece& piece, qint64& inserted);

    int mBitRate = 128;
    Mp3FrameFormat mFormat;
    QByteArray mSilentFrame;
    qint64 mTotalFrames = 0;
    std::vector<Mp3Piece> mPieces;
    std::vector<Planned> mPlanned;
    size_t mNext = 0; // the next piece take() hands out, of mPlanned while streamed, else of mPieces
    bool mStreamed = false;
    qint64 mInserted = 0; // frames inserted so far in the segment being placed
    std::unique_ptr<Encodings> mEncodings;
    QString mProblem;
    bool mStopped = false;
};

} // namespace kntr
