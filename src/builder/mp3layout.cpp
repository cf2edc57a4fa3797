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

} // namespace

// Collects each distinct tone and clip while the file is planned, then encodes
// them side by side on every processor, in the order the file first needs them.
class Mp3Layout::Encodings {
public:
    Encodings(Encoder encoder, int bitRate)
        : mEncoder(std::move(encoder))
        , mBitRate(bitRate)
    {
    }

    ~Encodings()
    {
        {
            const std::lock_guard lock(mMutex);
            mStop = true;
        }
        for (std::thread& t : mWorkers)
            t.join();
    }

    // The job that encodes the samples named key. Only before start().
    int job(const QString& key, const QByteArray& pcm, const QString& status)
    {
        if (const auto found = mJobs.constFind(key); found != mJobs.constEnd())
            return *found;
        const int index = static_cast<int>(mWork.size());
        mJobs.insert(key, index);
        // One frame for every 1,152 sample pairs begun, and the encoder's delay.
        mWork.push_back(Work{pcm, status, (pcm.size() / 4 + 1151) / 1152 + 2, {}, false});
        return index;
    }

    // The most frames the encoder gives for the samples of a job.
    qint64 mostFrames(int job) const { return mWork[static_cast<size_t>(job)].mostFrames; }

    // Starts encoding on every processor, with a bounded number of encoders in
    // memory at a time.
    void start()
    {
        const size_t threads =
            std::min<size_t>({mWork.size(), std::max(1u, std::thread::hardware_concurrency()), kMostThreads});
        mWorkers.reserve(threads);
        for (size_t t = 0; t < threads; ++t)
            mWorkers.emplace_back([this] { work(); });
    }

    // Waits for every job, handing each to step as it ends; false when the step
    // asks to stop. From the planning thread only.
    bool waitAll(const Step& step)
    {
        std::unique_lock lock(mMutex);
        for (size_t reported = 0; reported < mWork.size();) {
            mChanged.wait(lock, [&] { return mEnded.size() > reported; });
            const std::vector<size_t> ended(mEnded.begin() + static_cast<qsizetype>(reported), mEnded.end());
            reported = mEnded.size();
            lock.unlock();
            for (size_t i : ended)
                if (step && !step(mWork[i].status)) {
                    lock.lock();
                    mStop = true;
                    return false;
                }
            lock.lock();
        }
        return true;
    }

    // Waits for one job.
    void wait(int job)
    {
        std::unique_lock lock(mMutex);
        mChanged.wait(lock, [&] { return mWork[static_cast<size_t>(job)].done; });
    }

    // A finished job's result.
    const Mp3Encoder::Result& result(int job) const { return mWork[static_cast<size_t>(job)].encoded; }

    static constexpr size_t kMostThreads = 16;

private:
    struct Work {
        QByteArray pcm;
        QString status;
        qint64 mostFrames;
        Mp3Encoder::Result encoded;
        bool done;
    };

    void work()
    {
        for (;;) {
            size_t i = 0;
            {
                const std::lock_guard lock(mMutex);
                if (mStop || mNext == mWork.size())
                    return;
                i = mNext++;
            }
            Work& w = mWork[i];
            w.encoded = mEncoder(w.pcm, mBitRate);
            w.pcm = {}; // its memory is not needed any more
            const std::lock_guard lock(mMutex);
            w.done = true;
            mEnded.push_back(i);
            mChanged.notify_all();
        }
    }

    Encoder mEncoder;
    int mBitRate;
    QHash<QString, int> mJobs;
    std::vector<Work> mWork;
    std::vector<std::thread> mWorkers;
    std::mutex mMutex;
    std::condition_variable mChanged;
    size_t mNext = 0; // the next job to begin
    std::vector<size_t> mEnded; // finished jobs in the order they ended
    bool mStop = false;
};

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

Mp3Layout::Mp3Layout() = default;
Mp3Layout::~Mp3Layout() = default;
Mp3Layout::Mp3Layout(Mp3Layout&&) noexcept = default;
Mp3Layout& Mp3Layout::operator=(Mp3Layout&&) noexcept = default;

qint64 Mp3Layout::frameCount() const
{
    if (!mStreamed) {
        qint64 frames = 0;
        for (const Mp3Piece& piece : mPieces)
            frames += piece.frames;
        return frames;
    }
    // The music shortened under the most frames inserted before it.
    qint64 frames = 0;
    qint64 inserted = 0;
    for (const Planned& planned : mPlanned) {
        Mp3Piece piece = planned.piece;
        if (place(piece, inserted))
            frames += piece.frames;
    }
    return frames;
}

qint64 Mp3Layout::maximumLength(const std::vector<MusicEntry>& music) const
{
    qint64 largestFrame = mSilentFrame.size();
    for (const MusicEntry& entry : music)
        largestFrame = std::max<qint64>(largestFrame, std::max(entry.frameSize, entry.paddedFrameSize));
    const auto length = [&](const Mp3Piece& piece) -> qint64 {
        switch (piece.kind) {
        case Mp3Piece::Kind::Silence:
            return piece.frames * mSilentFrame.size();
        case Mp3Piece::Kind::Encoded:
            return piece.bytes.isEmpty() ? piece.frames * mFormat.paddedFrameSize : piece.bytes.size();
        case Mp3Piece::Kind::Music:
            return piece.frames * largestFrame;
        }
        return 0;
    };
    qint64 total = 0;
    for (const Mp3Piece& piece : mPieces)
        total += length(piece);
    for (const Planned& planned : mPlanned)
        total += length(planned.piece);
    return total;
}

