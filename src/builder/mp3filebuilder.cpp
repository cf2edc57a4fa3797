#include "mp3filebuilder.h"

#include "chaptermarks.h"

#include "musictype.h"

#include "mp3musicreader.h"
#include "mp3piececache.h"
#include "mp3splice.h"
#include "wavefilebuilder.h"

#include <QByteArrayView>
#include <QSaveFile>

#include <optional>

#include <fcntl.h>

namespace kntr {

namespace {

// Collects frames and writes them out a block at a time, counting frames for the
// progress; after each block it reports and looks at the cancel flag.
class FrameWriter {
public:
    FrameWriter(QSaveFile& out, qint64 totalFrames, const Mp3FileBuilder::Progress& progress,
                const std::atomic_bool* cancel)
        : mOut(out)
        , mTotalFrames(std::max<qint64>(1, totalFrames))
        , mProgress(progress)
        , mCancel(cancel)
    {
        mBlock.reserve(2 * Mp3FileBuilder::kBlockBytes);
    }

    // Adds whole frames; false when the file could not take the block or the
    // build is cancelled (cancelled() tells which).
    bool append(QByteArrayView frames, qint64 count)
    {
        mBlock.append(frames);
        mFrames += count;
        return mBlock.size() <= Mp3FileBuilder::kBlockBytes || flush();
    }

    // Adds whole frames that the caller keeps valid until this returns: a long
    // run goes to the file as it is, without passing through the block.
    bool appendRun(QByteArrayView frames, qint64 count)
    {
        if (frames.size() < Mp3FileBuilder::kBlockBytes / 4)
            return append(frames, count);
        if (!flush())
            return false;
        if (mOut.write(frames.data(), frames.size()) != frames.size())
            return false;
        mWritten += frames.size();
        mFrames += count;
        startWriteBack();
        return reported();
    }

    bool appendSilence(const QByteArray& frame, qint64 count)
    {
        if (mSilence.isEmpty())
            mSilence = frame.repeated(100);
        for (; count >= 100; count -= 100)
            if (!append(mSilence, 100))
                return false;
        for (; count >= 10; count -= 10)
            if (!append(QByteArrayView(mSilence).first(10 * frame.size()), 10))
                return false;
        for (; count > 0; --count)
            if (!append(frame, 1))
                return false;
        return true;
    }

    bool flush()
    {
        if (mBlock.isEmpty())
            return true;
        if (mOut.write(mBlock) != mBlock.size())
            return false;
        mWritten += mBlock.size();
        mBlock.clear();
        startWriteBack();
        return reported();
    }

    // A new status line, reported at once or with the next block.
    void setStatus(const QString& status, bool now = true)
    {
        if (status.isEmpty() || status == mStatus)
            return;
        mStatus = status;
        if (now)
            report();
    }

    // Reports what is written; false when the build is cancelled.
    bool reported()
    {
        report();
        mCancelled = mCancel && mCancel->load();
        return !mCancelled;
    }

    void report() const
    {
        if (mProgress)
            mProgress(static_cast<int>(std::min<qint64>(100, mFrames * 100 / mTotalFrames)), mStatus);
    }

    bool cancelled() const { return mCancelled; }
    qint64 written() const { return mWritten + mBlock.size(); }

private:
    // Sends what is written to the disk as the writing goes on, a few megabytes
    // at a time, so that the closing sync has little left to wait for.
    void startWriteBack()
    {
        if (mWritten - mSent < kWriteBackBytes)
            return;
        ::sync_file_range(mOut.handle(), mSent, mWritten - mSent, SYNC_FILE_RANGE_WRITE);
        mSent = mWritten;
    }

    static constexpr qint64 kWriteBackBytes = 4 * 1024 * 1024;

