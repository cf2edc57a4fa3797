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
/// The walk ends where the frames end: at the end of the file, at an ID3v1 tag
/// ("TAG", wherever it stands), or at a last frame cut short by the end of the
/// file, which is not counted: only whole frames are ever used. A header that
/// is not the expected one stops the walk as a failure.
class Mp3FrameWalk {
public:
    enum class Match {
        WholeHeader, ///< all three header bytes must match (admission check)
        ThirdByte, ///< the third byte decides the frame size (encoded data)
    };

    struct Result {
        bool ok = false;
        qint64 frames = 0; ///< frames counted, also on failure
        qint64 position = 0; ///< 1-based position where the walk stopped
        QByteArray found; ///< on failure: the (up to three) bytes found there
    };

    /// Walks device from the 1-based position start to the end of its frames.
    /// step is called once per frame stepped over, so a window can keep responding.
    static Result walk(QIODevice& device, qint64 start, const Mp3FrameFormat& format, Match match,
                       const std::function<void()>& step = {});

    /// Counts the whole frames of the file at path from the 1-based position to
    /// the end of its frames, matching them by their third header byte; position is
    /// left where the walk stopped. Returns -1 with failureMessage(path) in message
    /// when a frame does not match or the file cannot be read.
    static qint64 countFrames(const QString& path, qint64& position, const Mp3FrameFormat& format,
                              QString* message = nullptr);

    static QString failureMessage(const QString& path);
};

} // namespace kntr
