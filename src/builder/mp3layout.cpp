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
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

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

// Collects each distinct tone and clip while the file is planned, then encodes
// them all at once, side by side on every processor, and counts their frames.
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

    // The job that encodes the samples named key, or -1 when planning is to end
    // (stopped() then says so). Samples of no length need no job: -2.
    int job(const QString& key, const QByteArray& pcm, const QString& status)
    {
        if (pcm.isEmpty())
            return kNothing;
        if (mStep && !mStep(status)) {
            mStopped = true;
            return -1;
        }
        if (const auto found = mJobs.constFind(key); found != mJobs.constEnd())
            return *found;
        const int index = static_cast<int>(mWork.size());
        mJobs.insert(key, index);
        mWork.push_back(Work{pcm, status, {}, 0});
        return index;
    }

    // Encodes every job; false on an encoder failure (problem() says why) or
    // when the step asks to stop (stopped()).
    bool run()
    {
        const size_t count = mWork.size();
        std::atomic_size_t next = 0;
        std::atomic_bool stop = false;
        std::mutex mutex;
        std::condition_variable changed;
        size_t finished = 0;
        std::vector<size_t> reported; // finished jobs not yet reported, in the order they ended
        const auto work = [&] {
            for (size_t i = next++; i < count && !stop; i = next++) {
                Work& w = mWork[i];
                w.encoded = mEncoder(w.pcm, mBitRate);
                w.pcm = {}; // its memory is not needed any more
                const std::lock_guard lock(mutex);
                ++finished;
                reported.push_back(i);
                changed.notify_one();
            }
        };
        // Every processor, but a bounded number of encoders in memory at a time.
        const size_t threads =
            std::min<size_t>({count, std::max(1u, std::thread::hardware_concurrency()), kMostThreads});
        std::vector<std::thread> workers;
        workers.reserve(threads);
        for (size_t t = 0; t < threads; ++t)
            workers.emplace_back(work);
        // Reports come from this thread only, as each piece is done.
        {
            std::unique_lock lock(mutex);
            while (!stop && finished < count) {
                changed.wait(lock, [&] { return !reported.empty(); });
                const std::vector<size_t> done = std::exchange(reported, {});
                lock.unlock();
                for (size_t i : done)
                    if (mStep && !mStep(mWork[i].status))
                        stop = true;
                lock.lock();
            }
        }
        for (std::thread& t : workers)
            t.join();
        if (stop) {
            mStopped = true;
            return false;
        }
        for (Work& w : mWork)
            if (!check(w))
                return false;
        return true;
    }

    // The encoded frames of a job and their number.
    const QByteArray& bytes(int job) const { return mWork[static_cast<size_t>(job)].encoded.frames; }
    qint64 frames(int job) const { return mWork[static_cast<size_t>(job)].frames; }

    const QString& problem() const { return mProblem; }
    bool stopped() const { return mStopped; }

    static constexpr int kNothing = -2;
    static constexpr size_t kMostThreads = 16;

