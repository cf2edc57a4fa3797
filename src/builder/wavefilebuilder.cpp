#include "wavefilebuilder.h"

#include "chaptermarks.h"

#include "musictype.h"

#include "wavelayout.h"

#include "model/numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

#include <fcntl.h>

namespace kntr {

namespace {

constexpr qint64 kLargestWaveFile = 0xFFFFFFFFLL + 8; // the RIFF size field holds length − 8

// Reads the music files for the composer, opening each once.
class MusicFiles {
public:
    explicit MusicFiles(const std::vector<MusicEntry>& music)
        : mMusic(music)
        , mFiles(music.size())
    {
    }

    qint64 read(int entry, qint64 offset, char* to, qint64 count)
    {
        std::unique_ptr<QFile>& file = mFiles[static_cast<size_t>(entry)];
        if (!file) {
            file = std::make_unique<QFile>(mMusic[static_cast<size_t>(entry)].path);
            // A file gone since it was admitted reads as silence, like bytes past its end.
            if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                return 0;
            // Each file is read once, front to back: let the system read well ahead.
            ::posix_fadvise(file->handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
        }
        // The music ends with its data chunk, whatever follows it in the file.
        const MusicEntry& music = mMusic[static_cast<size_t>(entry)];
        count = std::min(count, music.firstSampleOffset() + music.dataBytes - offset);
        if (!file->isOpen() || count <= 0 || offset >= file->size() || !file->seek(offset))
            return 0;
        return std::max<qint64>(0, file->read(to, count));
    }

private:
    const std::vector<MusicEntry>& mMusic;
    std::vector<std::unique_ptr<QFile>> mFiles;
};

} // namespace

WaveFileBuilder::WaveFileBuilder(const Workout& workout, const Machine& machine, WaveBuildOptions options,
                                 std::vector<MusicEntry> music, QString clipDir)
    : mWorkout(workout)
    , mMachine(machine)
    , mOptions(options)
    , mMusic(std::move(music))
    , mClipDir(std::move(clipDir))
    , mFreeSpace(freeSpaceIn)
{
}

QString WaveFileBuilder::musicTypeProblem() const
{
    return kntr::musicTypeProblem(mMusic, WorkoutFileType::Wav);
}

QString WaveFileBuilder::notEnoughSpaceMessage(const QString& location)
{
    return QStringLiteral("There is not enought space on ") + location
        + QStringLiteral(" to write the workout file.\r\rSelect a different drive to save the workout file.");
}

QString WaveFileBuilder::writeFailureMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("The workout file ") + path + QStringLiteral(" could not be written.\r\r") + reason;
}

QString WaveFileBuilder::writtenMessage(const QString& path)
{
    return QStringLiteral("Kinetrova wave file ") + path
        + QStringLiteral(" written to disk. Copy this file to a CDROM to use as a workout.");
}

QString WaveFileBuilder::writtenStatus(const QString& path)
{
    return QStringLiteral("Workout file: ") + path
        + QStringLiteral(" written to disk. \rPlay the file on your computer or copy it to a CDROM.");
}

QString WaveFileBuilder::spaceProblem(const QString& path, qint64 length, const FreeSpace& freeSpace)
{
    const QString folder = QFileInfo(path).absolutePath();
    const qint64 free = freeSpace(folder);
    if (free >= 0 && static_cast<double>(free) * 0.9 < static_cast<double>(length))
        return notEnoughSpaceMessage(QDir::toNativeSeparators(folder));
    return {};
}

WaveBuildResult WaveFileBuilder::build(const QString& path, const Progress& progress,
                                       const std::atomic_bool* cancel) const
{
    WaveBuildResult result;
    result.outcome = WaveBuildResult::Outcome::Refused;
    if (const QString problem = musicTypeProblem(); !problem.isEmpty()) {
        result.message = problem;
        return result;
    }

    const WaveLayout layout = WaveLayout::plan(mWorkout, mMachine, mOptions, mMusic, mClipDir);
    const qint64 length = layout.length();
    const QByteArray chapters = mOptions.chapters
        ? ChapterMarks::wavChunks(layout, mWorkout, mMachine, mOptions.units)
        : QByteArray();
    if (length + chapters.size() > kLargestWaveFile) {
        result.message = QStringLiteral("This workout is too long for a WAV file: the file would be larger "
                                        "than 4 GB.\r\rShorten the workout.");
        return result;
    }
    if (const QString problem = spaceProblem(path, length + chapters.size(), mFreeSpace);
        !problem.isEmpty()) {
        result.message = problem;
        return result;
    }

    result.outcome = WaveBuildResult::Outcome::Failed;
    QSaveFile out(path);
    // The blocks are large: no second buffer in between, so a failed write shows
    // at the write that failed.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.message = writeFailureMessage(path, out.errorString());
        return result;
    }

    const bool withMusic = !mMusic.empty();
    QString status = withMusic
        ? QStringLiteral("Pass 1 of 2. Please wait...\rWriting ") + path + QStringLiteral(" to disk.")
        : QStringLiteral("Writing to disk:") + path + QStringLiteral(".  Please wait...");
    if (progress)
        progress(0, status);

    MusicFiles files(mMusic);
    const WaveLayout::MusicReader read = [&files](int entry, qint64 offset, char* to, qint64 count) {
        return files.read(entry, offset, to, count);
    };
    const std::vector<WavePiece>& spans = layout.spans();
    QByteArray block(static_cast<qsizetype>(std::min(kBlockBytes, length)), Qt::Uninitialized);
    for (qint64 offset = 0; offset < length; offset += block.size()) {
        const qint64 count = std::min<qint64>(block.size(), length - offset);
        layout.compose(offset, block.data(), count, read);
        if (out.write(block.constData(), count) != count) {
            result.message = writeFailureMessage(path, out.errorString());
            out.cancelWriting();
            return result;
        }
        if (withMusic) {
            // The music second that ends last in this block names the status.
            for (size_t i = layout.spanAt(offset); i < spans.size() && spans[i].start < offset + count; ++i) {
                const WavePiece& piece = spans[i];
                if (piece.kind != WavePiece::Kind::Music)
                    continue;
                const qint64 done = std::min(offset + count, piece.end()) - piece.start;
                if (done <= 0 || piece.end() <= offset)
                    continue;
                const qint64 second = (done - 1) / WaveLayout::kMusicBytesPerSecond;
                status = QStringLiteral("Pass 2 of 2. Writing second ")
                    + plainNumber(piece.firstSecond + static_cast<double>(second))
                    + QStringLiteral(" of segment ") + QString::number(piece.segment)
                    + QStringLiteral("\r from ") + mMusic[static_cast<size_t>(piece.entry)].path;
            }
        }
        if (progress)
            progress(static_cast<int>((offset + count) * 100 / length), status);
        if (cancel && cancel->load()) {
            out.cancelWriting();
            result.outcome = WaveBuildResult::Outcome::Cancelled;
            return result;
        }
    }
    if (!chapters.isEmpty() && !ChapterMarks::appendToWav(out, chapters)) {
        result.message = writeFailureMessage(path, out.errorString());
        out.cancelWriting();
        return result;
    }
    if (!out.commit()) {
        result.message = writeFailureMessage(path, out.errorString());
        return result;
    }

    result.outcome = WaveBuildResult::Outcome::Written;
    result.bytes = length + chapters.size();
    result.musicRanOut = layout.musicRanOut();
    if (!withMusic || layout.musicRanOut())
        result.message = writtenMessage(path);
    result.status = withMusic && layout.musicRanOut() ? status : writtenStatus(path);
    return result;
}

} // namespace kntr
