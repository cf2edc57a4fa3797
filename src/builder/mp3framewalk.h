#pragma once

#include "mp3frameformat.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace kntr {

/// Steps through the frames of an MP3 file by their headers, never reading
/// past the end of the file.
///
/// Every frame must lie wholly within the file; a header that is not the
/// expected one, or a frame cut short by the end of the file, stops the walk as
/// a failure. An ID3v1 tag ("TAG") is stepped over (128 bytes) by the admission
/// check and ends the walk over encoded data.
class Mp3FrameWalk
{
public:
    enum class Match {
        WholeHeader, ///< all three header bytes must match; "TAG" is skipped (admission check)
        ThirdByte,   ///< the third byte decides the frame size; "TAG" ends the walk (encoded data)
    };

    struct Result
    {
        bool ok = false;
        qint64 frames = 0;    ///< frames counted, also on failure
        qint64 position = 0;  ///< 1-based position where the walk stopped
        QByteArray found;     ///< on failure: the (up to three) bytes found there
    };

    /// Walks device from the 1-based position start to its end. step is called
    /// once per frame or tag stepped over, so a window can keep responding.
    static Result walk(QIODevice& device, qint64 start, const Mp3FrameFormat& format, Match match,
                       const std::function<void()>& step = {});

    /// Counts the frames of the file at path from the 1-based position to its end
    /// or to an ID3v1 tag, matching frames by their third header byte; position is
    /// left where the walk stopped. Returns -1 with failureMessage(path) in message
    /// when a frame does not match or the file cannot be read.
    static qint64 countFrames(const QString& path, qint64& position, const Mp3FrameFormat& format,
                              QString* message = nullptr);

    static QString failureMessage(const QString& path);
};

} // namespace kntr