    QSaveFile& mOut;
    qint64 mTotalFrames;
    const Mp3FileBuilder::Progress& mProgress;
    const std::atomic_bool* mCancel;
    QByteArray mBlock;
    QByteArray mSilence;
    qint64 mFrames = 0;
    qint64 mWritten = 0;
    qint64 mSent = 0; // bytes sent to the disk ahead of the closing sync
    bool mCancelled = false;
    QString mStatus;
};

} // namespace

Mp3FileBuilder::Mp3FileBuilder(const Workout& workout, const Machine& machine, Mp3BuildOptions options,
                               std::vector<MusicEntry> music, QString clipDir)
    : mWorkout(workout)
    , mMachine(machine)
    , mOptions(options)
    , mMusic(std::move(music))
    , mClipDir(std::move(clipDir))
    , mFreeSpace(freeSpaceIn)
    , mEncoder(Mp3Encoder::encode)
{
}

QString Mp3FileBuilder::musicTypeProblem() const
{
    return kntr::musicTypeProblem(mMusic, WorkoutFileType::Mp3);
}

QString Mp3FileBuilder::writtenMessage(const QString& path)
{
    return QStringLiteral("Kinetrova MP3 file ") + path
        + QStringLiteral(" written to disk. Play it on your computer or MP3 player, or copy it to a "
                         "CD-R disk to use as a workout.");
}

QString Mp3FileBuilder::writtenStatus(const QString& path)
{
    return QStringLiteral("Workout file: ") + path
        + QStringLiteral(" written to disk. \rOk to play this file on your computer, MP3 Player, or copy it "
                         "to a CD-R disk.");
}

WaveBuildResult Mp3FileBuilder::build(const QString& path, const Progress& progress,
                                      const std::atomic_bool* cancel) const
{
    WaveBuildResult result;
    result.outcome = WaveBuildResult::Outcome::Refused;
    if (const QString problem = musicTypeProblem(); !problem.isEmpty()) {
        result.message = problem;
        return result;
    }
    if (Mp3Layout::QFrame(mMusic.empty() ? mOptions.bitRate : mMusic.front().bitRate).isEmpty()) {
        result.message = Mp3Layout::undefinedBitRateMessage();
        return result;
    }

    const auto cancelled = [cancel] { return cancel && cancel->load(); };
    std::optional<Mp3PieceCache> cache;
    if (!mOptions.pieceCacheDir.isEmpty())
        cache.emplace(mOptions.pieceCacheDir);
    const Mp3Layout::Encoder encoder = cache ? cache->in(mEncoder) : mEncoder;
    const Mp3Layout::Step step = [&](const QString& status) {
        if (progress)
            progress(0, status);
        return !cancelled();
    };
    // Chapter marks go in front of the frames and need every piece's length
    // first; otherwise the file is written while the tones and clips encode.
    Mp3Layout layout = mOptions.chapters
        ? Mp3Layout::plan(mWorkout, mMachine, mOptions, mMusic, mClipDir, encoder, step)
        : Mp3Layout::start(mWorkout, mMachine, mOptions, mMusic, mClipDir, encoder, step);
    if (layout.stopped()) {
        result.outcome = WaveBuildResult::Outcome::Cancelled;
        return result;
    }
    if (!layout.ok()) {
        result.outcome = WaveBuildResult::Outcome::Failed;
        result.message = WaveFileBuilder::writeFailureMessage(path, layout.problem());
        return result;
    }

    const QByteArray tag = mOptions.chapters
        ? ChapterMarks::mp3Tag(layout, mWorkout, mMachine, mOptions.units, mOptions.title)
        : QByteArray();
    if (const QString problem =
            WaveFileBuilder::spaceProblem(path, tag.size() + layout.maximumLength(mMusic), mFreeSpace);
        !problem.isEmpty()) {
        result.message = problem;
        return result;
    }

    result.outcome = WaveBuildResult::Outcome::Failed;
    QSaveFile out(path);
    // The blocks are large: no second buffer in between.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.message = WaveFileBuilder::writeFailureMessage(path, out.errorString());
        return result;
    }
    FrameWriter writer(out, layout.frameCount(), progress, cancel);
    const auto stop = [&] {
        result.outcome = WaveBuildResult::Outcome::Cancelled;
        out.cancelWriting();
        return result;
    };
    const auto fail = [&] {
        if (writer.cancelled())
            return stop();
        result.outcome = WaveBuildResult::Outcome::Failed;
        result.message = WaveFileBuilder::writeFailureMessage(path, out.errorString());
        out.cancelWriting();
        return result;
    };
    // The chapters' tag goes first: it holds no frames.
    if (!writer.append(tag, 0))
        return fail();
    Mp3MusicReader music(mMusic);
    Mp3Splice splice;
    const QByteArray& silent = layout.silentFrame();
    const QString frameCount = QStringLiteral(" of ") + QString::number(layout.totalFrames());
    Mp3Piece piece;
    while (layout.take(piece)) {
        writer.setStatus(piece.status);
        switch (piece.kind) {
        case Mp3Piece::Kind::Silence:
            if (!writer.appendSilence(silent, piece.frames))
                return fail();
            break;
        case Mp3Piece::Kind::Encoded:
            if (!writer.append(piece.bytes, piece.frames))
                return fail();
            break;
        case Mp3Piece::Kind::Music: {
            qint64 budget = piece.frames;
            qint64 skip = piece.skip;
            // The music follows inserted frames, or frames dropped under them.
            splice.restart();
            if (mOptions.oneFilePerSegment) {
                music.readOnly(piece.segment - 1);
                if (static_cast<size_t>(piece.segment) > mMusic.size() && !mMusic.empty())
                    result.musicRanOut = true;
            }
            // Frames copied as they are, one after another in the reader's window,
            // go out in one piece.
            QByteArrayView run;
            qint64 runFrames = 0;
            const auto writeRun = [&] {
                if (run.isEmpty())
                    return true;
                writer.setStatus(QStringLiteral("Preparing Mp3 frame ")
                                     + QString::number(piece.segmentsEnd - budget) + frameCount
                                     + QStringLiteral("\rWriting workout segment ")
                                     + QString::number(piece.segment),
                                 false);
                const bool written = writer.appendRun(run, runFrames);
                run = {};
                runFrames = 0;
                return written;
            };
            while (budget > 0) {
                // Reading on may move the window under the run.
                if (!music.nextInWindow() && !writeRun())
                    return fail();
                const QByteArrayView frame = music.next();
                if (frame.isEmpty()) {
                    if (!mOptions.oneFilePerSegment && !mMusic.empty())
                        result.musicRanOut = true;
                    break;
                }
                if (music.startedEntry())
                    writer.setStatus(QStringLiteral("Reading ")
                                     + mMusic[static_cast<size_t>(music.entry())].path);
                if (cancelled())
                    return stop();
                if (skip > 0) {
                    --skip;
                    continue;
                }
                const QByteArrayView passed = splice.pass(frame, music.startedEntry());
                const bool follows = run.isEmpty() || run.data() + run.size() == frame.data();
                if (passed.data() != frame.data() || !follows || run.size() + frame.size() > kBlockBytes) {
                    if (!writeRun())
                        return fail();
                }
                --budget;
                if (passed.data() == frame.data()) {
                    run =
                        QByteArrayView(run.isEmpty() ? frame.data() : run.data(), run.size() + frame.size());
                    ++runFrames;
                } else if (!writer.append(passed, 1)) {
                    return fail();
                }
            }
            if (!writeRun())
                return fail();
            if (!writer.appendSilence(silent, budget))
                return fail();
            break;
        }
        }
        if (cancelled())
            return stop();
    }
    if (!layout.ok()) {
        result.message = WaveFileBuilder::writeFailureMessage(path, layout.problem());
        out.cancelWriting();
        return result;
    }
    if (!writer.flush() || !out.commit())
        return fail();

    if (cache)
        cache->keepNew();
    result.outcome = WaveBuildResult::Outcome::Written;
    result.bytes = writer.written();
    result.status = writtenStatus(path);
    if (progress)
        progress(100, result.status);
    return result;
}

} // namespace kntr
