#include "mp3layout.h"

#include "mp3framewalk.h"
#include "mp3splice.h"
#include "segmenttone.h"
#include "spokencue.h"
#include "voiceclipsamples.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/workout.h"
#include "tones/controltones.h"

#include <QBuffer>
#include <QHash>

#include <algorithm>
#include <optional>

namespace kntr {

namespace {

// An MP3 workout reads its clips from the end of the canonical 44-byte header.
constexpr int kClipHeaderBytes = 44;

struct SilentFrameRow {
    int bitRate;
    unsigned char third; // the header's third byte: bit rate, 44,100 Hz, unpadded
    int length;
};

constexpr SilentFrameRow kSilentFrames[] = {
    {64, 0x50, 208},  {80, 0x60, 261},  {96, 0x70, 313},  {112, 0x80, 365},
    {128, 0x90, 417}, {160, 0xA0, 522}, {192, 0xB0, 626},
};

QString segmentStatus(const char* what, int segment)
{
    return QStringLiteral("Writing ") + QLatin1String(what) + QStringLiteral(" to workout segment ")
        + QString::number(segment);
}

// Encodes each tone and clip once and counts its frames.
class Encodings {
public:
    Encodings(const Mp3Layout::Encoder& encoder, const Mp3Layout::Step& step, int bitRate,
              const Mp3FrameFormat& format)
        : mEncoder(encoder)
        , mStep(step)
        , mBitRate(bitRate)
        , mFormat(format)
    {
    }

    // The piece for the samples named key, or nothing when planning is to end
    // (problem() or stopped() then say why). Samples of no length give no piece.
    std::optional<Mp3Piece> piece(const QString& key, const QByteArray& pcm, const QString& status)
    {
        if (pcm.isEmpty())
            return Mp3Piece{Mp3Piece::Kind::Encoded, 0, {}, 0, 0, 0, status};
        if (mStep && !mStep(status)) {
            mStopped = true;
            return std::nullopt;
        }
        if (const auto found = mDone.constFind(key); found != mDone.constEnd()) {
            Mp3Piece p = *found;
            p.status = status;
            return p;
        }
        const Mp3Encoder::Result encoded = mEncoder(pcm, mBitRate);
        if (!encoded.ok()) {
            mProblem = QStringLiteral("Lame: ") + Mp3Encoder::errorText(encoded.code);
            return std::nullopt;
        }
        // Only whole frames of the build's bit rate may reach the file.
        QBuffer buffer;
        buffer.setData(encoded.frames);
        buffer.open(QIODevice::ReadOnly);
        const Mp3FrameWalk::Result walk =
            Mp3FrameWalk::walk(buffer, 1, mFormat, Mp3FrameWalk::Match::ThirdByte);
        if (!walk.ok || walk.position != encoded.frames.size() + 1) {
            mProblem = QStringLiteral("Lame: the encoder did not deliver whole frames at ")
                + QString::number(mBitRate) + QStringLiteral(" kbit/s.");
            return std::nullopt;
        }
        Mp3Piece p{Mp3Piece::Kind::Encoded, walk.frames, encoded.frames, 0, 0, 0, status};
        mDone.insert(key, p);
        return p;
    }