private:
    struct Work {
        QByteArray pcm;
        QString status;
        Mp3Encoder::Result encoded;
        qint64 frames;
    };

    // Checks a job's result and counts its frames.
    bool check(Work& w)
    {
        if (!w.encoded.ok()) {
            mProblem = QStringLiteral("Lame: ") + Mp3Encoder::errorText(w.encoded.code);
            return false;
        }
        // Only whole frames of the build's bit rate may reach the file.
        QBuffer buffer;
        buffer.setData(w.encoded.frames);
        buffer.open(QIODevice::ReadOnly);
        const Mp3FrameWalk::Result walk =
            Mp3FrameWalk::walk(buffer, 1, mFormat, Mp3FrameWalk::Match::ThirdByte);
        if (!walk.ok || walk.position != w.encoded.frames.size() + 1) {
            mProblem = QStringLiteral("Lame: the encoder did not deliver whole frames at ")
                + QString::number(mBitRate) + QStringLiteral(" kbit/s.");
            return false;
        }
        w.frames = walk.frames;
        return true;
    }

    const Mp3Layout::Encoder& mEncoder;
    const Mp3Layout::Step& mStep;
    int mBitRate;
    Mp3FrameFormat mFormat;
    QHash<QString, int> mJobs;
    std::vector<Work> mWork;
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
    // The encoded pieces, by their place in pieces, and the job that fills each.
    std::vector<std::pair<size_t, int>> encodedAt;
    const auto silence = [&pieces](qint64 frames, int segment, const QString& status = {}) {
        pieces.push_back(Mp3Piece{Mp3Piece::Kind::Silence, frames, {}, 0, segment, 0, status});
    };
    // Adds the samples, encoded later; false when planning has to end.
    const auto encoded = [&](const QString& key, const QByteArray& pcm, const QString& status, int segment) {
        const int job = encodings.job(key, pcm, status);
        if (job == -1) {
            layout.mStopped = true;
            return false;
        }
        if (job >= 0) {
            encodedAt.emplace_back(pieces.size(), job);
            pieces.push_back(Mp3Piece{Mp3Piece::Kind::Encoded, 0, {}, 0, segment, 0, status});
        }
        return true;
    };
    const auto clip = [&](const QString& word, int segment) {
        if (word.isEmpty())
            return true;
        return encoded(QStringLiteral("clip ") + word.toLower(), clips.samples(word),
                       segmentStatus("Voicecue.mp3", segment ? segment : workout.count()), segment);
    };

    silence(kLeadInFrames, 0,
            QStringLiteral("Writing Mp3 frame ") + QString::number(kLeadInFrames) + QStringLiteral(" of ")
                + QString::number(layout.mTotalFrames));
    qint64 segmentsEnd = 0;
    for (int k = 1; k <= workout.count(); ++k) {
        const Segment& segment = workout.segment(k);
        const qint64 frames = framesOf(roundHalfEven(segment.SegmentTime()));
        segmentsEnd += frames;
        if (options.voiceCues && !clip(QStringLiteral("getready"), k))
            return layout;
        silence(kSilentRunFrames, k);
        const QByteArray tone = SegmentTone::samples(tones, segment, true);
        const QString toneKey = QStringLiteral("tone %1 %2")
                                    .arg(toTenths(segment.SegmentSpeed()))
                                    .arg(toTenths(segment.SegmentIncline()));
        for (int beep = 0; beep < (options.beeps == 2 ? 2 : 1); ++beep)
            if (!encoded(toneKey, tone, segmentStatus("Chirp.mp3", k), k))
                return layout;
        silence(kSilentRunFrames, k);
        if (options.voiceCues) {
            for (const QString& word : SpokenCue::words(segment, machine, options.units, separator))
                if (!clip(word, k))
                    return layout;
        }
        // The whole segment for now: what is inserted before it is known once encoded.
        pieces.push_back(Mp3Piece{Mp3Piece::Kind::Music, frames, {}, 0, k, segmentsEnd, {}});
    }

    if (options.voiceCues && !clip(QStringLiteral("endofworkout"), 0))
        return layout;
    if (!encoded(QStringLiteral("end tone"), SegmentTone::endSamples(tones, true),
                 segmentStatus("Chirp.mp3", workout.count()), 0))
        return layout;
    silence(kTailFrames, 0,
            QStringLiteral("Preparing Mp3 frame ") + QString::number(layout.mTotalFrames)
                + QStringLiteral(" of ") + QString::number(layout.mTotalFrames));

    if (!encodings.run()) {
        layout.mProblem = encodings.problem();
        layout.mStopped = encodings.stopped();
        layout.mPieces.clear();
        return layout;
    }
    for (const auto& [at, job] : encodedAt) {
        pieces[at].bytes = encodings.bytes(job);
        pieces[at].frames = encodings.frames(job);
    }
    // The music runs on under what was inserted before it in its segment.
    std::vector<Mp3Piece> placed;
    placed.reserve(pieces.size());
    qint64 inserted = 0;
    for (Mp3Piece& piece : pieces) {
        if (piece.kind == Mp3Piece::Kind::Music) {
            if (piece.frames > inserted) {
                piece.skip = inserted;
                piece.frames -= inserted;
                placed.push_back(std::move(piece));
            }
            inserted = 0;
        } else if (piece.frames > 0) {
            if (piece.segment > 0)
                inserted += piece.frames;
            placed.push_back(std::move(piece));
        }
    }
    pieces = std::move(placed);
    return layout;
}

} // namespace kntr
