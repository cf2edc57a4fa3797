#include "mp3framewalk.h"

#include <QFile>

namespace kntr {

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
    while (position <= end) {
        QByteArray bytes;
        if (device.seek(position - 1))
            bytes = device.read(3);
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