    const QString& problem() const { return mProblem; }
    bool stopped() const { return mStopped; }

private:
    const Mp3Layout::Encoder& mEncoder;
    const Mp3Layout::Step& mStep;
    int mBitRate;
    Mp3FrameFormat mFormat;
    QHash<QString, Mp3Piece> mDone;
    QString mProblem;
    bool mStopped = false;
};

} // namespace

QByteArray Mp3Layout::QFrame(int bitRate)
{
    for (const SilentFrameRow& row : kSilentFrames) {
        if (row.bitRate == bitRate)
            return Mp3Splice::silentFrame(static_cast<char>(row.third), row.length);
    }
    return {};
}

QString Mp3Layout::undefinedBitRateMessage()
{
    return QStringLiteral("Err. Bitrate not defined");
}

qint64 Mp3Layout::framesOf(double seconds)
{
    return static_cast<qint64>(roundHalfEven(seconds / kFrameSeconds));
}

qint64 Mp3Layout::workoutFrames(const Workout& workout)
{
    return framesOf(roundHalfEven(workout.totalSeconds()));
}

qint64 Mp3Layout::frameCount() const
{
    qint64 frames = 0;
    for (const Mp3Piece& piece : mPieces)
        frames += piece.frames;
    return frames;
}

qint64 Mp3Layout::maximumLength(const std::vector<MusicEntry>& music) const
{
    qint64 largestFrame = mSilentFrame.size();
    for (const MusicEntry& entry : music)
        largestFrame = std::max<qint64>(largestFrame, std::max(entry.frameSize, entry.paddedFrameSize));
    qint64 length = 0;
    for (const Mp3Piece& piece : mPieces) {
        switch (piece.kind) {
        case Mp3Piece::Kind::Silence:
            length += piece.frames * mSilentFrame.size();
            break;
        case Mp3Piece::Kind::Encoded:
            length += piece.bytes.size();
            break;
        case Mp3Piece::Kind::Music:
            length += piece.frames * largestFrame;
            break;
        }
    }
    return length;
}

Mp3Layout Mp3Layout::plan(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                          const std::vector<MusicEntry>& music, const QString& clipDir,
                          const Encoder& encoder, const Step& step)
{
    Mp3Layout layout;
    layout.mBitRate = music.empty() ? options.bitRate : music.front().bitRate;
    layout.mSilentFrame = QFrame(layout.mBitRate);
    if (layout.mSilentFrame.isEmpty()) {
        layout.mProblem = undefinedBitRateMessage();
        return layout;
    }
    layout.mFormat =
        Mp3FrameFormat::fromHeader(layout.mSilentFrame[0], layout.mSilentFrame[1], layout.mSilentFrame[2]);
    layout.mTotalFrames = workoutFrames(workout);

    ControlTones tones(machine);
    tones.BuildToneBlocks(true);
    VoiceClipSamples clips(clipDir, true, kClipHeaderBytes);
    const QChar separator = systemDecimalSeparator();
    Encodings encodings(encoder, step, layout.mBitRate, layout.mFormat);
    std::vector<Mp3Piece>& pieces = layout.mPieces;
    const auto silence = [&pieces](qint64 frames, int segment, const QString& status = {}) {
        pieces.push_back(Mp3Piece{Mp3Piece::Kind::Silence, frames, {}, 0, segment, 0, status});
    };
    // Adds the encoded samples; false when planning has to end.
    const auto encoded = [&](const QString& key, const QByteArray& pcm, const QString& status, int segment,
                             qint64& inserted) {
        std::optional<Mp3Piece> piece = encodings.piece(key, pcm, status);
        if (!piece) {
            layout.mProblem = encodings.problem();
            layout.mStopped = encodings.stopped();
            return false;
        }
        if (piece->frames > 0) {
            piece->segment = segment;
            inserted += piece->frames;
            pieces.push_back(std::move(*piece));
        }
        return true;
    };
    const auto clip = [&](const QString& word, int segment, qint64& inserted) {
        if (word.isEmpty())
            return true;
        return encoded(QStringLiteral("clip ") + word.toLower(), clips.samples(word),
                       segmentStatus("Voicecue.mp3", segment ? segment : workout.count()), segment, inserted);
    };

    silence(kLeadInFrames, 0,
            QStringLiteral("Writing Mp3 frame ") + QString::number(kLeadInFrames) + QStringLiteral(" of ")
                + QString::number(layout.mTotalFrames));
    qint64 segmentsEnd = 0;
    for (int k = 1; k <= workout.count(); ++k) {
        const Segment& segment = workout.segment(k);
        const qint64 frames = framesOf(roundHalfEven(segment.SegmentTime()));
        segmentsEnd += frames;
        qint64 inserted = 0;
        if (options.voiceCues && !clip(QStringLiteral("getready"), k, inserted))
            return layout;
        silence(kSilentRunFrames, k);
        inserted += kSilentRunFrames;
        const QByteArray tone = SegmentTone::samples(tones, segment, true);
        const QString toneKey = QStringLiteral("tone %1 %2")
                                    .arg(toTenths(segment.SegmentSpeed()))
                                    .arg(toTenths(segment.SegmentIncline()));
        for (int beep = 0; beep < (options.beeps == 2 ? 2 : 1); ++beep)
            if (!encoded(toneKey, tone, segmentStatus("Chirp.mp3", k), k, inserted))
                return layout;
        silence(kSilentRunFrames, k);
        inserted += kSilentRunFrames;
        if (options.voiceCues) {
            for (const QString& word : SpokenCue::words(segment, machine, options.units, separator))
                if (!clip(word, k, inserted))
                    return layout;
        }
        if (frames > inserted)
            pieces.push_back(
                Mp3Piece{Mp3Piece::Kind::Music, frames - inserted, {}, inserted, k, segmentsEnd, {}});
    }

    qint64 ending = 0;
    if (options.voiceCues && !clip(QStringLiteral("endofworkout"), 0, ending))
        return layout;
    if (!encoded(QStringLiteral("end tone"), SegmentTone::endSamples(tones, true),
                 segmentStatus("Chirp.mp3", workout.count()), 0, ending))
        return layout;
    silence(kTailFrames, 0,
            QStringLiteral("Preparing Mp3 frame ") + QString::number(layout.mTotalFrames)
                + QStringLiteral(" of ") + QString::number(layout.mTotalFrames));
    return layout;
}

} // namespace kntr
