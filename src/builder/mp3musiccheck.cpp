#include "mp3musiccheck.h"

#include "mp3frameformat.h"
#include "mp3framewalk.h"

#include <QFile>

namespace kntr {

namespace {

constexpr int kId3HeaderSize = 10;

// The size of an ID3v2 tag from the four size bytes after "ID3", version and flags.
qint64 id3TagSize(const QByteArray& sizeBytes)
{
    qint64 size = 0;
    for (char b : sizeBytes)
        size = size * 128 + static_cast<unsigned char>(b);
    return size;
}

QByteArray readAt(QFile& file, qint64 offset, qint64 count)
{
    if (offset < 0 || offset >= file.size() || !file.seek(offset))
        return {};
    return file.read(count);
}

} // namespace

QString Mp3MusicCheck::undecodableMessage()
{
    return QStringLiteral("If this is an MP3 file, this Kinetrova cannot decode it. Try another file or "
                          "try different encoder setting when making your MP3 files. Turn off tag "
                          "settings that enable storage of title, artist, etc. information.");
}

QString Mp3MusicCheck::monauralMessage()
{
    return QStringLiteral("Monaural recordings not supported");
}

QString Mp3MusicCheck::frameWalkMessage(qint64 frames, const QByteArray& found)
{
    QString codes = QString::number(frames);
    for (char b : found)
        codes += QLatin1Char(' ') + QString::number(static_cast<unsigned char>(b), 16).toUpper();
    return QStringLiteral("Kinetrova requires MP3 files configured as follows: \r\r"
                          "MPEG Version: 1\rLayer: 3\rMode: Joint stereo or Stereo\r\r"
                          "MP3 files with ID3v1 are supported.\rSome ID3v2 tags are not supported.\r\r"
                          "Use CBR (Continous Bit Rate) encoding.\r"
                          "Avoid VBR (Variable Bit Rate) and code reservoir encoding.\r\r"
                          "Err codes: ")
        + codes
        + QStringLiteral("\r\rFiles downloaded off the internet may have coding\r"
                         "errors that play ok on MP3 playes, but cause errors for\rKinetrova.");
}

MusicCheckResult Mp3MusicCheck::check(const QString& path, const std::function<void()>& step)
{
    MusicCheckResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.message = file.errorString();
        return result;
    }
    const auto reject = [&result](QString message) {
        result.verdict = MusicCheckResult::Verdict::Rejected;
        result.message = std::move(message);
        return result;
    };

    // The first frame: after any zero bytes, and after an ID3v2 tag.
    qint64 start = 0; // 0-based
    for (;;) {
        const QByteArray chunk = readAt(file, start, 64 * 1024);
        if (chunk.isEmpty())
            return reject(undecodableMessage());
        qsizetype nonZero = 0;
        while (nonZero < chunk.size() && chunk[nonZero] == '\0')
            ++nonZero;
        start += nonZero;
        if (nonZero < chunk.size())
            break;
    }
    QByteArray header = readAt(file, start, 4);
    if (header.startsWith("ID3")) {
        const QByteArray tag = readAt(file, start, kId3HeaderSize);
        if (tag.size() < kId3HeaderSize)
            return reject(undecodableMessage());
        start += kId3HeaderSize + id3TagSize(tag.mid(6, 4));
        header = readAt(file, start, 4);
    }

    if (header.size() < 2 || static_cast<unsigned char>(header[0]) != 0xFF
        || (static_cast<unsigned char>(header[1]) != 0xFB && static_cast<unsigned char>(header[1]) != 0xFA))
        return reject(undecodableMessage());
    if (header.size() < 4)
        return reject(frameWalkMessage(0, header.left(3)));
    const Mp3FrameFormat format = Mp3FrameFormat::fromHeader(header[0], header[1], header[2]);
    if (static_cast<unsigned char>(header[3]) >= 128) // dual channel or single channel
        return reject(monauralMessage());

    const Mp3FrameWalk::Result walk =
        Mp3FrameWalk::walk(file, start + 1, format, Mp3FrameWalk::Match::WholeHeader, step);
    if (!walk.ok)
        return reject(frameWalkMessage(walk.frames, walk.found));
    if (walk.frames == 0) // the first frame itself is cut short
        return reject(frameWalkMessage(0, header.left(3)));

    MusicEntry& entry = result.entry;
    entry.path = path;
    entry.dataBytes = 0;
    entry.rate = 44100;
    entry.frameCount = static_cast<std::int32_t>(walk.frames);
    entry.seconds = static_cast<float>(entry.frameCount * 0.026);
    entry.dataPosition = start + 1;
    entry.bitRate = format.bitRate;
    entry.frameHeader = format.header;
    entry.paddedFrameHeader = format.paddedHeader;
    entry.frameSize = static_cast<std::int16_t>(format.frameSize);
    entry.paddedFrameSize = static_cast<std::int16_t>(format.paddedFrameSize);
    result.verdict = MusicCheckResult::Verdict::Admitted;
    return result;
}

qint64 Mp3MusicCheck::id3AudioOffset(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray tag = file.read(kId3HeaderSize);
    if (!tag.startsWith("ID3") || tag.size() < kId3HeaderSize)
        return 0;
    return id3TagSize(tag.mid(6, 4)) + kId3HeaderSize;
}

} // namespace kntr