Mp3Layout Mp3Layout::plan(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                          const std::vector<MusicEntry>& music, const QString& clipDir,
                          const Encoder& encoder, const Step& step)
{
    Mp3Layout layout = schedule(workout, machine, options, music, clipDir, encoder, step);
    if (!layout.ok())
        return layout;
    layout.mEncodings->start();
    if (!layout.mEncodings->waitAll(step)) {
        layout.mStopped = true;
        return layout;
    }
    std::vector<Planned> planned = std::exchange(layout.mPlanned, {});
    for (Planned& p : planned) {
        if (!layout.fill(p)) {
            layout.mPieces.clear();
            return layout;
        }
        if (place(p.piece, layout.mInserted))
            layout.mPieces.push_back(std::move(p.piece));
    }
    layout.mEncodings.reset();
    return layout;
}

Mp3Layout Mp3Layout::start(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
                           const std::vector<MusicEntry>& music, const QString& clipDir,
                           const Encoder& encoder, const Step& step)
{
    Mp3Layout layout = schedule(workout, machine, options, music, clipDir, encoder, step);
    if (layout.ok()) {
        layout.mStreamed = true;
        layout.mEncodings->start();
    }
    return layout;
}

bool Mp3Layout::take(Mp3Piece& piece)
{
    if (!mStreamed) {
        if (mNext >= mPieces.size() || !ok())
            return false;
        piece = mPieces[mNext++];
        return true;
    }
    while (ok() && mNext < mPlanned.size()) {
        Planned& planned = mPlanned[mNext++];
        if (!fill(planned))
            return false;
        if (place(planned.piece, mInserted)) {
            piece = std::move(planned.piece);
            return true;
        }
    }
    return false;
}

bool Mp3Layout::fill(Planned& planned)
{
    if (planned.job < 0)
        return true;
    mEncodings->wait(planned.job);
    const Mp3Encoder::Result& encoded = mEncodings->result(planned.job);
    if (!encoded.ok()) {
        mProblem = QStringLiteral("Lame: ") + Mp3Encoder::errorText(encoded.code);
        return false;
    }
    // Only whole frames of the build's bit rate may reach the file.
    QBuffer buffer;
    buffer.setData(encoded.frames);
    buffer.open(QIODevice::ReadOnly);
    const Mp3FrameWalk::Result walk = Mp3FrameWalk::walk(buffer, 1, mFormat, Mp3FrameWalk::Match::ThirdByte);
    if (!walk.ok || walk.position != encoded.frames.size() + 1) {
        mProblem = QStringLiteral("Lame: the encoder did not deliver whole frames at ")
            + QString::number(mBitRate) + QStringLiteral(" kbit/s.");
        return false;
    }
    planned.piece.bytes = encoded.frames;
    planned.piece.frames = walk.frames;
    return true;
}

bool Mp3Layout::place(Mp3Piece& piece, qint64& inserted)
{
    if (piece.kind == Mp3Piece::Kind::Music) {
        const qint64 before = std::exchange(inserted, 0);
        if (piece.frames <= before)
            return false;
        piece.skip = before;
        piece.frames -= before;
        return true;
    }
    if (piece.frames <= 0)
        return false;
    if (piece.segment > 0)
        inserted += piece.frames;
    return true;
}

Mp3Layout Mp3Layout::schedule(const Workout& workout, const Machine& machine, const Mp3BuildOptions& options,
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
    layout.mEncodings = std::make_unique<Encodings>(encoder, layout.mBitRate);
    Encodings& encodings = *layout.mEncodings;
    std::vector<Planned>& pieces = layout.mPlanned;
    const auto silence = [&pieces](qint64 frames, int segment, const QString& status = {}) {
        pieces.push_back(Planned{Mp3Piece{Mp3Piece::Kind::Silence, frames, {}, 0, segment, 0, status}, -1});
    };
    // Adds the samples, encoded later; false when planning has to end.
    const auto encoded = [&](const QString& key, const QByteArray& pcm, const QString& status, int segment) {
        if (pcm.isEmpty())
            return true;
        if (step && !step(status)) {
            layout.mStopped = true;
            return false;
        }
        const int job = encodings.job(key, pcm, status);
        pieces.push_back(Planned{
            Mp3Piece{Mp3Piece::Kind::Encoded, encodings.mostFrames(job), {}, 0, segment, 0, status}, job});
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
        pieces.push_back(Planned{Mp3Piece{Mp3Piece::Kind::Music, frames, {}, 0, k, segmentsEnd, {}}, -1});
    }

    if (options.voiceCues && !clip(QStringLiteral("endofworkout"), 0))
        return layout;
    if (!encoded(QStringLiteral("end tone"), SegmentTone::endSamples(tones, true),
                 segmentStatus("Chirp.mp3", workout.count()), 0))
        return layout;
    silence(kTailFrames, 0,
            QStringLiteral("Preparing Mp3 frame ") + QString::number(layout.mTotalFrames)
                + QStringLiteral(" of ") + QString::number(layout.mTotalFrames));
    return layout;
}

} // namespace kntr
