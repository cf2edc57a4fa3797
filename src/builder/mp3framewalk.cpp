#include "mp3framewalk.h"

#include <QByteArrayView>
#include <QFile>

#include <algorithm>

namespace kntr {

namespace {

constexpr qint64 kBlockBytes = 64 * 1024;

} // namespace

Mp3FrameWalk::Result Mp3FrameWalk::walk(QIODevice& device, qint64 start, const Mp3FrameFormat& format,
                                        Match match, const std::function<void()>& step)
{
    Result result;
    const qint64 end = device.size();
    qint64 position = start;
    if (position < 1) {
        result.position = position;
        return result;
    }
    // The headers are read a block at a time: one read for many frames.
    QByteArray block;
    qint64 blockStart = 0; // 0-based
    const auto headerAt = [&](qint64 offset) {
        if (offset < blockStart || offset + 3 > blockStart + block.size()) {
            block.clear();
            blockStart = offset;
            if (device.seek(offset))
                block = device.read(kBlockBytes);
        }
        return QByteArrayView(block).sliced(offset - blockStart,
                                            std::min<qint64>(3, block.size() - (offset - blockStart)));
    };
    while (position <= end) {
        const QByteArray bytes = headerAt(position - 1).toByteArray();
        qint64 frameSize = 0;
        if (bytes.size() == 3) {
            if (match == Match::WholeHeader) {
                if (bytes == format.header)
                    frameSize = format.frameSize;
                else if (bytes == format.paddedHeader)
                    frameSize = format.paddedFrameSize;
            } else {
                if (bytes[2] == format.header[2])
                    frameSize = format.frameSize;
                else if (bytes[2] == format.paddedHeader[2])
                    frameSize = format.paddedFrameSize;
            }
        }
        // An ID3v1 tag ends the music, and so does a last frame cut short by the
        // end of the file: only whole frames are ever used.
        const bool cutShort = frameSize > 0 ? position - 1 + frameSize > end
                                            : bytes.size() < 3 && !bytes.isEmpty()
                && (format.header.startsWith(bytes) || format.paddedHeader.startsWith(bytes));
        if ((frameSize == 0 && bytes == "TAG") || cutShort)
            break;
        if (frameSize == 0) {
            result.position = position;
            result.found = bytes;
            return result;
        }
        ++result.frames;
        position += frameSize;
        if (step)
            step();
    }
    result.ok = true;
    result.position = position;
    return result;
}

qint64 Mp3FrameWalk::countFrames(const QString& path, qint64& position, const Mp3FrameFormat& format,
                                 QString* message)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const Result result = walk(file, position, format, Match::ThirdByte);
        position = result.position;
        if (result.ok)
            return result.frames;
    }
    if (message)
        *message = failureMessage(path);
    return -1;
}

QString Mp3FrameWalk::failureMessage(const QString& path)
{
    return path
        + QStringLiteral("\rSorry, but this build of Kinetrova is \rlimited to MP3 files created in \r"
                         "MPEG Version 1,\rLayer 3,\rBitrates 96 to 192,\rID3v1 tags allowed.");
}

} // namespace kntr
