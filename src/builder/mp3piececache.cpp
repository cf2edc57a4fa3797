#include "mp3piececache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <lame/lame.h>

#include <cstdio>

namespace kntr {

namespace {

// An entry: this mark, the frames' length (8 bytes, little-endian), their BLAKE2b-256, the frames.
constexpr char kMark[] = "KNTRMP3P";
constexpr qsizetype kMarkBytes = 8;
constexpr qsizetype kHeadBytes = kMarkBytes + 8 + 32;
// Fast enough to find an entry by an hour's samples in a few milliseconds.
constexpr auto kHash = QCryptographicHash::Blake2b_256;

} // namespace

Mp3PieceCache::Mp3PieceCache(QString folder, qint64 limitBytes)
    : mFolder(std::move(folder))
    , mLimitBytes(limitBytes)
{
}

QString Mp3PieceCache::pathOf(const QByteArray& pcm, int bitRate) const
{
    QCryptographicHash hash(kHash);
    hash.addData(QByteArrayView(kMark, kMarkBytes));
    hash.addData(QByteArray(get_lame_version()) + '/' + QByteArray::number(bitRate) + '/');
    hash.addData(pcm);
    return mFolder + QLatin1Char('/') + QString::fromLatin1(hash.result().toHex())
        + QStringLiteral(".frames");
}

std::optional<QByteArray> Mp3PieceCache::find(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray entry = file.readAll();
    if (entry.size() < kHeadBytes || !entry.startsWith(QByteArrayView(kMark, kMarkBytes)))
        return std::nullopt;
    const qint64 length = qFromLittleEndian<qint64>(entry.constData() + kMarkBytes);
    if (length != entry.size() - kHeadBytes)
        return std::nullopt;
    QByteArray frames = entry.sliced(kHeadBytes);
    if (QCryptographicHash::hash(frames, kHash) != entry.sliced(kMarkBytes + 8, 32))
        return std::nullopt;
    // Used now: the last to go when the folder is trimmed.
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return frames;
}

bool Mp3PieceCache::keep(const QString& path, const QByteArray& frames) const
{
    if (!QDir().mkpath(mFolder))
        return false;
    QTemporaryFile part(mFolder + QStringLiteral("/XXXXXX.part"));
    if (!part.open())
        return false;
    QByteArray head(kMark, kMarkBytes);
    head.resize(kMarkBytes + 8);
    qToLittleEndian<qint64>(frames.size(), head.data() + kMarkBytes);
    head += QCryptographicHash::hash(frames, kHash);
    if (part.write(head) != head.size() || part.write(frames) != frames.size() || !part.flush())
        return false;
    // Renamed over any entry there (a damaged one): readers see the old entry or the new one.
    const QByteArray target = QFile::encodeName(path);
    if (std::rename(QFile::encodeName(part.fileName()).constData(), target.constData()) != 0)
        return false;
    part.setAutoRemove(false);
    return true;
}

Mp3Layout::Encoder Mp3PieceCache::in(Mp3Layout::Encoder encoder) const
{
    return [this, encoder = std::move(encoder)](const QByteArray& pcm, int bitRate) {
        const QString path = pathOf(pcm, bitRate);
        if (std::optional<QByteArray> frames = find(path))
            return Mp3Encoder::Result{Mp3Encoder::NoError, std::move(*frames)};
        Mp3Encoder::Result result = encoder(pcm, bitRate);
        // An entry that cannot be written only costs the next build the encoding.
        if (result.ok() && !result.frames.isEmpty()) {
            const std::lock_guard lock(mNewMutex);
            mNew.emplace_back(path, result.frames);
        }
        return result;
    };
}

void Mp3PieceCache::keepNew()
{
    const std::vector<std::pair<QString, QByteArray>> entries = [this] {
        const std::lock_guard lock(mNewMutex);
        return std::exchange(mNew, {});
    }();
    for (const auto& [path, frames] : entries)
        keep(path, frames);
    if (!entries.empty())
        trim();
}

void Mp3PieceCache::trim() const
{
    // Newest first.
    const QFileInfoList entries = QDir(mFolder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    qint64 total = 0;
    for (const QFileInfo& entry : entries) {
        total += entry.size();
        if (total > mLimitBytes)
            QFile::remove(entry.filePath());
    }
}

} // namespace kntr
