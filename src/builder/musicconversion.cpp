#include "musicconversion.h"

#include "mp3encoder.h"
#include "mp3musiccheck.h"
#include "wavmusiccheck.h"

#include "platform/decodeprocess.h"
#include "platform/musicentrycheck.h"
#include "platform/wavimage.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kntr {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kFrameBytes = 4;
/// The most sample bytes a WAV file's 32-bit sizes can describe.
constexpr qint64 kMaxWavDataBytes = qint64(0xFFFFFFFFu) - 36;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString encoderFailure(int code)
{
    return QStringLiteral("the MP3 encoder failed (%1)").arg(Mp3Encoder::errorText(code));
}

qint16 toPcm(float sample)
{
    if (std::isnan(sample))
        return 0;
    return static_cast<qint16>(std::lrint(std::clamp(sample, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
}

// Whether the copy at path is whole: the check admits it in the target's form.
std::optional<MusicEntry> admittedCopy(const MusicTarget& target, const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    MusicCheckResult checked = checkMusicFor(target.type, path);
    if (!checked.admitted()
        || (target.type == WorkoutFileType::Mp3 && checked.entry.bitRate != target.bitRate))
        return std::nullopt;
    return std::move(checked.entry);
}

bool defaultDecoder(const QString& path, const MusicConversion::Sink& sink, QString* error,
                    const MusicConversion::Progress& progress)
{
    DecodeProcess decoder;
    decoder.setStereo(true);
    return decoder.read(
        path, [&sink](const float* samples, qsizetype count) { return sink(samples, count / kChannels); },
        error, progress);
}

} // namespace

MusicCheckResult checkMusicFor(WorkoutFileType type, const QString& path)
{
    return type == WorkoutFileType::Mp3 ? Mp3MusicCheck::check(path) : WavMusicCheck::check(path);
}

QString MusicTarget::key() const
{
    return type == WorkoutFileType::Mp3 ? QStringLiteral("mp3-%1").arg(bitRate) : QStringLiteral("wav");
}

MusicCopyWriter::MusicCopyWriter(QIODevice& out, const MusicTarget& target)
    : mOut(out)
    , mTarget(target)
{
}

MusicCopyWriter::~MusicCopyWriter() = default;

bool MusicCopyWriter::put(const char* data, qint64 size, QString* error)
{
    if (size > 0 && mOut.write(data, size) != size) {
        setError(error, mOut.errorString());
        return false;
    }
    return true;
}

bool MusicCopyWriter::add(const float* pairs, qsizetype frames, QString* error)
{
    if (!mStarted) {
        mStarted = true;
        if (mTarget.type == WorkoutFileType::Wav) {
            // The sizes are set once the samples are all written.
            const QByteArray header = WavImage::header(kChannels, kSampleRate, 0);
            if (!put(header.constData(), header.size(), error))
                return false;
        } else {
            // Every frame holds its own main data, so any frame can follow a spliced-in one.
            mEncoder = std::make_unique<Mp3StreamEncoder>(mTarget.bitRate, false);
            if (mEncoder->code() != Mp3Encoder::NoError) {
                setError(
                    error,
                    mEncoder->code() == Mp3Encoder::NoMoreHandles
                        ? QStringLiteral("the MP3 encoder could not be started")
                        : QStringLiteral("the MP3 encoder does not take %1 kbit/s").arg(mTarget.bitRate));
                return false;
            }
        }
    }
    if (frames <= 0)
        return true;
    std::vector<short> pcm(static_cast<size_t>(frames * kChannels));
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = toPcm(pairs[i]);
    mFrames += frames;
    if (mTarget.type == WorkoutFileType::Wav) {
        if (mFrames * kFrameBytes > kMaxWavDataBytes) {
            setError(error, QStringLiteral("the music is too long for a WAV file"));
            return false;
        }
        for (short& sample : pcm)
            sample = qToLittleEndian(sample);
        return put(reinterpret_cast<const char*>(pcm.data()), qint64(pcm.size()) * 2, error);
    }
    QByteArray encoded;
    if (!mEncoder->encode(pcm.data(), static_cast<int>(frames), encoded)) {
        setError(error, encoderFailure(mEncoder->code()));
        return false;
    }
    return put(encoded.constData(), encoded.size(), error);
}

bool MusicCopyWriter::finish(QString* error)
{
    if (!add(nullptr, 0, error))
        return false;
    if (mTarget.type == WorkoutFileType::Wav) {
        const QByteArray header =
            WavImage::header(kChannels, kSampleRate, static_cast<quint32>(mFrames * kFrameBytes));
        const qint64 end = mOut.pos();
        if (!mOut.seek(0) || !put(header.constData(), header.size(), error) || !mOut.seek(end)) {
            setError(error, mOut.errorString());
            return false;
        }
        return true;
    }
    QByteArray flushed;
    if (!mEncoder->flush(flushed)) {
        setError(error, encoderFailure(mEncoder->code()));
        return false;
    }
    return put(flushed.constData(), flushed.size(), error);
}

const QString MusicConversion::kQuestion = QStringLiteral("Convert a compatible copy for this workout?");
const QString MusicConversion::kFilter =
    QStringLiteral("Music Files (*.mp3 *.wav *.ogg *.oga *.flac *.m4a *.aac *.opus *.wma)");

MusicConversion::MusicConversion(QString cacheDir, Decoder decoder, qint64 limitBytes)
    : mCacheDir(std::move(cacheDir))
    , mDecoder(decoder ? std::move(decoder) : Decoder(&defaultDecoder))
    , mLimitBytes(limitBytes)
{
}

void MusicConversion::trim(const QStringList& inUse) const
{
    static const QRegularExpression copyName(QStringLiteral("^[0-9a-f]{40}\\.(wav|mp3)$"));
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    QStringList used;
    for (const QString& path : inUse)
        used << QFileInfo(path).absoluteFilePath();
    // Newest first: the copies made longest ago go once the newer ones fill the limit.
    qint64 total = 0;
    const QFileInfoList entries = QDir(mCacheDir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo& entry : entries) {
        if (!copyName.match(entry.fileName()).hasMatch()) {
            // A conversion still running writes beside its copy: only old leftovers go.
            if (entry.lastModified() < dayAgo)
                QFile::remove(entry.filePath());
            continue;
        }
        total += entry.size();
        if (total > mLimitBytes && !used.contains(entry.absoluteFilePath()))
            QFile::remove(entry.filePath());
    }
}

bool MusicConversion::isAudioFileName(const QString& path)
{
    static const QStringList suffixes{QStringLiteral("mp3"), QStringLiteral("wav"),  QStringLiteral("ogg"),
                                      QStringLiteral("oga"), QStringLiteral("flac"), QStringLiteral("m4a"),
                                      QStringLiteral("aac"), QStringLiteral("opus"), QStringLiteral("wma")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

QString MusicConversion::unreadableMessage(const QString& path, const QString& reason)
{
    return path + QStringLiteral(" could not be read as audio: ") + reason;
}

QString MusicConversion::copyPath(const QString& path, const MusicTarget& target) const
{
    const QFileInfo source(path);
    const QString identity = source.absoluteFilePath() + QLatin1Char('\n') + QString::number(source.size())
        + QLatin1Char('\n') + QString::number(source.lastModified().toMSecsSinceEpoch()) + QLatin1Char('\n')
        + target.key();
    const QByteArray hash = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex();
    return mCacheDir + QLatin1Char('/') + QString::fromLatin1(hash) + QLatin1Char('.')
        + workoutFileTypeName(target.type);
}

MusicConversion::Result MusicConversion::convert(const QString& path, const MusicTarget& target,
                                                 const Progress& progress,
                                                 const std::atomic_bool& cancel) const
{
    Result result;
    const auto failed = [&](const QString& reason) {
        result.outcome = Outcome::Failed;
        result.message = unreadableMessage(path, reason);
        return result;
    };
    // Our own look at the file comes first: no decoder sees what it turns down.
    if (const std::optional<QString> problem = MusicEntryCheck::problem(path))
        return failed(*problem);

    const QString copy = copyPath(path, target);
    if (std::optional<MusicEntry> cached = admittedCopy(target, copy)) {
        result.outcome = Outcome::Converted;
        result.entry = std::move(*cached);
        result.entry.source = path;
        result.fromCache = true;
        return result;
    }
    // A copy the check turns down is damaged: it is made again.
    QFile::remove(copy);
    if (!QDir().mkpath(mCacheDir)) {
        result.message = QStringLiteral("Cannot make the folder %1 for the converted music.").arg(mCacheDir);
        return result;
    }

    QSaveFile file(copy);
    if (!file.open(QIODevice::WriteOnly)) {
        result.message = QStringLiteral("Cannot write %1: %2").arg(copy, file.errorString());
        return result;
    }
    MusicCopyWriter writer(file, target);
    QString writeError;
    bool writeFailed = false;
    QString decodeError;
    const bool decoded = mDecoder(
        path,
        [&](const float* pairs, qsizetype frames) {
            if (cancel)
                return false;
            if (!writer.add(pairs, frames, &writeError)) {
                writeFailed = true;
                return false;
            }
            return true;
        },
        &decodeError, progress ? progress : Progress([](int) {}));
    if (cancel) {
        file.cancelWriting();
        result.outcome = Outcome::Cancelled;
        return result;
    }
    if (!decoded)
        return failed(decodeError.isEmpty() ? QStringLiteral("the decoder cannot read it") : decodeError);
    if (!writeFailed && writer.frames() == 0)
        return failed(QStringLiteral("no audio could be decoded from the file"));
    if (writeFailed || !writer.finish(&writeError) || !file.commit()) {
        file.cancelWriting();
        if (writeError.isEmpty())
            writeError = file.errorString();
        result.message = QStringLiteral("Cannot write the converted copy of %1: %2").arg(path, writeError);
        return result;
    }
    std::optional<MusicEntry> made = admittedCopy(target, copy);
    if (!made) {
        QFile::remove(copy);
        return failed(QStringLiteral("its converted copy is not usable"));
    }
    if (progress)
        progress(100);
    result.outcome = Outcome::Converted;
    result.entry = std::move(*made);
    result.entry.source = path;
    return result;
}

} // namespace kntr
